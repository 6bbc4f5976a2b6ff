#pragma once
// Host objects reached by member name, as the classic runtime's late binding does.

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include <rescalo/host/error.h>
#include <rescalo/host/name.h>
#include <rescalo/host/variant.h>

namespace rescalo::host {

using Args = std::span<const Variant>;

class Object;

// One member of a class: any of get, set and call may be absent.
struct Member {
  using Getter = Variant (*)(Object& self, Args index);
  using Setter = void (*)(Object& self, Args index, const Variant& value);
  using Method = Variant (*)(Object& self, Args args);
  Name name;
  Getter get = nullptr;
  Setter set = nullptr;
  Method call = nullptr;
};

// The members a class declares, in one table per class, chained to its base class's table.
// The chain is flattened when the table is made, so that a lookup is one search whatever the
// depth of the class.
class MemberTable {
 public:
  MemberTable(std::initializer_list<Member> members, const MemberTable* base = nullptr);
  // A class that combines several member sets (a form is a drawing surface and has a font).
  MemberTable(std::initializer_list<Member> members,
              std::initializer_list<const MemberTable*> bases);
  const Member* find(Name name) const;  // this class's members first, then the bases'
  template <class F>
  void forEach(F&& f) const {
    for (const MemberTable* b : bases_) b->forEach(f);
    for (const Member& m : members_) f(m);
  }

 private:
  std::vector<Member> members_;            // as declared
  std::vector<const MemberTable*> bases_;  // in the order they are searched after this table
  // Every member reachable from this table, an override hiding the base's member of the same
  // name, and the same in an open-addressed table by hash: a lookup is a probe or two.
  std::vector<const Member*> flat_;
  std::vector<const Member*> slots_;
  std::vector<std::uint32_t> slotHashes_;
  std::size_t mask_ = 0;
};

// A handler for the events an object raises to its subscribers.
using EventHandler = std::function<void(std::string_view event, Args args)>;

class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;
  virtual std::string_view typeName() const = 0;

  // By-name access; a member the object lacks fails with 438.
  Variant get(Name name, Args index = {});
  Variant get(Name name, std::initializer_list<Variant> index) {
    return get(name, Args(index.begin(), index.size()));
  }
  void set(Name name, const Variant& value, Args index = {});
  void set(Name name, const Variant& value, std::initializer_list<Variant> index) {
    set(name, value, Args(index.begin(), index.size()));
  }
  Variant call(Name name, Args args = {});
  Variant call(Name name, std::initializer_list<Variant> args) {
    return call(name, Args(args.begin(), args.size()));
  }
  virtual bool has(Name name) const;

  // The same without raising for an absent member: false when the object lacks it.
  // Failures inside a member still throw.
  virtual bool tryGet(Name name, Args index, Variant& out);
  virtual bool trySet(Name name, Args index, const Variant& value);
  virtual bool tryCall(Name name, Args args, Variant& out);
  // The error a read of a member that tryGet reports absent fails with (438 unless the
  // object knows better, e.g. the Index of a control that is not in an array).
  virtual int missingMemberError(Name name) const;

  // Events: subscribers receive every event the object raises, in subscription order.
  int subscribe(EventHandler handler);
  void unsubscribe(int id);
  void raiseEvent(std::string_view event, Args args = {});

 protected:
  virtual const MemberTable* members() const { return nullptr; }

 private:
  struct Subscription {
    int id;
    EventHandler handler;
  };
  std::vector<Subscription> subscribers_;
  int nextSubscription_ = 1;
};

// Casts the receiver inside a member table entry.
template <class T>
T& self(Object& o) {
  return static_cast<T&>(o);
}

// Requires exactly n arguments (450 otherwise).
void expectArgs(Args args, std::size_t n);
// Requires between lo and hi arguments.
void expectArgs(Args args, std::size_t lo, std::size_t hi);

}  // namespace rescalo::host
