#pragma once
// Comparing texts the way the print list does: letter case ignored (ASCII, Latin-1, Greek,
// Cyrillic and the full-width Latin letters), otherwise by character code. Numbers are not
// interpreted: "10 KB" < "100 KB" < "9 KB".

#include <cstddef>
#include <string_view>

namespace velmok {

char32_t FoldCase(char32_t c);
// <0, 0, >0 like strcmp.
int CompareIgnoringCase(std::string_view a, std::string_view b);
bool EqualIgnoringCase(std::string_view a, std::string_view b);
std::size_t HashIgnoringCase(std::string_view text);

}  // namespace velmok
