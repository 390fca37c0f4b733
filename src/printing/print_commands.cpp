#include "printing/print_commands.h"

#include "core/texts.h"

namespace velmok {

void PrintCommands::Print(bool selectedOnly) {
  state_.TargetFiles.clear();
  if (list_.Empty()) {
    view_.SetStatusText(texts::kStatusNoTargets);
    return;
  }
  if (!probes_.GetClarisMainTitle().empty()) {
    messages_.ShowOk(texts::kCloseOpenClaris, platform::MessageBoxes::Icon::Information);
    return;
  }
  const std::size_t n = list_.Count();
  for (std::size_t i = 0; i < n; ++i)
    if (!selectedOnly || list_.IsSelected(i)) state_.TargetFiles.push_back(list_.At(i).Key());
  ExecPrint();
}

void PrintCommands::ExecPrint() {
  session_.HideMainWindow();
  session_.ShowProgressModal();
  session_.ShowMainWindow();
  if (state_.LastPrintResult == -1) {
    view_.SetStatusText(texts::kStatusPrintFailed);
    return;
  }
  messages_.ShowOk(texts::kPrintFinished, platform::MessageBoxes::Icon::Information);
  view_.SetStatusText(std::to_string(state_.LastPrintResult) + std::string(texts::kStatusPrintedSuffix));
}

}  // namespace velmok
