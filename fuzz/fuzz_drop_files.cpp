// CF_HDROP blocks as another program may put them on the clipboard or drop them: any bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/drop_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto names = velmok::ParseDropFiles(data, size);
  if (!names) return 0;
  std::size_t bytes = 0;
  for (const auto& name : names->names) {
    if (name.empty()) std::abort();  // the list ends at its first empty name
    bytes += name.size();
  }
  // UTF-8 of UTF-16 units takes at most three bytes for each of the block's two-byte units.
  if (bytes > size * 3) std::abort();
  return 0;
}
