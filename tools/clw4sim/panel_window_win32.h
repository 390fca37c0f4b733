#pragma once
// The windows the simulator shows above its main window: the dialogs ("開く", "印刷", "警告") and
// the printing window. Each is a top-level window owned by the main window, with a few lines of
// text; the Open dialog also has the edit field that takes the typed path.

#include <string>
#include <vector>

#include "clw4sim/window_win32.h"

namespace clw4sim {

struct PanelLook {
  const wchar_t* className = L"";
  std::string title;
  std::vector<std::string> lines;
  bool withEditField = false;
  int width = 460;
  int height = 170;
};

class PanelWindow final : public Window {
 public:
  // Creates the window hidden; Show makes it visible, taking the foreground when `activate`.
  bool Create(HWND owner, const PanelLook& look);
  void Show(bool activate);
  std::string EditText() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

 private:
  std::vector<std::string> lines_;
  HWND edit_ = nullptr;
};

}  // namespace clw4sim
