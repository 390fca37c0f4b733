// What the program does where Windows lacks a function newer than Windows 7: each fallback's
// answer beside the newer function's. Wine has every newer function, so the fallbacks run on a
// system handed to the program without them.

#include "platform/win32/newer_windows.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <functional>
#include <string>

#include "support/win32_test_support.h"

namespace velmok::testing {
namespace {

using win32::NewerPart;
using win32::NewerWindows;

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

std::string Describe(const LOGFONTW& f) {
  return U8(f.lfFaceName) + " " + std::to_string(f.lfHeight) + " weight " + std::to_string(f.lfWeight);
}

std::string Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return U8(text);
}

TEST(NewerWindows, EachFallbackAnswersAsTheNewerFunctionDoes) {
  const win32::ScopedWindow window(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                                                   nullptr, nullptr, nullptr));
  ASSERT_TRUE(window);
  auto messageFont = [](UINT dpi) {
    return [dpi](const NewerWindows& s) { return Describe(s.NonClientMetrics(dpi).lfMessageFont); };
  };
  auto frame = [](UINT dpi) {
    return [dpi](const NewerWindows& s) {
      RECT r{0, 0, 528, 288};
      s.AdjustWindowRect(r, WS_OVERLAPPEDWINDOW, true, 0, dpi);
      return Describe(r);
    };
  };
  const UINT dpi = NewerWindows().DpiOf(window.Get());
  const struct {
    const char* what;
    NewerWindows older;
    NewerPart lacking;
    std::function<std::string(const NewerWindows&)> answer;
  } rows[] = {
      {"a window's scaling, on Windows 8.1 its monitor's", NewerWindows({NewerPart::WindowDpi}),
       NewerPart::WindowDpi, [&](const NewerWindows& s) { return std::to_string(s.DpiOf(window.Get())); }},
      {"a window's scaling, on Windows 7 the system's", NewerWindows({NewerPart::WindowDpi, NewerPart::MonitorDpi}),
       NewerPart::MonitorDpi, [&](const NewerWindows& s) { return std::to_string(s.DpiOf(window.Get())); }},
      {"the frame around a client area", NewerWindows({NewerPart::WindowDpi}), NewerPart::WindowDpi, frame(dpi)},
      {"the message font at the system's scaling", NewerWindows({NewerPart::WindowDpi}), NewerPart::WindowDpi,
       messageFont(dpi)},
      {"the message font at 120 dpi", NewerWindows({NewerPart::WindowDpi}), NewerPart::WindowDpi, messageFont(120)},
      {"the message font at 144 dpi", NewerWindows({NewerPart::WindowDpi}), NewerPart::WindowDpi, messageFont(144)},
      {"the message font at 192 dpi", NewerWindows({NewerPart::WindowDpi}), NewerPart::WindowDpi, messageFont(192)},
      {"the spooler, from the system folder", NewerWindows({NewerPart::DllSearchFolders}),
       NewerPart::DllSearchFolders,
       [](const NewerWindows& s) {
         wchar_t path[MAX_PATH] = {};
         GetModuleFileNameW(s.LoadSystemLibrary(L"winspool.drv"), path, MAX_PATH);
         return Lower(path);
       }},
  };
  const NewerWindows running;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_TRUE(running.Has(row.lacking)) << "Wine has every newer function";
    EXPECT_FALSE(row.older.Has(row.lacking));
    const std::string older = row.answer(row.older);
    EXPECT_FALSE(older.empty());
    EXPECT_EQ(older, row.answer(running));
  }
}

}  // namespace
}  // namespace velmok::testing
