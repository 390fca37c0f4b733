#pragma once
// The order in which the user's language sorts texts: Japanese names as a Japanese user expects
// them (hiragana and katakana together, a full-width digit beside its half-width twin, letter
// case no first-rank difference).

#include <string>
#include <string_view>

namespace velmok::platform {

// The order is that of the texts' keys, and nothing else: a text is placed by its key wherever it
// is compared, so that a list sorted at once and one grown entry by entry agree.
class TextCollation {
 public:
  virtual ~TextCollation() = default;
  // Appends the key of `text`: texts sort as their keys do byte by byte (unsigned, shorter first).
  virtual void AppendSortKey(std::string_view text, std::string& key) const = 0;
};

}  // namespace velmok::platform
