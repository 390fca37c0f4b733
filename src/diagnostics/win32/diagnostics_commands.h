#pragma once
// The diagnostics commands of the main window with their real services: the mail report, the
// maker's web page and the about box. The two addresses come from the string table.

#include <windows.h>

#include <string>

#include "diagnostics/frm_about_logic.h"
#include "diagnostics/shell_open.h"
#include "platform/file_system.h"
#include "platform/win32/program_launcher_win32.h"
#include "platform/win32/registry_win32.h"

namespace velmok::win32 {

// A string of the module's string table, empty when there is none.
std::string ResourceString(HINSTANCE instance, UINT id);

class DiagnosticsCommands {
 public:
  DiagnosticsCommands(HINSTANCE instance, platform::Shell& shell, platform::FileSystem& files);

  // mnuDebug_SendMail and the toolbar button "Mail".
  void SendMail(HWND mainWindow);
  // The toolbar button "Inet".
  void OpenMakersWebPage();
  // バージョン情報(&A)... and the toolbar button "Info": modal, returns when the box has closed.
  void ShowAbout();

  const std::string& SupportAddress() const { return supportAddress_; }
  const std::string& WebAddress() const { return webAddress_; }

 private:
  HINSTANCE instance_;
  ShellServices shell_;
  platform::FileSystem& files_;
  Win32Registry registry_;
  Win32ProgramLauncher launcher_;
  std::string supportAddress_;
  std::string webAddress_;
  ProgramVersion version_;
};

}  // namespace velmok::win32
