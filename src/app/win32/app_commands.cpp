#include "app/win32/app_commands.h"

#include "intake/win32/file_property_win32.h"

namespace velmok::win32 {

void AppCommands::Paste() {
  if (parts_.intake && parts_.clipboard) parts_.intake->PasteFiles(*parts_.clipboard);
}

void AppCommands::ShowFileProperty(const std::string& path) { win32::ShowFileProperty(Owner(), path); }

void AppCommands::PrintAll() {
  if (parts_.print) parts_.print->mnuPrint_AllPrint_Click();
}

void AppCommands::PrintSelected() {
  if (parts_.print) parts_.print->mnuPrint_SelectedPrint_Click();
}

void AppCommands::SendMail() {
  if (parts_.diagnostics) parts_.diagnostics->SendMail(Owner());
}

void AppCommands::OpenMakersWebPage() {
  if (parts_.diagnostics) parts_.diagnostics->OpenMakersWebPage();
}

void AppCommands::LogLevelChosen(int index) {
  if (parts_.logLevels && parts_.log) mnuDebug_LoggingLevel_Click(index, *parts_.logLevels, *parts_.log);
}

void AppCommands::RestoreLogLevel() {
  if (parts_.logLevels && parts_.log) velmok::RestoreLogLevel(*parts_.logLevels, *parts_.log);
}

void AppCommands::SaveLogLevel() {
  if (parts_.logLevels) velmok::SaveLogLevel(*parts_.logLevels);
}

void AppCommands::ShowAbout() {
  if (parts_.diagnostics) parts_.diagnostics->ShowAbout();
}

}  // namespace velmok::win32
