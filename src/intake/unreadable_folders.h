#pragma once
// The message that follows an intake whose walk could not read some folders.

#include <string>
#include <vector>

namespace velmok {

// The folders, one per line, up to ten; "ほか n 個のフォルダ" for the rest.
std::string UnreadableFoldersMessage(const std::vector<std::string>& folders);

}  // namespace velmok
