#include "diagnostics/win32/frm_about.h"

#include <cmath>

#include "platform/win32/newer_windows.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_frame.h"
#include "resource.h"

namespace velmok::win32 {

namespace {

// Places in twips within the client area. The labels lie inside the picture box, their places
// relative to it.
constexpr TwipsRect kPicIcon{0, 0, 6000, 4500};
constexpr TwipsRect kVersionLabel{2040, 1080, 3885, 225};
constexpr TwipsRect kDescriptionLabel{840, 2760, 3885, 1170};
constexpr TwipsRect kWWWButton{720, 4680, 1545, 465};
constexpr TwipsRect kSysInfoButton{2520, 4680, 1620, 465};
constexpr TwipsRect kOKButton{4320, 4680, 1545, 465};
constexpr int kClientWidthTw = 6000;
constexpr int kClientHeightTw = 5265;

constexpr DWORD kStyle = kModalBoxStyle;
constexpr DWORD kExStyle = kModalBoxExStyle;

struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC dc) { DeleteDC(dc); }
};
using ScopedMemoryDc = Scoped<HDC, MemoryDcTraits>;

// picIcon: draws its picture (a bitmap in its user data) over its whole client area and lets its
// labels show the picture through.
LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      const auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      RECT client;
      GetClientRect(hwnd, &client);
      BITMAP info{};
      if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
        ScopedMemoryDc source(CreateCompatibleDC(dc));
        ScopedSelect select(source.Get(), bitmap);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, 0, 0, client.right, client.bottom, source.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
      } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

void RegisterClasses(HINSTANCE instance, WNDPROC windowProc) {
  RegisterWindowClass(instance, kAboutWindowClass, windowProc);
  RegisterWindowClass(instance, kAboutPictureClass, PictureProc, nullptr);
}

}  // namespace

FrmAbout::FrmAbout(HINSTANCE instance, Services services)
    : instance_(instance),
      logic_(*this, {services.shell, std::move(services.webAddress),
                     {services.registry, services.files, services.launcher, messages_}, services.version}) {}

FrmAbout::~FrmAbout() {
  if (hwnd_) {
    EnableOtherWindows();
    DestroyWindow(hwnd_);
  }
}

int FrmAbout::Px(int twips) const { return TwipsToPixels(twips, dpi_); }

bool FrmAbout::CreateWindowAndControls() {
  RegisterClasses(instance_, WindowProc);
  hwnd_ = CreateWindowExW(kExStyle, kAboutWindowClass, Widen(about_texts::kCaptionAsCreated).c_str(), kStyle,
                          CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, HiddenOwnerWindow(instance_), nullptr, instance_, this);
  if (!hwnd_) return false;
  messages_.SetOwner(hwnd_);
  dpi_ = RunningWindows().DpiOf(hwnd_);

  // The designed client area, centred on the screen.
  SizeAndCentre(hwnd_, Px(kClientWidthTw), Px(kClientHeightTw), dpi_);

  const NONCLIENTMETRICSW metrics = RunningWindows().NonClientMetrics(dpi_);
  font_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
  picture_.Reset(LoadImageW(instance_, MAKEINTRESOURCEW(IDB_ABOUT), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  CreateControls();
  return true;
}

void FrmAbout::CreateControls() {
  auto child = [&](HWND parent, const wchar_t* cls, std::string_view text, DWORD style, const TwipsRect& r, int id) {
    HWND h = CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, Px(r.left), Px(r.top),
                             Px(r.width), Px(r.height), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             instance_, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return h;
  };
  // Not clipping its children: the labels are drawn over the picture.
  picIcon_ = child(hwnd_, kAboutPictureClass, "", 0, kPicIcon, kPicIconId);
  SetWindowLongPtrW(picIcon_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture_.Get()));
  lblVersion_ = child(picIcon_, L"STATIC", "", SS_LEFT | SS_NOPREFIX, kVersionLabel, kVersionLabelId);
  lblDescription_ =
      child(picIcon_, L"STATIC", about_texts::kDescription, SS_LEFT | SS_NOPREFIX, kDescriptionLabel, kDescriptionLabelId);
  // Tab order: from left to right.
  cmdWWW_ = child(hwnd_, L"BUTTON", about_texts::kWWWButton, WS_TABSTOP | BS_PUSHBUTTON, kWWWButton, kWWWButtonId);
  cmdSysInfo_ = child(hwnd_, L"BUTTON", about_texts::kSysInfoButton, WS_TABSTOP | BS_PUSHBUTTON, kSysInfoButton,
                      kSysInfoButtonId);
  cmdOK_ = child(hwnd_, L"BUTTON", about_texts::kOKButton, WS_TABSTOP | BS_DEFPUSHBUTTON, kOKButton, kOKButtonId);
}

bool FrmAbout::Open() {
  if (hwnd_) return true;
  previousActive_ = GetActiveWindow();
  if (!CreateWindowAndControls()) return false;
  logic_.Form_Load();
  DisableOtherWindows();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  focus_ = cmdOK_;
  SetFocus(cmdOK_);
  return true;
}

void FrmAbout::ShowModal() {
  if (!Open()) return;
  MSG msg;
  while (hwnd_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: close the box and let the outer loop see the quit message too.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      Close();
      break;
    }
    if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

namespace {

struct OtherWindows {
  HWND self;
  HWND owner;
  std::vector<HWND>* enabled;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM lp) noexcept {
  auto* s = reinterpret_cast<OtherWindows*>(lp);
  if (window == s->self || window == s->owner || !IsWindowEnabled(window)) return TRUE;
  try {
    s->enabled->push_back(window);
    return TRUE;
  } catch (...) {
    return FALSE;  // out of memory: the windows found so far are disabled
  }
}

}  // namespace

void FrmAbout::DisableOtherWindows() {
  OtherWindows state{hwnd_, GetWindow(hwnd_, GW_OWNER), &disabled_};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&state));
  for (HWND window : disabled_) EnableWindow(window, FALSE);
}

