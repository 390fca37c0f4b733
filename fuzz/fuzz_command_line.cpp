// The command line the program is started with: the part after its own name, split at quotes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "intake/intake.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::string_view arguments = velmok::ArgumentsOf(line);
  if (arguments.size() > line.size()) std::abort();
  std::size_t from = 0;
  for (const auto& piece : velmok::SplitCommandLine(arguments)) {
    // Every piece is a run of the text between quotes, in order, never only blanks (a tab is
    // none), never quoted.
    if (piece.find('"') != std::string::npos) std::abort();
    if (piece.find_first_not_of(' ') == std::string::npos) std::abort();
    const std::size_t at = arguments.find(piece, from);
    if (at == std::string_view::npos) std::abort();
    from = at + piece.size();
  }
  return 0;
}
