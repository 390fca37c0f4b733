#pragma once
// What the program's windows share: the thunk from the window procedure to the window object,
// sizes in twips, and the frame of the two modal boxes (centred, out of the task bar).

#include <windows.h>

namespace velmok::win32 {

// The window procedure of a window class `T`: the object is the creation parameter; it is stored
// at WM_NCCREATE (together with its handle) and every message goes to its handler. After the
// handler has seen WM_NCDESTROY, the window's last message, the object forgets the handle and no
// later call reaches it.
template <typename T>
LRESULT DispatchToWindow(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, HWND T::*handle,
                         LRESULT (T::*handler)(UINT, WPARAM, LPARAM)) noexcept {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->*handle = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  const LRESULT result = (self->*handler)(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->*handle = nullptr;
  }
  return result;
}

// Registers one of the program's window classes: the arrow cursor and, unless `background` says
// otherwise, the dialog face behind it. A class registered before stays as it is; one that could
// not be registered shows when its window cannot be created.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

int TwipsToPixels(int twips, UINT dpi);

// A control's place in twips within its window's client area.
struct TwipsRect {
  int left, top, width, height;
};

// The frame of the modal boxes: a fixed dialog border with a caption and a system menu.
inline constexpr DWORD kModalBoxStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD kModalBoxExStyle = WS_EX_DLGMODALFRAME;

// A hidden window that owns the program's modal boxes, so that they have no task bar button of
// their own.
HWND HiddenOwnerWindow(HINSTANCE instance);

// Sizes the window to a client area of the given pixels (for its styles and DPI) and centres it
// on the work area of its monitor.
void SizeAndCentre(HWND window, int clientWidth, int clientHeight, UINT dpi);

}  // namespace velmok::win32
