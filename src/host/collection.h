#pragma once
// Ordered collections with optional case-insensitive string keys.
//
// Two flavours share one mechanism: the runtime's own Collection (1-based, errors 5/9/457)
// and the collections of the common controls (ListImages, Buttons...: 1-based, errors
// 35600/35601/35602), and a 0-based read-only list for a form's Controls.

#include <string>
#include <vector>

#include <rescalo/host/key_index.h>
#include <rescalo/host/object.h>

namespace rescalo::host {

struct CollectionErrors {
  int indexOutOfRange;
  int keyNotFound;
  int duplicateKey;
};
inline constexpr CollectionErrors kClassicCollectionErrors{kSubscriptOutOfRange,
                                                           kInvalidProcedureCall, kDuplicateKey};
inline constexpr CollectionErrors kCommonControlErrors{kIndexOutOfBounds, kElementNotFound,
                                                       kKeyNotUnique};

class Collection : public Object {
 public:
  explicit Collection(CollectionErrors errors = kClassicCollectionErrors, int base = 1,
                      std::string typeName = "Collection");

  std::string_view typeName() const override { return typeName_; }

  // Adds an item; before/after name an existing item by position or key (not both).
  void add(Variant item, const std::string& key = {}, const Variant& before = {},
           const Variant& after = {});
  const Variant& item(const Variant& indexOrKey) const;
  void remove(const Variant& indexOrKey);
  void clear() {
    ++version_;
    items_.clear();
    index_.clear();
    indexStale_ = false;
  }
  int count() const { return static_cast<int>(items_.size()); }
  bool containsKey(std::string_view key) const { return findKey(key) >= 0; }
  // The item filed under key, or nullptr: one lookup where containsKey and item make two.
  const Variant* find(std::string_view key) const {
    int p = findKey(key);
    return p < 0 ? nullptr : &items_[static_cast<std::size_t>(p)].value;
  }
  const std::string& keyAt(int position0) const { return items_[position0].key; }
  const Variant& at(int position0) const { return items_[position0].value; }
  int base() const { return base_; }
  // Changes whenever an item is added or removed, so that a user can tell that what it found
  // in the collection still holds.
  std::uint64_t version() const { return version_; }

 protected:
  const MemberTable* members() const override;

 private:
  struct Entry {
    std::string key;  // empty: no key
    Variant value;
  };
  int findKey(std::string_view key) const;        // position (0-based) or -1
  int position(const Variant& indexOrKey) const;  // 0-based, raises as the flavour says

  std::vector<Entry> items_;
  // Positions by key, so that a form of thousands of controls is not searched item by item.
  mutable KeyIndex index_;
  mutable bool indexStale_ = false;
  std::uint64_t version_ = 0;  // positions moved: rebuilt at the next lookup
  CollectionErrors errors_;
  int base_;
  std::string typeName_;
};

}  // namespace rescalo::host
