#include "printing/win32/frm_progress.h"

#include <commctrl.h>

#include <chrono>
#include <cmath>

#include "core/texts.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/window_frame.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

namespace {

constexpr UINT kStartRun = WM_APP + 1;
constexpr UINT_PTR kBlinkTimer = 1;
constexpr int kStopButtonId = 10;
constexpr double kProgressScale = 100.0;  // the bar counts hundredths of a percent

// Places in twips within the client area.
constexpr TwipsRect kLabel{120, 120, 7455, 495};
constexpr TwipsRect kStatus{0, 600, 7695, 2655};
constexpr TwipsRect kShape{105, 3465, 5445, 285};
constexpr TwipsRect kBar{120, 3480, 5415, 255};
constexpr TwipsRect kButton{5640, 3480, 1935, 495};
constexpr int kClientWidthTw = 7680;
constexpr int kClientHeightTw = 4050;

constexpr DWORD kStyle = kModalBoxStyle;
constexpr DWORD kExStyle = kModalBoxExStyle;

}  // namespace

FrmProgress::FrmProgress(HINSTANCE instance, platform::Clock& clock, PrintState& state, Run run)
    : instance_(instance),
      state_(state),
      run_(std::move(run)),
      services_(*this, *this, clock),
      logic_(*this, services_, state_, [this](int& printed) { return run_(*this, printed); }) {}

FrmProgress::~FrmProgress() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

int FrmProgress::Px(int twips) const { return TwipsToPixels(twips, dpi_); }

bool FrmProgress::CreateWindowAndControls() {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kProgressWindowClass;
  RegisterClassExW(&wc);

  owner_ = HiddenOwnerWindow(instance_);
  hwnd_ = CreateWindowExW(kExStyle, kProgressWindowClass, Widen(texts::kProgressCaption).c_str(), kStyle,
                          CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner_, nullptr, instance_, this);
  if (!hwnd_) return false;
  dpi_ = RunningWindows().DpiOf(hwnd_);

  // The designed client area, centred on the screen.
  SizeAndCentre(hwnd_, Px(kClientWidthTw), Px(kClientHeightTw), dpi_);

  auto child = [&](const wchar_t* cls, DWORD style, DWORD exStyle, int id) {
    return CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  };
  // Tab order: txtStatus, lblStatus, cmdCancel, prgProgress.
  txtStatus_ = child(L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE,
                     11);
  lblStatus_ = child(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, 12);
  cmdCancel_ = child(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, kStopButtonId);
  prgProgress_ = child(PROGRESS_CLASSW, PBS_SMOOTH, 0, 13);
  ApplyScaling();
  SendMessageW(txtStatus_, EM_SETLIMITTEXT, 0, 0);
  SendMessageW(prgProgress_, PBM_SETRANGE32, 0, static_cast<LPARAM>(100 * kProgressScale));
  SendMessageW(prgProgress_, PBM_SETPOS, 0, 0);
  return true;
}

// The controls' places in twips and the fonts in points, at the window's present scaling.
void FrmProgress::ApplyScaling() {
  const NONCLIENTMETRICSW metrics = RunningWindows().NonClientMetrics(dpi_);
  ScopedGdi font(CreateFontIndirectW(&metrics.lfMessageFont));
  LOGFONTW warning{};
  warning.lfHeight = -static_cast<LONG>(std::lround(15.75 * dpi_ / 72.0));
  warning.lfWeight = FW_BOLD;
  warning.lfCharSet = SHIFTJIS_CHARSET;
  wcscpy_s(warning.lfFaceName, L"ＭＳ Ｐゴシック");
  ScopedGdi warningFont(CreateFontIndirectW(&warning));
  const struct {
    HWND control;
    const TwipsRect& place;
    HGDIOBJ font;
  } controls[] = {{txtStatus_, kStatus, font.Get()},
                  {lblStatus_, kLabel, warningFont.Get()},
                  {cmdCancel_, kButton, font.Get()},
                  {prgProgress_, kBar, font.Get()}};
  for (const auto& c : controls) {
    MoveWindow(c.control, Px(c.place.left), Px(c.place.top), Px(c.place.width), Px(c.place.height), TRUE);
    SendMessageW(c.control, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), TRUE);
  }
  // The old fonts go only once no control uses them any more.
  font_ = std::move(font);
  warningFont_ = std::move(warningFont);
}

