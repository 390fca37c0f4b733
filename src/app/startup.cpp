#include "app/startup.h"

#include "core/texts.h"

namespace velmok {

StartupOutcome Main(StartupServices s) {
  s.log.InitLogFile();
  if (!s.instance.TryAcquire()) return StartupOutcome::AnotherInstance;
  if (!s.probes.GetClarisMainTitle().empty()) {
    s.messages.ShowOk(texts::kCloseClarisBeforeStart, platform::MessageBoxes::Icon::Information);
    return StartupOutcome::ClarisRunning;
  }
  if (!s.probes.FindWindowByTitle(texts::kPrintDialogTitle).empty()) {
    s.messages.ShowOk(texts::kCloseOtherAppsBeforeStart, platform::MessageBoxes::Icon::Information);
    return StartupOutcome::PrintWindowOpen;
  }
  return StartupOutcome::ShowMainWindow;
}

}  // namespace velmok
