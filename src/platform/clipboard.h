#pragma once
// The clipboard's list of files, as a file manager puts it there when files are copied.

#include <optional>
#include <string>
#include <vector>

namespace velmok::platform {

class ClipboardFiles {
 public:
  virtual ~ClipboardFiles() = default;
  // Whether the clipboard offers a file list now; its data are not fetched.
  virtual bool OffersFileList() = 0;
  // The paths of the clipboard's file list, in its order; nullopt when it holds none (also when
  // another program holds the clipboard open or the list is malformed).
  virtual std::optional<std::vector<std::string>> FileList() = 0;
};

}  // namespace velmok::platform
