#include "intake/unreadable_folders.h"

#include "core/texts.h"

namespace velmok {

namespace {

constexpr std::size_t kNamedInMessage = 10;

}  // namespace

std::string UnreadableFoldersMessage(const std::vector<std::string>& folders) {
  std::string text(texts::kUnreadableFolders);
  const std::size_t named = folders.size() < kNamedInMessage ? folders.size() : kNamedInMessage;
  for (std::size_t i = 0; i < named; ++i) {
    text += "\r\n";
    text += folders[i];
  }
  if (named < folders.size()) {
    text += "\r\n";
    text += texts::kUnreadableMorePrefix;
    text += std::to_string(folders.size() - named);
    text += texts::kUnreadableMoreSuffix;
  }
  return text;
}

}  // namespace velmok
