#include "intake/unreadable_folders.h"

#include "core/named_list.h"
#include "core/texts.h"

namespace velmok {

std::string UnreadableFoldersMessage(const std::vector<std::string>& folders) {
  std::string text(texts::kUnreadableFolders);
  AppendNamedList(text, folders, {10, false, texts::kUnreadableMorePrefix, texts::kUnreadableMoreSuffix});
  return text;
}

}  // namespace velmok
