#pragma once
// The file-list format of the clipboard and of drag and drop (CF_HDROP): a DROPFILES header
// (offset of the names, a point, two flags) followed by NUL-terminated names ending with an empty
// one. Blocks come from other programs, so nothing in them is trusted.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velmok {

struct DropFileNames {
  bool wide = true;
  // UTF-8 names of a wide (UTF-16) block; the raw bytes of each name of an ANSI block.
  std::vector<std::string> names;
};

inline constexpr std::size_t kDropFilesHeaderSize = 20;

// The names of a block of `size` bytes; nullopt when the block is malformed: shorter than its
// header, names starting outside it, a list without its final empty name.
std::optional<DropFileNames> ParseDropFiles(const unsigned char* data, std::size_t size);

}  // namespace velmok