// Moved onto a monitor of another scaling: the designed client area at that scaling, where Windows
// suggests, and every control and font anew.
void FrmProgress::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  RECT frame{0, 0, Px(kClientWidthTw), Px(kClientHeightTw)};
  RunningWindows().AdjustWindowRect(frame, kStyle, false, kExStyle, dpi_);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame as the system draws it may differ from the one computed for the scaling: the client
  // area is what counts.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int dx = Px(kClientWidthTw) - client.right;
  const int dy = Px(kClientHeightTw) - client.bottom;
  if (dx != 0 || dy != 0)
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + dx, frame.bottom - frame.top + dy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  ApplyScaling();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void FrmProgress::ShowModal() {
  quitRequested_ = false;
  if (!CreateWindowAndControls()) {
    state_.LastPrintResult = -1;
    return;
  }
  logic_.Form_Load();
  if (sessionLock_) sessionLock_->Watch(hwnd_);
  SetTimer(hwnd_, kBlinkTimer, 500, nullptr);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(txtStatus_);
  // The run starts at the first activation; should the window not be activated, it starts anyway.
  PostMessageW(hwnd_, kStartRun, 0, 0);

  MSG msg;
  while (hwnd_ && IsWindow(hwnd_)) {
    if (quitRequested_ && !logic_.Running()) {
      EndForQuit();
      break;
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      QuitRequested(static_cast<int>(msg.wParam));
      continue;
    }
    if (got < 0) break;
    Dispatch(msg);
  }
}

// The program is to end: the report is not waited for, and the quit goes on to the main loop.
void FrmProgress::EndForQuit() {
  if (hwnd_ && IsWindow(hwnd_)) {
    KillTimer(hwnd_, kBlinkTimer);
    DestroyWindow(hwnd_);
  }
  PostQuitMessage(quitCode_);
}

void FrmProgress::QuitRequested(int code) {
  quitRequested_ = true;
  quitCode_ = code;
  // No keystroke may follow once nobody is left to see the report.
  logic_.StopForGood();
}

bool FrmProgress::Dispatch(MSG& msg) {
  const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                     (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                     (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCXBUTTONDBLCLK);
  if (input && msg.hwnd && hwnd_ && msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void FrmProgress::PumpPending() {
  const bool stopSeen = services_.CancelRequested();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      QuitRequested(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
    // Once the stop is pressed, the rest (the blink, which under Wine restacks the window through
    // the X server) waits for the next look, which reports the stop first.
    if (!stopSeen && services_.CancelRequested()) return;
  }
}

bool FrmProgress::StopPressWaiting() const {
  if (!hwnd_ || !cmdCancel_ || !IsWindowEnabled(cmdCancel_)) return false;
  // Looked at, not handled: no sent message is taken either.
  constexpr UINT kLook = PM_NOREMOVE | PM_QS_INPUT | PM_QS_POSTMESSAGE;
  MSG msg;
  if (PeekMessageW(&msg, hwnd_, WM_COMMAND, WM_COMMAND, kLook) && LOWORD(msg.wParam) == kStopButtonId) return true;
  if (PeekMessageW(&msg, cmdCancel_, WM_LBUTTONUP, WM_LBUTTONUP, kLook)) return true;
  if (PeekMessageW(&msg, cmdCancel_, WM_KEYUP, WM_KEYUP, kLook) && msg.wParam == VK_SPACE) return true;
  if (PeekMessageW(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, kLook) && msg.wParam == 'X' &&
      (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd)))
    return true;
  return false;
}

void FrmProgress::SleepUnlessStopWaits(platform::Clock&, int ms) {
  using Steady = std::chrono::steady_clock;
  const auto deadline = Steady::now() + std::chrono::milliseconds(ms > 0 ? ms : 0);
  for (;;) {
    if (StopPressWaiting()) return;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Steady::now()).count();
    if (left <= 0) return;
    // Wakes for input or a posted message that came since the last look; a message sent by
    // another thread (a reader of the status text) is answered by the next look at once. A press
    // that arrived between the looks above and this wait counts as seen already and wakes nothing:
    // the wait is cut into short pieces so that it is noticed all the same.
    constexpr long long kLookEveryMs = 8;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left < kLookEveryMs ? left : kLookEveryMs),
                              QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE);
  }
}

// --- ProgressView -------------------------------------------------------------------------------

