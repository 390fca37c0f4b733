#pragma once
// The one place where text crosses between UTF-8 (inside) and UTF-16 or the ANSI code page
// (the Windows API).

#include <string>
#include <string_view>

namespace velmok::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// WideCharToMultiByte, as a value: Wine's takes flags and a default character that Windows
// refuses for UTF-8 (ERROR_INVALID_FLAGS, ERROR_INVALID_PARAMETER), so a test hands in one that
// keeps to Windows' rules.
using WideToMultiByteFunction = int (*)(unsigned codePage, unsigned long flags, const wchar_t* text, int length,
                                        char* out, int outSize, const char* defaultChar, int* usedDefault);

// An ANSI code page and the conversion into it.
struct AnsiEncoding {
  unsigned codePage;
  WideToMultiByteFunction convert;
};
// The system's ANSI code page (GetACP): 932 on Japanese Windows, 65001 (UTF-8) where Windows'
// worldwide-language option is on.
AnsiEncoding SystemAnsiEncoding();
// The system's conversion into `codePage`.
AnsiEncoding AnsiEncodingOf(unsigned codePage);

// UTF-8 to an ANSI code page; a character the code page lacks becomes "?", never a best-fit
// look-alike ("ü" does not become "u"). In UTF-8 every character has its form.
std::string ToAnsi(std::string_view utf8, const AnsiEncoding& encoding = SystemAnsiEncoding());
std::string FromAnsi(std::string_view ansi, unsigned codePage = SystemAnsiEncoding().codePage);
// Whether `codePage` takes the flag that refuses look-alikes and a default character: UTF-8 and
// UTF-7 take neither (and have no look-alikes to refuse).
bool HasLookAlikes(unsigned codePage);

}  // namespace velmok::win32
