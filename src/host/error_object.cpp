#include <rescalo/host/error_object.h>

namespace rescalo::host {

const MemberTable* ErrorObject::members() const {
  static const MemberTable table{
      {"Number", [](Object& o, Args) { return Variant(self<ErrorObject>(o).number); }},
      {"Description", [](Object& o, Args) { return Variant(self<ErrorObject>(o).description); }},
      {"Source", [](Object& o, Args) { return Variant(self<ErrorObject>(o).source); }},
  };
  return &table;
}

}  // namespace rescalo::host
