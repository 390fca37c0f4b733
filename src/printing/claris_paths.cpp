#include "printing/claris_paths.h"

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

std::string UnreachableDocumentsMessage(const std::vector<std::string>& unreachable) {
  std::string text(texts::kUnreachableDocuments);
  const std::size_t named = unreachable.size() <= kNamedInMessage + 1 ? unreachable.size() : kNamedInMessage;
  for (std::size_t i = 0; i < named; ++i) {
    text += "\r\n";
    text += unreachable[i];
  }
  if (named < unreachable.size()) {
    text += "\r\n";
    text += texts::kUnreachableMorePrefix;
    text += std::to_string(unreachable.size() - named);
    text += texts::kUnreachableMoreSuffix;
  }
  return text;
}

}  // namespace velmok
