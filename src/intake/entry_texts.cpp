#include "intake/entry_texts.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "core/text_compare.h"
#include "platform/utf8.h"

namespace velmok {

ModifiedTimeText::ModifiedTimeText(const platform::LocalDateTime& t) {
  if (t.year < 0 || t.year > 9999) {
    const int n = std::snprintf(chars_.data(), chars_.size(), "%04d/%02d/%02d %02d:%02d", t.year, t.month, t.day,
                                t.hour, t.minute);
    length_ = n < 0 ? 0 : std::min(static_cast<std::size_t>(n), chars_.size() - 1);
    return;
  }
  // Written digit by digit.
  auto put = [this](std::size_t at, int value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10)
      chars_[at + static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
  };
  put(0, t.year, 4);
  chars_[4] = '/';
  put(5, t.month, 2);
  chars_[7] = '/';
  put(8, t.day, 2);
  chars_[10] = ' ';
  put(11, t.hour, 2);
  chars_[13] = ':';
  put(14, t.minute, 2);
  length_ = 16;
}

std::string FormatModifiedTime(const platform::LocalDateTime& t) { return std::string(ModifiedTimeText(t).View()); }

std::string FormatSize(std::uint64_t bytes) {
  // Written from the right into a buffer of its own: an intake formats one per document.
  char text[24];
  char* at = std::end(text);
  for (const char c : {'B', 'K', ' '}) *--at = c;
  std::uint64_t thousands = bytes / 1000;
  do {
    *--at = static_cast<char>('0' + thousands % 10);
    thousands /= 10;
  } while (thousands != 0);
  return std::string(at, std::end(text));
}

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
