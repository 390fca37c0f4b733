#include "clw4sim/window_win32.h"

#include "platform/win32/wide.h"

namespace clw4sim {

using velmok::win32::ScopedSelect;
using velmok::win32::Widen;

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (!window_) return;
  // The object is going: later messages (WM_DESTROY ...) must not reach it.
  SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
  window_.Reset();
}

bool Window::CreateAs(const wchar_t* className, DWORD exStyle, DWORD style, std::wstring_view title, RECT bounds,
                      HWND owner) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{sizeof existing};
  if (!GetClassInfoExW(instance, className, &existing)) {
    WNDCLASSEXW wc{sizeof wc};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) return false;
  }
  const std::wstring text(title);
  HWND created = CreateWindowExW(exStyle, className, text.c_str(), style, bounds.left, bounds.top,
                                 bounds.right - bounds.left, bounds.bottom - bounds.top, owner, nullptr, instance, this);
  // window_ was set at WM_NCCREATE.
  return created != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.Reset(window);
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_.Release();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

HFONT UiFont() {
  static const HFONT font = [] {
    LOGFONTW lf{};
    lf.lfHeight = -15;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcscpy_s(lf.lfFaceName, L"MS UI Gothic");
    HFONT made = CreateFontIndirectW(&lf);
    return made ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

void PaintLines(HWND window, const std::vector<std::string>& lines) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  {
    ScopedSelect font(dc, UiFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int step = tm.tmHeight + tm.tmExternalLeading + 6;
    int y = 14;
    for (const auto& line : lines) {
      const std::wstring text = Widen(line);
      TextOutW(dc, 16, y, text.c_str(), static_cast<int>(text.size()));
      y += step;
    }
  }
  EndPaint(window, &ps);
}

RECT PlacedOver(HWND owner, int width, int height) {
  constexpr int kBelowText = 200;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  int top = (area.bottom - height) / 2;
  if (owner) {
    GetWindowRect(owner, &area);
    top = area.top + kBelowText;
  }
  const int left = area.left + ((area.right - area.left) - width) / 2;
  return RECT{left, top, left + width, top + height};
}

}  // namespace clw4sim