void FrmProgress::MakeTopmost() {
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void FrmProgress::KeepOnTop() {
  // Wine's desktop lets another program's window that raises itself cover a topmost window of
  // ours; leaving the topmost band and entering it again puts the window back on top.
  if (!RunningUnderWine()) return;
  // Restacking goes through the X server and holds the run for a moment: only when a window has
  // come above this one.
  bool covered = false;
  for (HWND above = GetWindow(hwnd_, GW_HWNDPREV); above && !covered; above = GetWindow(above, GW_HWNDPREV))
    covered = IsWindowVisible(above) != FALSE;
  if (!covered) return;
  SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void FrmProgress::SetWarningText(std::string_view text) { SetWindowTextW(lblStatus_, Widen(text).c_str()); }

void FrmProgress::SetWarningVisible(bool visible) { ShowWindow(lblStatus_, visible ? SW_SHOWNA : SW_HIDE); }

void FrmProgress::SetButton(std::string_view caption, bool enabled) {
  SetWindowTextW(cmdCancel_, Widen(caption).c_str());
  EnableWindow(cmdCancel_, enabled ? TRUE : FALSE);
}

void FrmProgress::RemoveCloseItem() {
  // RemoveSystemMenuItem(window, SC_CLOSE): the close box and Alt+F4 go with the menu item.
  RemoveMenu(GetSystemMenu(hwnd_, FALSE), SC_CLOSE, MF_BYCOMMAND);
}

void FrmProgress::PostClose() { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

void FrmProgress::Close() { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

// --- ProgressDisplay ----------------------------------------------------------------------------

void FrmProgress::AppendStatus(std::string_view text) {
  const int length = GetWindowTextLengthW(txtStatus_);
  SendMessageW(txtStatus_, EM_SETSEL, length, length);
  const std::wstring wide = Widen(text);
  SendMessageW(txtStatus_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
  const int end = GetWindowTextLengthW(txtStatus_);
  SendMessageW(txtStatus_, EM_SETSEL, end, end);
  SendMessageW(txtStatus_, EM_SCROLLCARET, 0, 0);
}

void FrmProgress::ReplaceStatus(std::string_view text) { SetWindowTextW(txtStatus_, Widen(text).c_str()); }

void FrmProgress::SetProgress(double value) {
  SendMessageW(prgProgress_, PBM_SETPOS, static_cast<WPARAM>(std::lround(value * kProgressScale)), 0);
}

// --- messages -----------------------------------------------------------------------------------

LRESULT CALLBACK FrmProgress::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return DispatchToWindow(hwnd, msg, wp, lp, &FrmProgress::hwnd_, &FrmProgress::HandleMessage);
}

void FrmProgress::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  // Shape1: a frame in the button-shadow colour, one pixel around the progress bar.
  RECT r{Px(kShape.left), Px(kShape.top), Px(kShape.left + kShape.width), Px(kShape.top + kShape.height)};
  FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  EndPaint(hwnd_, &ps);
}

LRESULT FrmProgress::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && logic_.FirstActivation() && !logic_.Running())
        PostMessageW(hwnd_, kStartRun, 0, 0);
      break;
    case kStartRun: {
      // A run left alone overnight: the machine must not go to sleep under it.
      const KeepSystemAwake awake;
      logic_.Form_Activate();
      if (hwnd_) ShutdownBlockReasonDestroy(hwnd_);
      return 0;
    }
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_PAINT:
      logic_.Form_Paint();
      Paint();
      return 0;
    case WM_TIMER:
      if (wp == kBlinkTimer) {
        logic_.Timer1_Timer();
        KeepOnTop();
      }
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kStopButtonId && HIWORD(wp) == BN_CLICKED) logic_.cmdCancel_Click();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      if (reinterpret_cast<HWND>(lp) == lblStatus_) SetTextColor(dc, RGB(255, 0, 0));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE && !logic_.CloseAllowed()) return 0;
      break;
    case WM_QUERYENDSESSION:
      if (logic_.QueryEndSession()) return TRUE;
      ShutdownBlockReasonCreate(hwnd_, Widen(texts::kSessionEndDuringRun).c_str());
      return FALSE;
    case WM_ENDSESSION:
      if (wp) logic_.StopForGood();
      return 0;
    case WM_CLOSE:
      // Only the program closes this window: after a successful run, or by its 閉じる button.
      if (logic_.CloseAllowed()) {
        KillTimer(hwnd_, kBlinkTimer);
        DestroyWindow(hwnd_);
      }
      return 0;
    case WM_WTSSESSION_CHANGE:
      if (sessionLock_) sessionLock_->OnSessionChange(wp);
      return 0;
    case WM_NCDESTROY: {
      if (sessionLock_) sessionLock_->Unwatch(hwnd_);
      HWND gone = hwnd_;
      hwnd_ = nullptr;
      return DefWindowProcW(gone, msg, wp, lp);
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace velmok::win32
