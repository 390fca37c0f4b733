#include "printing/claris_paths.h"

#include "core/named_list.h"
#include "core/texts.h"

namespace velmok {

namespace {

constexpr std::size_t kNamedInMessage = 10;

}  // namespace

std::optional<std::string> PathForClaris(platform::AnsiPaths& paths, std::string_view path) {
  if (paths.ReachesAnsiProgram(path)) return std::string(path);
  std::string shortForm = paths.ShortForm(path);
  if (!shortForm.empty() && paths.ReachesAnsiProgram(shortForm)) return shortForm;
  return std::nullopt;
}

ClarisPathPlan PlanClarisPaths(platform::AnsiPaths& paths, const std::vector<std::string>& documents) {
  ClarisPathPlan plan;
  plan.handed.reserve(documents.size());
  for (const auto& document : documents) {
    if (auto handed = PathForClaris(paths, document))
      plan.handed.push_back(std::move(*handed));
    else
      plan.unreachable.push_back(document);
  }
  if (!plan.unreachable.empty()) plan.handed.clear();
  return plan;
}

std::string RefusedDocumentsMessage(std::string_view intro, const std::vector<std::string>& documents) {
  std::string text(intro);
  // Eleven documents are all named: the count would take the line the eleventh takes.
  AppendNamedList(text, documents, {kNamedInMessage, true, texts::kUnreachableMorePrefix, texts::kUnreachableMoreSuffix});
  return text;
}

std::string UnreachableDocumentsMessage(const std::vector<std::string>& unreachable) {
  return RefusedDocumentsMessage(texts::kUnreachableDocuments, unreachable);
}

}  // namespace velmok
