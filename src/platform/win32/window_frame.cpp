#include "platform/win32/window_frame.h"

#include <cmath>

#include "platform/win32/newer_windows.h"

namespace velmok::win32 {

int TwipsToPixels(int twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * static_cast<double>(dpi == 0 ? 96 : dpi) / 1440.0));
}

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

HWND HiddenOwnerWindow(HINSTANCE instance) {
  static HWND owner = nullptr;
  if (owner && IsWindow(owner)) return owner;
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"VELMOK.HiddenOwner";
  RegisterClassExW(&wc);
  owner = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  return owner;
}

void SizeAndCentre(HWND window, int clientWidth, int clientHeight, UINT dpi) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  RECT frame{0, 0, clientWidth, clientHeight};
  RunningWindows().AdjustWindowRect(frame, style, GetMenu(window) != nullptr, exStyle, dpi);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  MONITORINFO monitor{sizeof monitor};
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace velmok::win32
