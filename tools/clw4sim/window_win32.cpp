#include "clw4sim/window_win32.h"

#include "platform/win32/wide.h"

namespace clw4sim {

using velmok::win32::ScopedSelect;
using velmok::win32::Widen;

namespace {

bool g_ansi = false;

}  // namespace

void UseAnsiWindows(bool ansi) { g_ansi = ansi; }
bool AnsiWindows() { return g_ansi; }

std::string ToAnsi(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return velmok::win32::Narrow(wide);
}

void SetTitle(HWND window, std::string_view utf8) {
  if (g_ansi)
    SetWindowTextA(window, ToAnsi(utf8).c_str());
  else
    SetWindowTextW(window, Widen(utf8).c_str());
}

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
  if (g_ansi) {
    const std::string name = ToAnsi(velmok::win32::Narrow(className));
    WNDCLASSEXA existingA{sizeof existingA};
    if (!GetClassInfoExA(instance, name.c_str(), &existingA)) {
      WNDCLASSEXA wc{sizeof wc};
      wc.style = CS_HREDRAW | CS_VREDRAW;
      wc.lpfnWndProc = Procedure;
      wc.hInstance = instance;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
      wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
      wc.lpszClassName = name.c_str();
      if (!RegisterClassExA(&wc)) return false;
    }
    const std::string text = ToAnsi(velmok::win32::Narrow(title));
    return CreateWindowExA(exStyle, name.c_str(), text.c_str(), style, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, owner, nullptr, instance,
                           this) != nullptr;
  }
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
  return g_ansi ? DefWindowProcA(Handle(), message, wParam, lParam) : DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const auto defaultProcedure = g_ansi ? DefWindowProcA : DefWindowProcW;
  if (message == WM_NCCREATE) {
    // lpCreateParams comes first in CREATESTRUCTA and CREATESTRUCTW alike.
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.Reset(window);
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return defaultProcedure(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_.Release();
    return defaultProcedure(window, message, wParam, lParam);
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
