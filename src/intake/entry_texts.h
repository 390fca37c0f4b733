#pragma once
// The texts of a print list entry's columns.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace velmok {

// "YYYY/MM/DD hh:mm", 24-hour clock.
std::string FormatModifiedTime(const platform::LocalDateTime& t);
// Bytes divided by 1000, rounded down, then " KB": 999 -> "0 KB", 1234567 -> "1234 KB".
std::string FormatSize(std::uint64_t bytes);
// Whether a file name marks a printable document: its last four characters, in lower case, are
// ".cwj" (a name of three characters or fewer never is).
bool IsClarisDocumentName(std::string_view name);

}  // namespace velmok
