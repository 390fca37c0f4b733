#pragma once
// Print list entries for tests, from a path alone.

#include <string>

#include "intake/print_list.h"

namespace velmok::fakes {

inline PrintListEntry MakeEntry(const std::string& path, std::string modified = "2026/01/02 03:04",
                                std::string size = "1 KB") {
  const auto slash = path.find_last_of('\\');
  const std::size_t nameLength = slash == std::string::npos ? path.size() : path.size() - slash - 1;
  return PrintListEntry(path, nameLength, modified, std::move(size));
}

}  // namespace velmok::fakes