void FrmAbout::EnableOtherWindows() {
  for (HWND window : disabled_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  disabled_.clear();
}

// --- AboutView ----------------------------------------------------------------------------------

void FrmAbout::SetCaption(std::string_view text) { SetWindowTextW(hwnd_, Widen(text).c_str()); }

void FrmAbout::SetVersionText(std::string_view text) {
  SetWindowTextW(lblVersion_, Widen(text).c_str());
  // A transparent label: the picture under the old text is drawn again first.
  RECT r;
  GetWindowRect(lblVersion_, &r);
  MapWindowPoints(nullptr, picIcon_, reinterpret_cast<POINT*>(&r), 2);
  RedrawWindow(picIcon_, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void FrmAbout::Close() {
  if (!hwnd_) return;
  // The other windows come back before this one goes, so that the activation returns to them.
  EnableOtherWindows();
  const HWND back = previousActive_;
  DestroyWindow(hwnd_);
  if (back && IsWindow(back) && IsWindowVisible(back)) SetForegroundWindow(back);
}

// --- messages -----------------------------------------------------------------------------------

LRESULT CALLBACK FrmAbout::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return DispatchToWindow(hwnd, msg, wp, lp, &FrmAbout::hwnd_, &FrmAbout::HandleMessage);
}

void FrmAbout::OnCommand(int id) {
  switch (id) {
    case kOKButtonId:
    case IDCANCEL: logic_.cmdOK_Click(); break;
    case kWWWButtonId: logic_.cmdWWW_Click(); break;
    case kSysInfoButtonId: logic_.cmdSysInfo_Click(); break;
    default: break;
  }
}

void FrmAbout::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) focus_ = focus;
  } else if (focus_ && IsWindow(focus_)) {
    SetFocus(focus_);
  }
}

LRESULT FrmAbout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) OnCommand(LOWORD(wp));
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(kOKButtonId, DC_HASDEFID);
    case WM_ACTIVATE:
      OnActivate(LOWORD(wp) != WA_INACTIVE);
      return 0;
    case WM_CLOSE:
      logic_.cmdOK_Click();
      return 0;
    case WM_NCDESTROY:
      picIcon_ = lblVersion_ = lblDescription_ = cmdWWW_ = cmdSysInfo_ = cmdOK_ = focus_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace velmok::win32
