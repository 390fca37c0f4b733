#include "clw4sim/panel_window_win32.h"

#include "platform/win32/wide.h"

namespace clw4sim {

using velmok::win32::Narrow;
using velmok::win32::Widen;

namespace {

constexpr int kEditHeight = 26;
constexpr int kMargin = 16;

}  // namespace

bool PanelWindow::Create(HWND owner, const PanelLook& look) {
  lines_ = look.lines;
  // No system menu and no close box: only the keys answer these windows.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
  if (!CreateAs(look.className, WS_EX_DLGMODALFRAME, style, Widen(look.title), PlacedOver(owner, look.width, look.height),
                owner))
    return false;
  if (look.withEditField) {
    RECT client{};
    GetClientRect(Handle(), &client);
    // The system's edit control, also for an ANSI program: its characters come through the ANSI
    // message loop (a character outside the code page arrives as '?', one of two bytes as two
    // messages that dispatching joins), and the program reads its text in the code page.
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, kMargin,
                            client.bottom - kEditHeight - kMargin, client.right - 2 * kMargin, kEditHeight, Handle(),
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  }
  return true;
}

void PanelWindow::Show(bool activate) {
  if (!activate) {
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    return;
  }
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetFocus(edit_ ? edit_ : Handle());
}

std::string PanelWindow::EditText() const {
  if (!edit_) return {};
  if (AnsiWindows()) {
    // What an ANSI program reads: the bytes of the code page.
    const int length = GetWindowTextLengthA(edit_);
    std::string bytes(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(edit_, bytes.data(), length + 1);
    bytes.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return FromAnsi(bytes);
  }
  const int length = GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(edit_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return Narrow(text);
}

LRESULT PanelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_PAINT:
      PaintLines(Handle(), lines_);
      return 0;
    case WM_ACTIVATE:
      // As a dialog does: the edit field has the keyboard whenever the window is active.
      if (LOWORD(wParam) != WA_INACTIVE && edit_) SetFocus(edit_);
      return 0;
    case WM_SETFOCUS:
      if (edit_) SetFocus(edit_);
      return 0;
    case WM_CLOSE:
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU || (wParam & 0xFFF0) == SC_CLOSE) return 0;
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace clw4sim
