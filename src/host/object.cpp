#include "host/object.h"

#include <algorithm>

namespace host {

MemberTable::MemberTable(std::initializer_list<Member> members, const MemberTable* base)
    : MemberTable(members, {base}) {}

MemberTable::MemberTable(std::initializer_list<Member> members,
                         std::initializer_list<const MemberTable*> bases)
    : members_(members) {
  for (const MemberTable* b : bases)
    if (b) bases_.push_back(b);
  std::sort(members_.begin(), members_.end(),
            [](const Member& a, const Member& b) { return a.name.hash() < b.name.hash(); });
}

const Member* MemberTable::find(Name name) const {
  auto it = std::lower_bound(members_.begin(), members_.end(), name.hash(),
                             [](const Member& m, std::uint32_t h) { return m.name.hash() < h; });
  for (; it != members_.end() && it->name.hash() == name.hash(); ++it)
    if (it->name == name) return &*it;
  for (const MemberTable* b : bases_)
    if (const Member* m = b->find(name)) return m;
  return nullptr;
}

bool Object::tryGet(Name name, Args index, Variant& out) {
  const MemberTable* t = members();
  const Member* m = t ? t->find(name) : nullptr;
  if (!m || !m->get) return false;
  out = m->get(*this, index);
  return true;
}

bool Object::trySet(Name name, Args index, const Variant& value) {
  const MemberTable* t = members();
  const Member* m = t ? t->find(name) : nullptr;
  if (!m || !m->set) {
    // A readable member without a setter is read-only rather than absent.
    if (m && m->get) raise(kPropertyReadOnly);
    return false;
  }
  m->set(*this, index, value);
  return true;
}

bool Object::tryCall(Name name, Args args, Variant& out) {
  const MemberTable* t = members();
  const Member* m = t ? t->find(name) : nullptr;
  if (!m) return false;
  if (m->call) {
    out = m->call(*this, args);
    return true;
  }
  // A property called like a method (obj.Prop(arg)) reads it.
  if (m->get) {
    out = m->get(*this, args);
    return true;
  }
  return false;
}

Variant Object::get(Name name, Args index) {
  Variant v;
  if (!tryGet(name, index, v)) raise(missingMemberError(name));
  return v;
}

int Object::missingMemberError(Name) const { return kNoSuchMember; }

void Object::set(Name name, const Variant& value, Args index) {
  if (!trySet(name, index, value)) raise(kNoSuchMember);
}

Variant Object::call(Name name, Args args) {
  Variant v;
  if (!tryCall(name, args, v)) raise(kNoSuchMember);
  return v;
}

bool Object::has(Name name) const {
  const MemberTable* t = members();
  return t && t->find(name);
}

int Object::subscribe(EventHandler handler) {
  subscribers_.push_back({nextSubscription_, std::move(handler)});
  return nextSubscription_++;
}

void Object::unsubscribe(int id) {
  std::erase_if(subscribers_, [id](const Subscription& s) { return s.id == id; });
}

void Object::raiseEvent(std::string_view event, Args args) {
  // Copy: a handler may subscribe or unsubscribe while the event is delivered.
  auto handlers = subscribers_;
  auto keepAlive = weak_from_this().lock();
  for (auto& s : handlers) s.handler(event, args);
}

void expectArgs(Args args, std::size_t n) {
  if (args.size() != n) raise(kWrongArgumentCount);
}

void expectArgs(Args args, std::size_t lo, std::size_t hi) {
  if (args.size() < lo) raise(kArgumentNotOptional);
  if (args.size() > hi) raise(kWrongArgumentCount);
}

}  // namespace host
