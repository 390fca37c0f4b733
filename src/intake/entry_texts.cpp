#include "intake/entry_texts.h"

#include <cstdio>

#include "core/text_compare.h"
#include "platform/utf8.h"

namespace velmok {

std::string FormatModifiedTime(const platform::LocalDateTime& t) {
  // "YYYY/MM/DD hh:mm", written digit by digit: an intake formats one per document.
  std::string out(16, '0');
  auto put = [&out](std::size_t at, int value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10) out[at + static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
  };
  if (t.year < 0 || t.year > 9999) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
    return buffer;
  }
  put(0, t.year, 4);
  out[4] = '/';
  put(5, t.month, 2);
  out[7] = '/';
  put(8, t.day, 2);
  out[10] = ' ';
  put(11, t.hour, 2);
  out[13] = ':';
  put(14, t.minute, 2);
  return out;
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
