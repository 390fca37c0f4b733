#include "intake/entry_texts.h"

#include <cstdio>

#include "core/text_compare.h"
#include "core/utf8.h"

namespace velmok {

std::string FormatModifiedTime(const platform::LocalDateTime& t) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
  return buffer;
}

std::string FormatSize(std::uint64_t bytes) { return std::to_string(bytes / 1000) + " KB"; }

bool IsClarisDocumentName(std::string_view name) {
  // The last four characters (not bytes).
  std::size_t start = name.size();
  for (int n = 0; n < 4; ++n) {
    if (start == 0) return false;
    do {
      --start;
    } while (start > 0 && (static_cast<unsigned char>(name[start]) & 0xC0) == 0x80);
  }
  const std::string_view tail = name.substr(start);
  static constexpr char32_t kExtension[] = {U'.', U'c', U'w', U'j'};
  std::size_t pos = 0;
  for (const char32_t expected : kExtension) {
    if (pos >= tail.size()) return false;
    const char32_t c = DecodeUtf8(tail, pos);
    // Lower case of ASCII letters only counts: a full-width "ＣＷＪ" stays full-width.
    if ((c < 0x80 ? FoldCase(c) : c) != expected) return false;
  }
  return pos == tail.size();
}

}  // namespace velmok
