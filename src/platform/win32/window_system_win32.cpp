#include "platform/win32/window_system_win32.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace velmok::win32 {

namespace {

HWND ToHwnd(platform::WindowId w) { return reinterpret_cast<HWND>(w); }
platform::WindowId FromHwnd(HWND h) { return reinterpret_cast<platform::WindowId>(h); }

}  // namespace

platform::WindowId Win32WindowSystem::FindTopLevelByClass(std::string_view className) {
  return FromHwnd(FindWindowW(Widen(className).c_str(), nullptr));
}

platform::WindowId Win32WindowSystem::FindTopLevelByTitle(std::string_view title) {
  return FromHwnd(FindWindowW(nullptr, Widen(title).c_str()));
}

platform::WindowId Win32WindowSystem::FindTopLevelByTitleOf(std::uint32_t process, std::string_view title) {
  const std::wstring wide = Widen(title);
  // FindWindowEx goes through the top-level windows of that title one after the other, matching
  // titles as FindWindow does.
  for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, wide.c_str()); window;
       window = FindWindowExW(nullptr, window, nullptr, wide.c_str())) {
    DWORD owner = 0;
    if (GetWindowThreadProcessId(window, &owner) != 0 && owner == process) return FromHwnd(window);
  }
  return platform::kNoWindow;
}

std::string Win32WindowSystem::WindowTitle(platform::WindowId window, std::size_t maxChars) {
  std::vector<wchar_t> buffer(maxChars + 1, L'\0');
  const int n = GetWindowTextW(ToHwnd(window), buffer.data(), static_cast<int>(buffer.size()));
  if (n <= 0) return {};
  std::wstring_view text(buffer.data(), static_cast<std::size_t>(n));
  text = text.substr(0, text.find(L'\0'));
  return Narrow(text);
}

std::uint32_t Win32WindowSystem::ProcessOfWindow(platform::WindowId window) {
  DWORD process = 0;
  if (window == platform::kNoWindow || GetWindowThreadProcessId(ToHwnd(window), &process) == 0) return 0;
  return process;
}

platform::WindowId Win32WindowSystem::ForegroundWindow() { return FromHwnd(GetForegroundWindow()); }

}  // namespace velmok::win32
