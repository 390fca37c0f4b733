#pragma once
// Comparing texts the way the print list does: letter case ignored (ASCII, Latin-1, Greek,
// Cyrillic and the full-width Latin letters), otherwise by character code. Numbers are not
// interpreted: "10 KB" < "100 KB" < "9 KB".

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text_collation.h"

namespace velmok {

char32_t FoldCase(char32_t c);
// <0, 0, >0 like strcmp.
int CompareIgnoringCase(std::string_view a, std::string_view b);
bool EqualIgnoringCase(std::string_view a, std::string_view b);
std::size_t HashIgnoringCase(std::string_view text);

// The same hash, taken in pieces that each end where a character ends: the hash of a folder's
// path is taken once and continued by each name in it.
class CaseIgnoringHash {
 public:
  CaseIgnoringHash& Add(std::string_view text);
  std::size_t Value() const { return static_cast<std::size_t>(state_ ^ (state_ >> 32)); }

 private:
  // FNV-1a over the folded characters, in 64 bits on either architecture.
  std::uint64_t state_ = 1469598103934665603ULL;
};

// The order above as a collation: where no language's order is at hand (the tests, the native
// build), the print list sorts by it. Its keys are the folded characters, 32 bits each.
class OrdinalCollation final : public platform::TextCollation {
 public:
  void AppendSortKey(std::string_view text, std::string& key) const override;
};

}  // namespace velmok
