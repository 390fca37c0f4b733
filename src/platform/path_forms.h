#pragma once
// The forms of one Windows path. Windows' path rules rewrite a path before the file system sees
// it: a name's trailing dots and blanks go, "." and ".." are resolved, "/" is a separator, a name
// such as CON is a device. The "\\?\" form (and "\\?\UNC\" for a share) hands the path over as it
// stands: the only way to a folder named "Data." beside one named "Data".

#include <string>
#include <string_view>

namespace velmok::platform {

// Whether the rules leave a name (one component of a path) as it stands.
bool IsOrdinaryName(std::string_view name);

// Whether the rules leave an absolute path ("C:\..." or "\\server\share\...") as it stands: every
// name after the drive or share is kept whole (no trailing dot or blank, no "." or "..", no
// character the rules give a meaning, no device's name), and "\" is the only separator.
bool IsOrdinaryPath(std::string_view path);

// `path` without its "\\?\" or "\\?\UNC\" prefix where the rest is an ordinary path: the one form
// by which a file is listed. Any other path as it stands.
std::string WithoutVerbatimPrefix(std::string_view path);

bool IsVerbatim(std::string_view path);

// The "\\?\" form of an absolute path ("C:\..." or "\\server\share\..."), which the file functions
// take as it stands and at any length; a path already in that form, or not absolute, unchanged.
std::string VerbatimForm(std::string_view path);

}  // namespace velmok::platform
