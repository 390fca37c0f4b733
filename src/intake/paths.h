#pragma once
// Windows paths as the intake builds and takes them apart.

#include <string>
#include <string_view>

namespace velmok {

bool IsPathSeparator(char c);
// The folder path and a name joined by exactly one separator.
std::string JoinPath(std::string_view folder, std::string_view name);
// The same, in the "\\?\" form where Windows' rules would change the name ("Data." read as
// "Data"), so that the path names that very folder or file.
std::string JoinExactly(std::string_view folder, std::string_view name);
// The length of the part of a path that names the drive or share it lies on, which is no folder
// one may ask about: "C:", "\\server\share", "\\?\C:", "\\?\UNC\server\share"; 0 for a relative
// path or one from the current drive's root folder.
std::size_t PathRootLength(std::string_view path);
// Whether `path` is `folder` or lies below it (letter case ignored, as Windows names are).
bool PathIsWithin(std::string_view path, std::string_view folder);

}  // namespace velmok
