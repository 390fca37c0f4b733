#pragma once
// The paths on the command line the program was started with. The shell quotes only the paths
// that hold a blank: several documents dropped on the program's icon arrive as one unquoted run of
// paths separated by blanks, which is taken apart again by asking what each part names.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace velmok {

// What a text names, as the intake would find it (a relative text resolved against the current
// folder).
using PathKindOf = std::function<platform::PathKind(std::string_view)>;

// The command line's argument text split at every double quote. A quoted piece is a path as it
// stands; so is an unquoted one that names something as a whole. Any other unquoted piece loses
// the blanks around it, and is split at blanks and joined back from the left into the longest runs
// that each name something; a word that begins no such run is a path of its own. The file system
// is asked a bounded number of questions per line: once they are spent, each word left is a path
// of its own. Pieces of nothing but blanks (' ', not tabs) are dropped.
std::vector<std::string> SplitCommandLine(std::string_view arguments, const PathKindOf& kindOf);

// The text after the program's own name (quoted or not) and the blanks that follow it.
std::string_view ArgumentsOf(std::string_view commandLine);

}  // namespace velmok
