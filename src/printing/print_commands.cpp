#include "printing/print_commands.h"

#include "core/texts.h"
#include "printing/claris_paths.h"

namespace velmok {

void PrintCommands::Print(bool selectedOnly) {
  if (runUnderWay_) return;  // never a run inside a run
  state_.TargetFiles.clear();
  state_.ClarisPaths.clear();
  if (list_.Empty()) {
    session_.SetStatusText(texts::kStatusNoTargets);
    return;
  }
  if (!probes_.GetClarisMainTitle().empty()) {
    messages_.ShowOk(texts::kCloseOpenClaris, platform::MessageBoxes::Icon::Information);
    return;
  }
  // The marks as the list shows them now, in one pass.
  if (selectedOnly) {
    for (const std::size_t i : list_.SelectedIndices()) state_.TargetFiles.push_back(list_.At(i).Key());
  } else {
    for (std::size_t i = 0; i < list_.Count(); ++i) state_.TargetFiles.push_back(list_.At(i).Key());
  }
  if (!PlanHandOver()) return;
  ExecPrint();
}

bool PrintCommands::PlanHandOver() {
  ClarisPathPlan plan = PlanClarisPaths(ansiPaths_, state_.TargetFiles);
  if (!plan.unreachable.empty()) {
    // Refused before anything is sent: a run that would stop at the first such document halfway
    // through the list helps nobody.
    state_.TargetFiles.clear();
    messages_.ShowOk(UnreachableDocumentsMessage(plan.unreachable), platform::MessageBoxes::Icon::Information);
    return false;
  }
  state_.ClarisPaths = std::move(plan.handed);
  return true;
}

void PrintCommands::ExecPrint() {
  if (runUnderWay_) return;
  // Until the outcome has been reported, including while its message box is shown.
  struct UnderWay {
    bool& flag;
    explicit UnderWay(bool& f) : flag(f) { flag = true; }
    ~UnderWay() { flag = false; }
    UnderWay(const UnderWay&) = delete;
    UnderWay& operator=(const UnderWay&) = delete;
  } underWay(runUnderWay_);
  // A run that never starts (its window could not be made) must not report an earlier success.
  state_.LastPrintResult = -1;
  session_.HideMainWindow();
  session_.ShowProgressModal();
  session_.ShowMainWindow();
  if (state_.LastPrintResult == -1) {
    session_.SetStatusText(texts::kStatusPrintFailed);
    return;
  }
  messages_.ShowOk(texts::kPrintFinished, platform::MessageBoxes::Icon::Information);
  session_.SetStatusText(std::to_string(state_.LastPrintResult) + std::string(texts::kStatusPrintedSuffix));
}

}  // namespace velmok
