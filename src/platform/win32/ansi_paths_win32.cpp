#include "platform/win32/ansi_paths_win32.h"

#include <windows.h>

#include <string>

#include "platform/win32/wide.h"

namespace velmok::win32 {

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

// A path too long for the plain functions gets the prefix that lifts MAX_PATH.
std::wstring WithLongPrefix(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.rfind(kLongPrefix, 0) == 0) return path;
  if (path.rfind(L"\\\\", 0) == 0) return std::wstring(kLongUncPrefix) + path.substr(2);
  return std::wstring(kLongPrefix) + path;
}

std::wstring WithoutLongPrefix(const std::wstring& path, bool prefixed) {
  if (!prefixed) return path;
  if (path.rfind(kLongUncPrefix, 0) == 0) return L"\\\\" + path.substr(kLongUncPrefix.size());
  if (path.rfind(kLongPrefix, 0) == 0) return path.substr(kLongPrefix.size());
  return path;
}

}  // namespace

bool Win32AnsiPaths::ReachesAnsiProgram(std::string_view path) {
  const std::wstring wide = Widen(path);
  if (wide.empty()) return true;
  const int length = static_cast<int>(wide.size());
  // With UTF-8 as the ANSI code page every character has its form; only the length can fail.
  const unsigned codePage = encoding_.codePage;
  const bool lookAlikes = HasLookAlikes(codePage);
  const DWORD flags = lookAlikes ? WC_NO_BEST_FIT_CHARS : 0;
  int usedDefault = FALSE;
  const int bytes =
      encoding_.convert(codePage, flags, wide.data(), length, nullptr, 0, nullptr, lookAlikes ? &usedDefault : nullptr);
  if (bytes <= 0 || usedDefault || bytes + 1 > MAX_PATH) return false;
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  encoding_.convert(codePage, flags, wide.data(), length, ansi.data(), bytes, nullptr, nullptr);
  // And back: the program must read the very same name.
  const int back = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi.data(), bytes, nullptr, 0);
  if (back != length) return false;
  std::wstring again(static_cast<std::size_t>(back), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ansi.data(), bytes, again.data(), back);
  return again == wide;
}

std::string Win32AnsiPaths::ShortForm(std::string_view path) {
  const std::wstring wide = Widen(path);
  if (wide.empty()) return {};
  const std::wstring asked = WithLongPrefix(wide);
  const bool prefixed = asked.size() != wide.size();
  const DWORD needed = GetShortPathNameW(asked.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring shortPath(needed, L'\0');
  const DWORD written = GetShortPathNameW(asked.c_str(), shortPath.data(), needed);
  if (written == 0 || written >= needed) return {};
  shortPath.resize(written);
  return Narrow(WithoutLongPrefix(shortPath, prefixed));
}

}  // namespace velmok::win32
