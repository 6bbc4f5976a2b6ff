#pragma once
// The runtime's error object as the application sees it: Number, Description, Source.

#include <rescalo/host/object.h>

namespace rescalo::host {

class ErrorObject : public Object {
 public:
  explicit ErrorObject(const HostError& e)
      : number(e.number()), description(e.description()), source(e.source()) {}
  std::string_view typeName() const override { return "ErrObject"; }
  int number;
  std::string description;
  std::string source;

 protected:
  const MemberTable* members() const override;
};

}  // namespace rescalo::host
