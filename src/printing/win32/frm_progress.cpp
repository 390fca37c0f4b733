#include "printing/win32/frm_progress.h"

#include <commctrl.h>

#include <cmath>

#include "core/texts.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/window_frame.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

namespace {

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

FrmProgress::FrmProgress(HINSTANCE instance, platform::Clock& clock, PrintState& state, RunSessionHold& session,
                         Run run)
    : instance_(instance),
      state_(state),
      session_(session),
      run_(std::move(run)),
      services_(*this, *this, clock),
      logic_(*this, services_, state_, session_, [this](int& printed) { return run_(*this, printed); }) {}

FrmProgress::~FrmProgress() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

int FrmProgress::Px(int twips) const { return TwipsToPixels(twips, dpi_); }

bool FrmProgress::CreateWindowAndControls() {
  RegisterWindowClass(instance_, kProgressWindowClass, WindowProc);

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

// --- ProgressView -------------------------------------------------------------------------------

void FrmProgress::MakeTopmost() {
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

void FrmProgress::StartRunOnce() {
  // Posted, so that the activation's handler returns first; once per showing, so that the run's own
  // first look at its events finds no second start waiting.
  if (startPosted_) return;
  startPosted_ = true;
  PostMessageW(hwnd_, kStartRun, 0, 0);
}

LRESULT FrmProgress::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT result = 0; HandleSessionMessage(msg, wp, result)) return result;
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && logic_.FirstActivation()) StartRunOnce();
      break;
    case kStartRun:
      logic_.Form_Activate();
      return 0;
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
        // A restack holds the thread for some milliseconds: a press of the stop comes first.
        if (!StopPressWaiting()) keepOnTop_.Look(hwnd_);
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
    case WM_CLOSE:
      // Only the program closes this window: after a successful run, or by its 閉じる button.
      if (logic_.CloseAllowed()) {
        KillTimer(hwnd_, kBlinkTimer);
        DestroyWindow(hwnd_);
      }
      return 0;
    case WM_DESTROY:
      EndSessionDuties();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace velmok::win32
