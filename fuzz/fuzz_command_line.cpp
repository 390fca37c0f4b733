// The command line the program is started with: the part after its own name, split at quotes,
// its unquoted pieces taken apart by what their parts name (here a made-up file system, decided
// by the input's own bytes).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "intake/command_line.h"

namespace {

// The words of a text at blanks and quotes, in order.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while ((at = text.find_first_not_of(" \"", at)) != std::string_view::npos) {
    std::size_t end = text.find_first_of(" \"", at);
    if (end == std::string_view::npos) end = text.size();
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::string_view arguments = velmok::ArgumentsOf(line);
  if (arguments.size() > line.size()) std::abort();
  // What a text names: decided by its bytes, so that some runs name files, some folders.
  const auto kindOf = [](std::string_view text) {
    unsigned hash = 2166136261u;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    switch (hash % 11) {
      case 0: return velmok::platform::PathKind::File;
      case 1: case 2: return velmok::platform::PathKind::Folder;
      default: return velmok::platform::PathKind::None;
    }
  };
  const auto paths = velmok::SplitCommandLine(arguments, kindOf);
  std::size_t from = 0;
  std::vector<std::string_view> words;
  for (const auto& path : paths) {
    // Every path is a run of the text between quotes, in order, never only blanks (a tab is
    // none), never quoted.
    if (path.find('"') != std::string::npos) std::abort();
    if (path.find_first_not_of(' ') == std::string::npos) std::abort();
    const std::size_t at = arguments.find(path, from);
    if (at == std::string_view::npos) std::abort();
    from = at + path.size();
    for (const auto word : Words(path)) words.push_back(word);
  }
  // Nothing lost, nothing twice: the paths hold every word of the text, in its order.
  if (words != Words(arguments)) std::abort();
  return 0;
}
