#include "platform/win32/wide.h"

#include <windows.h>

namespace velmok::win32 {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = static_cast<int>(utf16.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

namespace {

int SystemWideToMultiByte(unsigned codePage, unsigned long flags, const wchar_t* text, int length, char* out,
                          int outSize, const char* defaultChar, int* usedDefault) {
  return WideCharToMultiByte(codePage, flags, text, length, out, outSize, defaultChar, usedDefault);
}

}  // namespace

AnsiEncoding AnsiEncodingOf(unsigned codePage) { return {codePage, &SystemWideToMultiByte}; }

AnsiEncoding SystemAnsiEncoding() { return AnsiEncodingOf(GetACP()); }

bool HasLookAlikes(unsigned codePage) { return codePage != CP_UTF8 && codePage != CP_UTF7; }

std::string ToAnsi(std::string_view utf8, const AnsiEncoding& encoding) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const DWORD flags = HasLookAlikes(encoding.codePage) ? WC_NO_BEST_FIT_CHARS : 0;
  const int n = encoding.convert(encoding.codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  encoding.convert(encoding.codePage, flags, wide.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::string FromAnsi(std::string_view ansi, unsigned codePage) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int n = MultiByteToWideChar(codePage, 0, ansi.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, ansi.data(), size, wide.data(), n);
  return Narrow(wide);
}

}  // namespace velmok::win32
