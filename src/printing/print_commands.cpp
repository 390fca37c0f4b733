#include "printing/print_commands.h"

#include <string_view>
#include <unordered_set>

#include "core/texts.h"
#include "printing/claris_paths.h"
#include "printing/documents_present.h"

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
  // Refused before anything is sent: a run that would stop at the first such document halfway
  // through the list, in the middle of the night, helps nobody.
  const std::vector<std::string> notThere = DocumentsNotThere(files_, state_.TargetFiles);
  const std::unordered_set<std::string_view> gone(notThere.begin(), notThere.end());
  std::vector<std::string> present;
  for (const auto& document : state_.TargetFiles)
    if (!gone.count(document)) present.push_back(document);
  ClarisPathPlan plan = PlanClarisPaths(ansiPaths_, present);
  if (notThere.empty() && plan.unreachable.empty()) {
    state_.ClarisPaths = std::move(plan.handed);
    return true;
  }
  state_.TargetFiles.clear();
  if (!notThere.empty())
    messages_.ShowOk(DocumentsNotThereMessage(notThere), platform::MessageBoxes::Icon::Information);
  if (!plan.unreachable.empty())
    messages_.ShowOk(UnreachableDocumentsMessage(plan.unreachable), platform::MessageBoxes::Icon::Information);
  return false;
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
