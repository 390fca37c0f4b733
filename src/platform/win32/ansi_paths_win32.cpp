#include "platform/win32/ansi_paths_win32.h"

#include <windows.h>

#include <string>

#include "platform/path_forms.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

bool Win32AnsiPaths::ReachesAnsiProgram(std::string_view path) {
  const std::wstring wide = Widen(path);
  if (wide.empty()) return true;
  // Windows' rules would make another path of it ("Data." read as "Data"), or none ("\\?\").
  if (!platform::IsOrdinaryPath(path)) return false;
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
  if (path.empty()) return {};
  // Asked as the path stands and at any length; the short form is plain names, without the prefix.
  const std::wstring asked = Widen(platform::VerbatimForm(path));
  const DWORD needed = GetShortPathNameW(asked.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring shortPath(needed, L'\0');
  const DWORD written = GetShortPathNameW(asked.c_str(), shortPath.data(), needed);
  if (written == 0 || written >= needed) return {};
  shortPath.resize(written);
  return platform::WithoutVerbatimPrefix(Narrow(shortPath));
}

}  // namespace velmok::win32
