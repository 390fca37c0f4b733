#pragma once

#include <windows.h>

#include "platform/clipboard.h"

namespace velmok::win32 {

class Win32ClipboardFiles final : public platform::ClipboardFiles {
 public:
  bool OffersFileList() override;
  std::optional<std::vector<std::string>> FileList() override;
};

// The names of a CF_HDROP block (from the clipboard or a drop), read in one pass (an ANSI block's
// in the system's ANSI code page); nullopt when the block is malformed.
std::optional<std::vector<std::string>> ReadDropFiles(HGLOBAL block);

}  // namespace velmok::win32
