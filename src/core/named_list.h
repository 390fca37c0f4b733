#pragma once
// The list of names a message box shows under its sentence: one name a line, up to a limit, then
// "ほか n 個の…" for the rest.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmok {

struct NamedListStyle {
  std::size_t limit = 10;          // names shown at the most
  bool allWhenOneMore = false;     // one name over the limit is shown rather than counted
  std::string_view morePrefix;     // "ほか "
  std::string_view moreSuffix;     // " 個のファイル"
};

// Appends "\r\n" and each name shown, then "\r\n" and the count of the rest, if any.
void AppendNamedList(std::string& text, const std::vector<std::string>& names, const NamedListStyle& style);

}  // namespace velmok
