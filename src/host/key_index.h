#pragma once
// Positions of items by key, keys compared without regard to case, for lists of thousands of
// items (a form's controls, the records kept per control).
//
// One flat table probed in place: a look-up touches one slot and the item it points at, where a
// node-based map touches a bucket and two scattered nodes, which on a large form costs each
// look-up several cache misses. The items keep their keys; the table keeps only their hashes
// and positions, and asks `keyAt(position)` for a key when two hashes agree. Nothing is ever
// taken out: a list whose positions move builds its index again.

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include <rescalo/host/name.h>

namespace rescalo::host {

class KeyIndex {
 public:
  // The position filed under key, or -1.
  template <class KeyAt>
  int find(std::string_view key, const KeyAt& keyAt) const {
    if (slots_.empty()) return -1;
    const std::uint32_t hash = hashNoCase(key);
    for (std::size_t i = hash & mask(); slots_[i].position >= 0; i = (i + 1) & mask())
      if (slots_[i].hash == hash && equalsNoCase(keyAt(slots_[i].position), key))
        return slots_[i].position;
    return -1;
  }

  // Files position under key; false, changing nothing, when the key is filed already.
  template <class KeyAt>
  bool insert(std::string_view key, int position, const KeyAt& keyAt) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    const std::uint32_t hash = hashNoCase(key);
    std::size_t i = hash & mask();
    for (; slots_[i].position >= 0; i = (i + 1) & mask())
      if (slots_[i].hash == hash && equalsNoCase(keyAt(slots_[i].position), key)) return false;
    slots_[i] = {hash, position};
    ++used_;
    return true;
  }

  // Empties the index, keeping its size for the items that will be filed again.
  void clear() {
    std::fill(slots_.begin(), slots_.end(), Slot{});
    used_ = 0;
  }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::int32_t position = -1;  // -1: free
  };
  std::size_t mask() const { return slots_.size() - 1; }
  // Twice as large (at least half the slots stay free, so probes stay short).
  void grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    for (const Slot& s : old) {
      if (s.position < 0) continue;
      std::size_t i = s.hash & mask();
      while (slots_[i].position >= 0) i = (i + 1) & mask();
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;  // a power of two in size
  std::size_t used_ = 0;
};

}  // namespace rescalo::host
