#include "mainwindow/win32/toolbar_strip.h"

#include <cmath>

#include "mainwindow/commands.h"
#include "mainwindow/layout.h"
#include "platform/win32/window_frame.h"
#include "resource.h"

namespace velmok::win32 {

namespace {

constexpr wchar_t kStripClass[] = L"VELMOK.picToolBerContainer";

}  // namespace

bool ToolbarStrip::Create(HWND parent, HINSTANCE instance, UINT dpi) {
  instance_ = instance;
  dpi_ = dpi;
  RegisterWindowClass(instance, kStripClass, StripProc);
  strip_ = CreateWindowExW(0, kStripClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent, nullptr,
                           instance, this);
  if (!strip_) return false;

  toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                 CCS_NORESIZE | CCS_NOPARENTALIGN,
                             0, 0, 0, 0, strip_, nullptr, instance, nullptr);
  if (!toolbar_) return false;
  SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  LoadPictures(dpi);

  TBBUTTON buttons[kToolbarButtons.size()] = {};
  for (std::size_t i = 0; i < kToolbarButtons.size(); ++i) {
    const ToolbarButton& b = kToolbarButtons[i];
    TBBUTTON& t = buttons[i];
    if (b.kind == ToolbarButtonKind::Separator) {
      t.fsStyle = BTNS_SEP;
      continue;
    }
    t.iBitmap = b.imageIndex;
    t.idCommand = b.id;
    t.fsState = TBSTATE_ENABLED;
    t.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (b.kind == ToolbarButtonKind::Check ? BTNS_CHECK : 0));
    t.iString = -1;
  }
  SendMessageW(toolbar_, TB_ADDBUTTONSW, kToolbarButtons.size(), reinterpret_cast<LPARAM>(buttons));
  return true;
}

ToolbarMetrics ToolbarMetricsFor(UINT dpi) {
  // The toolbar's height in the strip, as the layout places it; the buttons fill it, and their
  // pictures are the largest of the three sizes drawn that leave the frame of a pressed button
  // (two pixels each side) inside it.
  const int height = static_cast<int>(std::lround(kToolbarHeightTw * static_cast<float>(dpi) / 1440.0f));
  int picture = dpi >= 168 ? 32 : dpi >= 120 ? 24 : 16;
  while (picture > 16 && picture + 4 > height) picture -= 8;
  return {picture, picture + MulDiv(8, static_cast<int>(dpi), 96), std::max(height, picture + 4)};
}

void ToolbarStrip::LoadPictures(UINT dpi) {
  // iltToolBar: twelve pictures, light grey as the mask colour.
  const ToolbarMetrics m = ToolbarMetricsFor(dpi);
  const int resource = m.picture == 32 ? IDB_TOOLBAR32 : m.picture == 24 ? IDB_TOOLBAR24 : IDB_TOOLBAR;
  pictures_.Reset(ImageList_Create(m.picture, m.picture, ILC_COLOR24 | ILC_MASK, 12, 0));
  ScopedGdi strip(LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ImageList_AddMasked(pictures_.Get(), static_cast<HBITMAP>(strip.Get()), RGB(192, 192, 192));
  SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures_.Get()));
  SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(m.picture, m.picture));
  // The padding is what the button has around its picture, so that the size set is the size taken.
  SendMessageW(toolbar_, TB_SETPADDING, 0, MAKELPARAM(m.buttonWidth - m.picture, m.buttonHeight - m.picture));
  SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(m.buttonWidth, m.buttonHeight));
  SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

void ToolbarStrip::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  LoadPictures(dpi);
}

void ToolbarStrip::Place(int left, int top, int width, int height, int lineX2, int toolbarTop, int toolbarHeight) {
  lineX2_ = lineX2;
  MoveWindow(strip_, left, top, width, height, TRUE);
  MoveWindow(toolbar_, 0, toolbarTop, width, toolbarHeight, TRUE);
  InvalidateRect(strip_, nullptr, TRUE);
}

void ToolbarStrip::SetEnabled(int id, bool enabled) { SendMessageW(toolbar_, TB_ENABLEBUTTON, id, MAKELONG(enabled, 0)); }
void ToolbarStrip::SetChecked(int id, bool checked) { SendMessageW(toolbar_, TB_CHECKBUTTON, id, MAKELONG(checked, 0)); }
bool ToolbarStrip::IsEnabled(int id) const { return SendMessageW(toolbar_, TB_ISBUTTONENABLED, id, 0) != 0; }
bool ToolbarStrip::IsChecked(int id) const { return SendMessageW(toolbar_, TB_ISBUTTONCHECKED, id, 0) != 0; }

bool ToolbarStrip::OnNotify(NMHDR* header) {
  if (header->code != TTN_GETDISPINFOW) return false;
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
  for (const auto& b : kToolbarButtons) {
    if (b.kind == ToolbarButtonKind::Separator || static_cast<UINT_PTR>(b.id) != header->idFrom) continue;
    info->hinst = GetModuleHandleW(nullptr);
    info->lpszText = MAKEINTRESOURCEW(b.tipStringId);
    return true;
  }
  return false;
}

LRESULT CALLBACK ToolbarStrip::StripProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(
                                                reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<ToolbarStrip*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
      // The toolbar's clicks and tool-tip requests belong to the main window.
      return SendMessageW(GetParent(hwnd), msg, wp, lp);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (self) {
        // LinDevide 0 (shadow) and 1 (highlight, one pixel lower): an etched rule.
        const int x2 = self->lineX2_;
        RECT shadow{0, 0, x2, 1};
        RECT light{0, 1, x2, 2};
        FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
        FillRect(dc, &light, GetSysColorBrush(COLOR_3DHIGHLIGHT));
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace velmok::win32
