#include "diagnostics/win32/diagnostics_commands.h"

#include "diagnostics/mail_report.h"
#include "diagnostics/win32/frm_about.h"
#include "diagnostics/win32/program_version.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"
#include "resource.h"

namespace velmok::win32 {

std::string ResourceString(HINSTANCE instance, UINT id) {
  const wchar_t* text = nullptr;
  // With no buffer length, LoadStringW hands out the string in the resource itself.
  const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return {};
  return Narrow(std::wstring_view(text, static_cast<std::size_t>(length)));
}

DiagnosticsCommands::DiagnosticsCommands(HINSTANCE instance, platform::Shell& shell, platform::FileSystem& files)
    : instance_(instance),
      shell_{shell, reinterpret_cast<platform::WindowId>(GetDesktopWindow()), Narrow(ProgramFolder())},
      files_(files),
      supportAddress_(ResourceString(instance, IDS_SUPPORT_MAIL)),
      webAddress_(ResourceString(instance, IDS_WEB_ADDRESS)),
      version_(ReadProgramVersion(instance).value_or(ProgramVersion{})) {}

void DiagnosticsCommands::SendMail(HWND mainWindow) {
  mnuDebug_SendMail_Click(shell_, reinterpret_cast<platform::WindowId>(mainWindow), supportAddress_);
}

void DiagnosticsCommands::OpenMakersWebPage() { OpenWithShell(shell_, webAddress_); }

void DiagnosticsCommands::ShowAbout() {
  FrmAbout about(instance_, {shell_, webAddress_, registry_, files_, launcher_, version_});
  about.ShowModal();
}

}  // namespace velmok::win32
