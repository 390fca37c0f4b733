#pragma once
// The path by which ClarisWorks is handed each document. ClarisWorks reads names in the ANSI code
// page: a name with a character outside it would arrive with '?' in its place, and a path longer
// than MAX_PATH not at all. Such a document is handed over by its short (8.3) form, which names the
// same file in plain letters; a path it can read is handed over as it stands.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ansi_paths.h"

namespace velmok {

// The form of `path` to hand to ClarisWorks; nullopt when it has none that ClarisWorks can read.
std::optional<std::string> PathForClaris(platform::AnsiPaths& paths, std::string_view path);

struct ClarisPathPlan {
  std::vector<std::string> handed;       // one per document, in order (only when nothing is refused)
  std::vector<std::string> unreachable;  // the documents that have no such form
};

ClarisPathPlan PlanClarisPaths(platform::AnsiPaths& paths, const std::vector<std::string>& documents);

// A message that refuses a print because of `documents`: its sentence `intro`, then a few of them
// named whole and the rest counted.
std::string RefusedDocumentsMessage(std::string_view intro, const std::vector<std::string>& documents);

// The message that refuses a print because of `unreachable` documents.
std::string UnreachableDocumentsMessage(const std::vector<std::string>& unreachable);

}  // namespace velmok
