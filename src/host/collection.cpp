#include <rescalo/host/collection.h>

namespace rescalo::host {

Collection::Collection(CollectionErrors errors, int base, std::string typeName)
    : errors_(errors), base_(base), typeName_(std::move(typeName)) {}

int Collection::findKey(std::string_view key) const {
  if (key.empty()) return -1;
  auto keyOf = [this](int p) -> const std::string& { return keyAt(p); };
  if (indexStale_) {
    index_.clear();
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (!items_[i].key.empty()) index_.insert(items_[i].key, static_cast<int>(i), keyOf);
    indexStale_ = false;
  }
  return index_.find(key, keyOf);
}

int Collection::position(const Variant& indexOrKey) const {
  if (const std::string* key = indexOrKey.stringPtr()) {
    int p = findKey(*key);
    if (p < 0) raise(errors_.keyNotFound);
    return p;
  }
  std::int32_t i = indexOrKey.toLong() - base_;
  if (i < 0 || i >= count()) raise(errors_.indexOutOfRange);
  return i;
}

void Collection::add(Variant item, const std::string& key, const Variant& before,
                     const Variant& after) {
  if (!before.isEmpty() && !after.isEmpty()) raise(kInvalidProcedureCall);
  if (!key.empty() && findKey(key) >= 0) raise(errors_.duplicateKey);
  std::size_t at = items_.size();
  if (!before.isEmpty()) at = static_cast<std::size_t>(position(before));
  if (!after.isEmpty()) at = static_cast<std::size_t>(position(after)) + 1;
  if (at != items_.size()) indexStale_ = true;
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), Entry{key, std::move(item)});
  ++version_;
  if (!indexStale_ && !key.empty())
    index_.insert(key, static_cast<int>(at),
                  [this](int p) -> const std::string& { return keyAt(p); });
}

const Variant& Collection::item(const Variant& indexOrKey) const {
  return items_[position(indexOrKey)].value;
}

void Collection::remove(const Variant& indexOrKey) {
  items_.erase(items_.begin() + position(indexOrKey));
  ++version_;
  indexStale_ = true;
}

const MemberTable* Collection::members() const {
  static const MemberTable table{
      {"Count", [](Object& o, Args) { return Variant(self<Collection>(o).count()); }},
      {"Item",
       [](Object& o, Args a) {
         expectArgs(a, 1);
         return self<Collection>(o).item(a[0]);
       }},
      {"Add", nullptr, nullptr,
       [](Object& o, Args a) {
         expectArgs(a, 1, 4);
         std::string key = a.size() > 1 && !a[1].isEmpty() ? a[1].toString() : std::string();
         self<Collection>(o).add(a[0], key, a.size() > 2 ? a[2] : Variant(),
                                 a.size() > 3 ? a[3] : Variant());
         return Variant();
       }},
      {"Remove", nullptr, nullptr,
       [](Object& o, Args a) {
         expectArgs(a, 1);
         self<Collection>(o).remove(a[0]);
         return Variant();
       }},
      {"Clear", nullptr, nullptr, [](Object& o, Args) {
         self<Collection>(o).clear();
         return Variant();
       }}};
  return &table;
}

}  // namespace rescalo::host
