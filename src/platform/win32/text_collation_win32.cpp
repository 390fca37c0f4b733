#include "platform/win32/text_collation_win32.h"

namespace velmok::win32 {

namespace {

void ToUtf16(std::string_view utf8, std::wstring& out) {
  out.resize(utf8.size());  // never more UTF-16 units than UTF-8 bytes
  const int n = utf8.empty() ? 0
                             : MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(),
                                                   static_cast<int>(out.size()));
  out.resize(static_cast<std::size_t>(n));
}

constexpr char kLocaleKey = '\x00';
constexpr char kNoLocaleKey = '\x01';

}  // namespace

void Win32TextCollation::AppendSortKey(std::string_view text, std::string& key) const {
  ToUtf16(text, first_);
  // The locale's keys come first, the texts without one after them.
  key += kLocaleKey;
  const std::size_t start = key.size();
  // A key is rarely longer than four bytes a character and a few separators.
  std::size_t room = first_.size() * 4 + 16;
  for (int attempt = 0; attempt < 2; ++attempt) {
    key.resize(start + room);
    const int n = map_(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | kFlags, first_.data(), static_cast<int>(first_.size()),
                       reinterpret_cast<LPWSTR>(key.data() + start), static_cast<int>(room), nullptr, nullptr, 0);
    if (n > 0) {
      key.resize(start + static_cast<std::size_t>(n) - 1);  // without the terminating zero
      return;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    room = static_cast<std::size_t>(map_(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | kFlags, first_.data(),
                                         static_cast<int>(first_.size()), nullptr, 0, nullptr, nullptr, 0));
    if (room == 0) break;
  }
  // No key to be had: the characters' codes (UTF-8 keeps their order), after every locale's key.
  key.resize(start - 1);
  key += kNoLocaleKey;
  key.append(text);
}

}  // namespace velmok::win32
