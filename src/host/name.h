#pragma once
// Member names: compared without regard to case, hashed once so that a lookup never allocates.

#include <cstdint>
#include <string>
#include <string_view>

namespace rescalo::host {

constexpr char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

constexpr std::uint32_t hashNoCase(std::string_view s) {
  std::uint32_t h = 2166136261u;  // FNV-1a over the case-folded bytes
  for (char c : s) {
    h ^= static_cast<unsigned char>(foldCase(c));
    h *= 16777619u;
  }
  return h;
}

constexpr bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldCase(a[i]) != foldCase(b[i])) return false;
  return true;
}

class Name {
 public:
  constexpr Name(std::string_view text) : text_(text), hash_(hashNoCase(text)) {}
  constexpr Name(const char* text) : Name(std::string_view(text)) {}
  // Refers to the string's text: the string must outlive the lookup.
  Name(const std::string& text) : Name(std::string_view(text)) {}
  constexpr std::string_view text() const { return text_; }
  constexpr std::uint32_t hash() const { return hash_; }
  constexpr bool operator==(const Name& o) const {
    return hash_ == o.hash_ && equalsNoCase(text_, o.text_);
  }

 private:
  std::string_view text_;
  std::uint32_t hash_;
};

}  // namespace rescalo::host
