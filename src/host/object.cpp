#include <rescalo/host/object.h>

#include <cstring>

#include <algorithm>

namespace rescalo::host {

MemberTable::MemberTable(std::initializer_list<Member> members, const MemberTable* base)
    : MemberTable(members, {base}) {}

MemberTable::MemberTable(std::initializer_list<Member> members,
                         std::initializer_list<const MemberTable*> bases)
    : members_(members) {
  for (const MemberTable* b : bases)
    if (b) bases_.push_back(b);
  // In search order: this table, then each base with its own bases before the next one.
  std::vector<const Member*> all;
  for (const Member& m : members_) all.push_back(&m);
  for (const MemberTable* b : bases_) all.insert(all.end(), b->flat_.begin(), b->flat_.end());
  for (const Member* m : all) {
    bool hidden = std::any_of(flat_.begin(), flat_.end(),
                              [&](const Member* seen) { return seen->name == m->name; });
    if (!hidden) flat_.push_back(m);
  }
  std::size_t size = 8;
  while (size < 2 * flat_.size()) size *= 2;
  mask_ = size - 1;
  slots_.assign(size, nullptr);
  slotHashes_.assign(size, 0);
  for (const Member* m : flat_) {
    std::size_t i = m->name.hash() & mask_;
    while (slots_[i]) i = (i + 1) & mask_;
    slots_[i] = m;
    slotHashes_[i] = m->name.hash();
  }
}

const Member* MemberTable::find(Name name) const {
  const std::string_view text = name.text();
  for (std::size_t i = name.hash() & mask_; slots_[i]; i = (i + 1) & mask_) {
    if (slotHashes_[i] != name.hash()) continue;
    // Names are nearly always spelled as declared: compare the bytes before folding case.
    const std::string_view declared = slots_[i]->name.text();
    if (declared.size() == text.size() &&
        (declared.data() == text.data() ||
         std::memcmp(declared.data(), text.data(), text.size()) == 0 ||
         equalsNoCase(declared, text)))
      return slots_[i];
  }
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

}  // namespace rescalo::host
