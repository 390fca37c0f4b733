// focusthief.exe <hold-ms> <keylog-path> [<title> [behind]] — another program that pushes itself
// into the foreground for a while, as a mail notifier or an update prompt does in the middle of a
// print run; or, with "behind", one that only keeps a window open in the background (a mail
// program's "警告", an editor's "印刷").
//
// It remembers the foreground window, creates its key journal (empty, before its window shows, so
// a test can tell that it ran), shows the window "よそのアプリ" (or <title>; class
// "VelmokFocusThief") and takes the foreground, unless "behind". Every key it receives meanwhile is
// journalled in the simulator's key journal format (status "ignored", or "modifier" for Ctrl, Shift
// and Alt). After <hold-ms> milliseconds it gives the foreground back to the window it took it from
// and ends.

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "clw4sim/journal_file_win32.h"
#include "clw4sim/key_input_win32.h"
#include "clw4sim/texts.h"
#include "clw4sim/window_win32.h"
#include "platform/win32/wide.h"

namespace {

using velmok::win32::Narrow;
using velmok::win32::Widen;

constexpr UINT_PTR kHoldTimer = 1;

class ThiefWindow final : public clw4sim::Window {
 public:
  ThiefWindow(HWND previous, unsigned holdMs, std::wstring title, bool behind)
      : previous_(previous), holdMs_(holdMs), title_(std::move(title)), behind_(behind) {}

  bool Create() {
    const std::wstring className = Widen(clw4sim::texts::kThiefClass);
    const RECT bounds{260, 220, 260 + 440, 220 + 150};
    if (!CreateAs(className.c_str(), behind_ ? 0 : WS_EX_TOPMOST, WS_OVERLAPPEDWINDOW, title_, bounds, nullptr))
      return false;
    if (behind_) {
      ShowWindow(Handle(), SW_SHOWNOACTIVATE);
      SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
      // In the foreground before it can be seen, so that keys typed once it shows reach it.
      SetForegroundWindow(Handle());
      ShowWindow(Handle(), SW_SHOW);
      SetFocus(Handle());
    }
    UpdateWindow(Handle());
    SetTimer(Handle(), kHoldTimer, holdMs_, nullptr);
    return true;
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override {
    switch (message) {
      case WM_PAINT:
        clw4sim::PaintLines(Handle(), {std::string(clw4sim::texts::kThiefText)});
        return 0;
      case WM_TIMER:
        if (wParam == kHoldTimer) GiveBack();
        return 0;
      case WM_CLOSE:
        GiveBack();
        return 0;
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
        break;
      default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
  }

 private:
  void GiveBack() {
    KillTimer(Handle(), kHoldTimer);
    if (!behind_ && previous_ && IsWindow(previous_)) SetForegroundWindow(previous_);
    Destroy();
    PostQuitMessage(0);
  }

  HWND previous_;
  unsigned holdMs_;
  std::wstring title_;
  bool behind_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 3) {
    if (arguments) LocalFree(arguments);
    return 2;
  }
  const unsigned holdMs = static_cast<unsigned>(wcstoul(arguments[1], nullptr, 10));
  const std::string keyJournalPath = Narrow(arguments[2]);
  const std::wstring title = count > 3 ? std::wstring(arguments[3]) : Widen(clw4sim::texts::kThiefTitle);
  const bool behind = count > 4 && std::wstring(arguments[4]) == L"behind";
  LocalFree(arguments);

  const HWND previous = GetForegroundWindow();
  clw4sim::TouchFile(keyJournalPath);
  clw4sim::KeyJournal journal(keyJournalPath);
  ThiefWindow window(previous, holdMs, title, behind);
  if (!window.Create()) return 1;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    switch (clw4sim::KindOfMessage(msg)) {
      case clw4sim::KeyMessage::Swallowed:
        continue;
      case clw4sim::KeyMessage::Journalled: {
        const clw4sim::KeyEvent event = clw4sim::KeyEventOf(msg);
        const bool modifier = event.IsDown() && clw4sim::IsModifierKey(event.code);
        journal.Record(modifier ? clw4sim::KeyStatus::Modifier : clw4sim::KeyStatus::Ignored, event,
                       clw4sim::RootTitle(msg.hwnd), modifier ? "modifier" : "another program has the foreground");
        TranslateMessage(&msg);
        continue;
      }
      case clw4sim::KeyMessage::NotAKey:
        break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
