#pragma once
// The one place where text crosses between UTF-8 (inside) and UTF-16 or the ANSI code page
// (the Windows API).

#include <string>
#include <string_view>

namespace velmok::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// UTF-8 to the system's ANSI code page (932 on Japanese Windows); unmappable characters become "?",
// never a best-fit look-alike ("ü" does not become "u").
std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

}  // namespace velmok::win32
