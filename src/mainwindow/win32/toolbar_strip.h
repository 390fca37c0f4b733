#pragma once
// picToolBerContainer: the strip along the top of the main window, with the etched rule under the
// menu bar (LinDevide 0 and 1) and the toolbar tlbToolBar with its 17 positions.

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/scoped.h"

namespace velmok::win32 {

// The toolbar's buttons at a scaling: their size and that of their pictures, in pixels.
struct ToolbarMetrics {
  int picture;
  int buttonWidth;
  int buttonHeight;
};
ToolbarMetrics ToolbarMetricsFor(UINT dpi);

class ToolbarStrip {
 public:
  bool Create(HWND parent, HINSTANCE instance, UINT dpi);
  HWND Handle() const { return strip_; }
  HWND Toolbar() const { return toolbar_; }

  // Places the strip (pixels) and the toolbar inside it; lineX2 is where the rule ends.
  void Place(int left, int top, int width, int height, int lineX2, int toolbarTop, int toolbarHeight);
  void ApplyDpi(UINT dpi);

  void SetEnabled(int id, bool enabled);
  void SetChecked(int id, bool checked);
  bool IsEnabled(int id) const;
  bool IsChecked(int id) const;

  // The tool tip of a button (TTN_GETDISPINFO).
  static bool OnNotify(NMHDR* header);

 private:
  static LRESULT CALLBACK StripProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  void LoadPictures(UINT dpi);

  HINSTANCE instance_ = nullptr;
  HWND strip_ = nullptr;
  HWND toolbar_ = nullptr;
  ScopedImageList pictures_;
  int lineX2_ = 0;
  UINT dpi_ = 96;
};

}  // namespace velmok::win32
