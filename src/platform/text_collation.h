#pragma once
// The order in which the user's language sorts texts: Japanese names as a Japanese user expects
// them (hiragana and katakana together, a full-width digit beside its half-width twin, letter
// case no first-rank difference).

#include <string>
#include <string_view>

namespace velmok::platform {

class TextCollation {
 public:
  virtual ~TextCollation() = default;
  // <0, 0 or >0 as `a` sorts before, with or after `b`.
  virtual int Compare(std::string_view a, std::string_view b) const = 0;
  // Appends a key of `text` whose byte order (unsigned, shorter first) is the order of Compare, so
  // that many texts are sorted at the cost of one key each rather than one call per comparison.
  virtual void AppendSortKey(std::string_view text, std::string& key) const = 0;
};

}  // namespace velmok::platform
