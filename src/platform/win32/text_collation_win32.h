#pragma once
// The user's locale sorts texts: CompareStringEx and the sort keys of LCMapStringEx, letter case,
// kana type and character width making no difference at the first rank, as Windows' own lists do.

#include <windows.h>

#include <string>

#include "platform/text_collation.h"

namespace velmok::win32 {

class Win32TextCollation final : public platform::TextCollation {
 public:
  static constexpr DWORD kFlags = NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;

  int Compare(std::string_view a, std::string_view b) const override;
  void AppendSortKey(std::string_view text, std::string& key) const override;

 private:
  // Reused from text to text: making a key must not cost an allocation each.
  mutable std::wstring first_;
  mutable std::wstring second_;
};

}  // namespace velmok::win32
