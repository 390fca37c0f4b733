#pragma once
// The base of the simulator's windows: `this` is stored at WM_NCCREATE and messages go to the
// member HandleMessage; the window is destroyed with its object.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/scoped.h"

namespace clw4sim {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return window_.Get(); }
  void Destroy();

 protected:
  // Registers the class once (its procedure is the thunk) and creates the window.
  bool CreateAs(const wchar_t* className, DWORD exStyle, DWORD style, std::wstring_view title, RECT bounds,
                HWND owner);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  velmok::win32::ScopedWindow window_;
};

// Whether the simulator's windows are ANSI windows (classes, creation, window procedures, texts
// in the ANSI code page), as those of a program of ClarisWorks' time. Set once, before any window.
void UseAnsiWindows(bool ansi);
bool AnsiWindows();

// UTF-8 to the ANSI code page and back; a character the code page lacks becomes '?' (or a
// look-alike), as for any ANSI program.
std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

// Sets a window's title, through the ANSI code page for ANSI windows.
void SetTitle(HWND window, std::string_view utf8);

// The font of every text the simulator draws (a Japanese user-interface font).
HFONT UiFont();

// Draws `lines` (UTF-8) from the top left of the client area, one under the other.
void PaintLines(HWND window, const std::vector<std::string>& lines);

// The rectangle of a `width` x `height` window over `owner`: centred across it, below the lines of
// text at its top (centred on the screen when there is no owner).
RECT PlacedOver(HWND owner, int width, int height);

}  // namespace clw4sim
