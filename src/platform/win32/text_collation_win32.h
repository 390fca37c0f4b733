#pragma once
// The user's locale sorts texts: the sort keys of LCMapStringEx, letter case, kana type and
// character width making no difference at the first rank, as Windows' own lists do. A text that
// gets no key is placed after every other, by its characters' codes.

#include <windows.h>

#include <string>

#include "platform/text_collation.h"

namespace velmok::win32 {

class Win32TextCollation final : public platform::TextCollation {
 public:
  static constexpr DWORD kFlags = NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;

  using MapString = decltype(&::LCMapStringEx);
  // `map` stands in for LCMapStringEx (a test's failing one).
  explicit Win32TextCollation(MapString map = &::LCMapStringEx) : map_(map) {}

  void AppendSortKey(std::string_view text, std::string& key) const override;

 private:
  MapString map_;
  // Reused from text to text: making a key must not cost an allocation each.
  mutable std::wstring first_;
};

}  // namespace velmok::win32
