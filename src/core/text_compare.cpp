#include "core/text_compare.h"

#include "platform/utf8.h"

namespace velmok {

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return (c >= U'A' && c <= U'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;             // Latin-1 capitals
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;          // Greek capitals
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;                         // Cyrillic capitals
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;                         // Cyrillic Ѐ..Џ
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;                       // full-width Ａ..Ｚ
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
    // Latin Extended-A: capitals and small letters alternate (with one shifted stretch).
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 1) ? c + 1 : c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  return c;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  // Identical bytes are identical characters: skip the common start (long shared folder paths),
  // back to the start of the character where the texts part.
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  std::size_t i = 0;
  while (i < common && a[i] == b[i]) ++i;
  while (i > 0 && i < a.size() && (static_cast<unsigned char>(a[i]) & 0xC0) == 0x80) --i;
  std::size_t j = i;
  while (i < a.size() && j < b.size()) {
    // Plain ASCII needs no decoding: the common case for paths and sizes.
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[j]);
    char32_t x;
    char32_t y;
    if (ca < 0x80 && cb < 0x80) {
      x = FoldCase(ca);
      y = FoldCase(cb);
      ++i;
      ++j;
    } else {
      x = FoldCase(DecodeUtf8(a, i));
      y = FoldCase(DecodeUtf8(b, j));
    }
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) { return CompareIgnoringCase(a, b) == 0; }

CaseIgnoringHash& CaseIgnoringHash::Add(std::string_view text) {
  std::uint64_t hash = state_;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const char32_t folded = c < 0x80 ? FoldCase(c) : FoldCase(DecodeUtf8(text, i));
    if (c < 0x80) ++i;
    hash = (hash ^ folded) * 1099511628211ULL;
  }
  state_ = hash;
  return *this;
}

std::size_t HashIgnoringCase(std::string_view text) { return CaseIgnoringHash().Add(text).Value(); }

void OrdinalCollation::AppendSortKey(std::string_view text, std::string& key) const {
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = FoldCase(DecodeUtf8(text, i));
    for (int shift = 24; shift >= 0; shift -= 8) key += static_cast<char>((c >> shift) & 0xFF);
  }
}

}  // namespace velmok
