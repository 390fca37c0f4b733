#pragma once
// frmAbout: the about box. The program's name in the caption, the version over a picture, and
// three buttons: the maker's web page, the system information tool, OK. Shown modally without an
// owner: every other window of the program takes no input until it closes. A hidden owner keeps
// it out of the task bar.

#include <windows.h>

#include <string>
#include <vector>

#include "core/texts.h"
#include "diagnostics/frm_about_logic.h"
#include "platform/win32/scoped.h"
#include "platform/win32/system_win32.h"

namespace velmok::win32 {

inline constexpr wchar_t kAboutWindowClass[] = L"VELMOK.frmAbout";
inline constexpr wchar_t kAboutPictureClass[] = L"VELMOK.picIcon";

class FrmAbout final : public AboutView {
 public:
  // Control identifiers; cmdOK is IDOK, so that Enter and Esc press it.
  static constexpr int kPicIconId = 100;
  static constexpr int kVersionLabelId = 101;
  static constexpr int kDescriptionLabelId = 102;
  static constexpr int kWWWButtonId = 103;
  static constexpr int kSysInfoButtonId = 104;
  static constexpr int kOKButtonId = IDOK;

  struct Services {
    const ShellServices& shell;
    std::string webAddress;
    platform::Registry& registry;
    platform::FileSystem& files;
    platform::ProgramLauncher& launcher;
    ProgramVersion version;
  };

  FrmAbout(HINSTANCE instance, Services services);
  FrmAbout(const FrmAbout&) = delete;
  FrmAbout& operator=(const FrmAbout&) = delete;
  ~FrmAbout() override;

  // Open, then the box's own message loop until it has closed.
  void ShowModal();
  // Creates the box, runs its load, disables the thread's other windows and shows it centred on
  // the screen with the focus on OK. False when the window could not be created.
  bool Open();
  bool IsOpen() const { return hwnd_ != nullptr; }

  HWND Handle() const { return hwnd_; }
  HWND Picture() const { return picIcon_; }
  HWND VersionLabel() const { return lblVersion_; }
  HWND DescriptionLabel() const { return lblDescription_; }
  HWND WWWButton() const { return cmdWWW_; }
  HWND SysInfoButton() const { return cmdSysInfo_; }
  HWND OKButton() const { return cmdOK_; }
  FrmAboutLogic& Logic() { return logic_; }

  // AboutView
  void SetCaption(std::string_view text) override;
  void SetVersionText(std::string_view text) override;
  void Close() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  bool CreateWindowAndControls();
  void CreateControls();
  void OnCommand(int id);
  void OnActivate(bool active);
  void DisableOtherWindows();
  void EnableOtherWindows();
  int Px(int twips) const;

  HINSTANCE instance_;
  Win32MessageBoxes messages_{texts::kAppTitle};  // owned by the box once it exists
  FrmAboutLogic logic_;
  HWND hwnd_ = nullptr;
  HWND picIcon_ = nullptr;
  HWND lblVersion_ = nullptr;
  HWND lblDescription_ = nullptr;
  HWND cmdWWW_ = nullptr;
  HWND cmdSysInfo_ = nullptr;
  HWND cmdOK_ = nullptr;
  HWND focus_ = nullptr;           // the control that had the focus when the box was last deactivated
  HWND previousActive_ = nullptr;  // activated again when the box closes
  std::vector<HWND> disabled_;     // the windows this box disabled, enabled again when it closes
  ScopedGdi picture_;
  ScopedGdi font_;
  UINT dpi_ = 96;
};

}  // namespace velmok::win32
