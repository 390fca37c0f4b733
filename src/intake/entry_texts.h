#pragma once
// The texts of a print list entry's columns.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace velmok {

// "YYYY/MM/DD hh:mm", 24-hour clock.
std::string FormatModifiedTime(const platform::LocalDateTime& t);
// The same text in a buffer of its own: an intake makes one per document, and a string that long
// would cost an allocation each time.
class ModifiedTimeText {
 public:
  explicit ModifiedTimeText(const platform::LocalDateTime& t);
  std::string_view View() const { return {chars_.data(), length_}; }

 private:
  std::array<char, 48> chars_{};
  std::size_t length_ = 0;
};
// Bytes divided by 1000, rounded down, then " KB": 999 -> "0 KB", 1234567 -> "1234 KB".
std::string FormatSize(std::uint64_t bytes);
// Whether a file name marks a printable document: its last four characters, in lower case, are
// ".cwj" (a name of three characters or fewer never is).
bool IsClarisDocumentName(std::string_view name);

}  // namespace velmok
