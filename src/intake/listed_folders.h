#pragma once
// The files of a road that lie many in one folder (a file manager's select all and copy) are
// described from one listing of that folder rather than by one question each: the folder's
// 100,000 documents are then read in one pass, as a walk of the folder reads them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace velmok {

class ListedFolders {
 public:
  // A folder is listed once this many different names of a road's paths lie in it.
  static constexpr std::size_t kListedFrom = 256;

  explicit ListedFolders(platform::FileSystem& files) : files_(files) {}

  // Lists each folder that at least kListedFrom names of `paths` (each in its one form) lie in, whole;
  // `progress` is called now and then while a listing is under way.
  void Prepare(const std::vector<std::string>& paths, const std::function<void()>& progress);
  // What the listing of its folder says `path` names; nullopt when its folder was not listed or
  // did not hold it (the file system is asked then).
  std::optional<platform::FileSystem::Description> Describe(std::string_view path) const;
  void Clear() { folders_.clear(); }

 private:
  struct Folder {
    platform::FolderListing listing;
    // (hash of the name with letter case ignored, index) of its files and of its subfolders.
    std::vector<std::pair<std::size_t, std::uint32_t>> files;
    std::vector<std::pair<std::size_t, std::uint32_t>> subfolders;
  };
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  platform::FileSystem& files_;
  // By the folder's path as the paths give it.
  std::unordered_map<std::string, Folder, Hash, std::equal_to<>> folders_;
};

}  // namespace velmok
