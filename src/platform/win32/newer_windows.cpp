// The only file of the program that sees the declarations of Windows 10: the types of the functions
// it looks up come from them. Everything else is compiled against those of Windows 7.
#undef _WIN32_WINNT
#undef WINVER
#define _WIN32_WINNT 0x0A00
#define WINVER 0x0A00

#include "platform/win32/newer_windows.h"

#include <shellscalingapi.h>

#include <string>

#include "platform/win32/system_win32.h"

namespace velmok::win32 {

namespace {

constexpr UINT kDefaultDpi = 96;

// The newer functions of the modules every program has loaded, looked up once.
struct LoadedFunctions {
  decltype(&::GetDpiForWindow) getDpiForWindow;
  decltype(&::AdjustWindowRectExForDpi) adjustWindowRectExForDpi;
  decltype(&::SystemParametersInfoForDpi) systemParametersInfoForDpi;
  decltype(&::SetDefaultDllDirectories) setDefaultDllDirectories;
  decltype(&::GetSystemTimePreciseAsFileTime) getSystemTimePreciseAsFileTime;

  static const LoadedFunctions& Get() {
    static const LoadedFunctions functions = [] {
      const HMODULE user32 = GetModuleHandleW(L"user32.dll");
      const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
      return LoadedFunctions{
          ProcAddress<decltype(&::GetDpiForWindow)>(user32, "GetDpiForWindow"),
          ProcAddress<decltype(&::AdjustWindowRectExForDpi)>(user32, "AdjustWindowRectExForDpi"),
          ProcAddress<decltype(&::SystemParametersInfoForDpi)>(user32, "SystemParametersInfoForDpi"),
          ProcAddress<decltype(&::SetDefaultDllDirectories)>(kernel32, "SetDefaultDllDirectories"),
          ProcAddress<decltype(&::GetSystemTimePreciseAsFileTime)>(kernel32, "GetSystemTimePreciseAsFileTime"),
      };
    }();
    return functions;
  }
};

// GetDpiForMonitor lives in a library of its own, loaded only where a window's own scaling is
// unknown (Windows 8.1 and the first Windows 10).
decltype(&::GetDpiForMonitor) GetDpiForMonitorFunction(const NewerWindows& system) {
  static const auto function = ProcAddress<decltype(&::GetDpiForMonitor)>(
      system.LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
  return function;
}

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

void ScaleFont(LOGFONTW& font, UINT from, UINT to) {
  font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(to), static_cast<int>(from));
}

NewerWindows actualSystem;
NewerWindows* currentSystem = &actualSystem;

}  // namespace

NewerWindows::NewerWindows(std::initializer_list<NewerPart> missing) {
  for (const NewerPart part : missing) missing_ |= Bit(part);
}

NewerWindows NewerWindows::AsWindows7() {
  NewerWindows system({NewerPart::WindowDpi, NewerPart::MonitorDpi, NewerPart::DllSearchFolders,
                       NewerPart::PreciseTime});
  system.refusesFullDirectoryInfo_ = true;
  return system;
}

bool NewerWindows::Has(NewerPart part) const {
  if (missing_ & Bit(part)) return false;
  const LoadedFunctions& f = LoadedFunctions::Get();
  switch (part) {
    case NewerPart::WindowDpi:
      return f.getDpiForWindow && f.adjustWindowRectExForDpi && f.systemParametersInfoForDpi;
    case NewerPart::MonitorDpi:
      return GetDpiForMonitorFunction(*this) != nullptr;
    case NewerPart::DllSearchFolders:
      return f.setDefaultDllDirectories != nullptr;
    case NewerPart::PreciseTime:
      return f.getSystemTimePreciseAsFileTime != nullptr;
    case NewerPart::FullDirectoryInfo:
      return !fullDirectoryInfoRefused_;
  }
  return false;
}

UINT NewerWindows::DpiOf(HWND window) const {
  if (Has(NewerPart::WindowDpi)) {
    const UINT dpi = LoadedFunctions::Get().getDpiForWindow(window);
    if (dpi != 0) return dpi;
  }
  if (Has(NewerPart::MonitorDpi)) {
    UINT x = 0;
    UINT y = 0;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (SUCCEEDED(GetDpiForMonitorFunction(*this)(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && x != 0) return x;
  }
  return SystemDpi();
}

void NewerWindows::AdjustWindowRect(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi) const {
  if (Has(NewerPart::WindowDpi)) {
    LoadedFunctions::Get().adjustWindowRectExForDpi(&rect, style, menu, exStyle, dpi);
    return;
  }
  // Before Windows 10 the frame is drawn at the system's scaling on every monitor.
  AdjustWindowRectEx(&rect, style, menu, exStyle);
}

NONCLIENTMETRICSW NewerWindows::NonClientMetrics(UINT dpi) const {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (Has(NewerPart::WindowDpi) &&
      LoadedFunctions::Get().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
    return metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  // The system's metrics are those of its own scaling; a monitor of another (Windows 8.1) has the
  // fonts scaled to its own.
  const UINT system = SystemDpi();
  if (dpi != 0 && dpi != system) {
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont})
      ScaleFont(*font, system, dpi);
  }
  return metrics;
}

void NewerWindows::LimitDllSearch() const {
  if (Has(NewerPart::DllSearchFolders)) {
    LoadedFunctions::Get().setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return;
  }
  // Windows 7 without the update keeps the program's folder in the search; the current folder at
  // least goes. The libraries the program loads itself are loaded by their full path.
  SetDllDirectoryW(L"");
}

HMODULE NewerWindows::LoadSystemLibrary(const wchar_t* name) const {
  if (Has(NewerPart::DllSearchFolders)) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // The full path, and the library's own imports looked for beside it first.
  const std::wstring path = SystemFolder() + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FILETIME NewerWindows::SystemTimeNow() const {
  FILETIME now{};
  if (Has(NewerPart::PreciseTime))
    LoadedFunctions::Get().getSystemTimePreciseAsFileTime(&now);
  else
    GetSystemTimeAsFileTime(&now);
  return now;
}

FILE_INFO_BY_HANDLE_CLASS NewerWindows::FullDirectoryInfoClass(bool restart) const {
  // Windows 7 knows the classes up to FileRemoteProtocolInfo and refuses any other with
  // ERROR_INVALID_PARAMETER; a test's Windows 7 asks for one that no system knows (nor Wine).
  if (refusesFullDirectoryInfo_) return static_cast<FILE_INFO_BY_HANDLE_CLASS>(31);
  return restart ? FileFullDirectoryRestartInfo : FileFullDirectoryInfo;
}

NewerWindows& RunningWindows() { return *currentSystem; }

ScopedNewerWindows::ScopedNewerWindows(const NewerWindows& system) : system_(system), previous_(currentSystem) {
  currentSystem = &system_;
}

ScopedNewerWindows::~ScopedNewerWindows() { currentSystem = previous_; }

}  // namespace velmok::win32
