#include "intake/paths.h"

#include "core/text_compare.h"
#include "platform/path_forms.h"

namespace velmok {

namespace {

// The end of the `count`-th component from `from` on.
std::size_t EndOfComponents(std::string_view path, std::size_t from, int count) {
  std::size_t at = from;
  for (int i = 0; i < count; ++i) {
    if (i > 0 && at < path.size()) ++at;  // past the separator
    while (at < path.size() && !IsPathSeparator(path[at])) ++at;
  }
  return at;
}

bool StartsWithUnc(std::string_view text) {
  return text.size() >= 4 && EqualIgnoringCase(text.substr(0, 3), "UNC") && IsPathSeparator(text[3]);
}

}  // namespace

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || !IsPathSeparator(path.back())) path += '\\';
  path += name;
  return path;
}

std::string JoinExactly(std::string_view folder, std::string_view name) {
  std::string path = JoinPath(folder, name);
  if (platform::IsOrdinaryName(name) || platform::IsVerbatim(path)) return path;
  return platform::VerbatimForm(path);
}

std::size_t PathRootLength(std::string_view path) {
  if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
    if (path.size() >= 4 && (path[2] == '?' || path[2] == '.') && IsPathSeparator(path[3]))
      return EndOfComponents(path, 4, StartsWithUnc(path.substr(4)) ? 3 : 1);
    return EndOfComponents(path, 2, 2);
  }
  if (path.size() >= 2 && path[1] == ':') return 2;
  return 0;
}

bool PathIsWithin(std::string_view path, std::string_view folder) {
  while (!folder.empty() && IsPathSeparator(folder.back())) folder.remove_suffix(1);
  if (path.size() < folder.size() || !EqualIgnoringCase(path.substr(0, folder.size()), folder)) return false;
  return path.size() == folder.size() || IsPathSeparator(path[folder.size()]);
}

}  // namespace velmok
