#pragma once
// An in-memory file system with Windows paths, for trees no disk can hold (10,000 folders deep)
// and for faults at exact places.

#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace velmok::fakes {

class MemoryFileSystem final : public platform::FileSystem {
 public:
  struct Folder {
    std::vector<platform::FileEntry> files;
    std::vector<std::string> subfolders;
    std::uint64_t id = 0;
  };
  std::map<std::string, Folder> folders;  // by full path
  int listings = 0;

  // Adds a folder (and nothing else); returns it for filling.
  Folder& AddFolder(const std::string& path) {
    Folder& f = folders[path];
    if (f.id == 0) f.id = folders.size();
    return f;
  }

  platform::PathKind Kind(std::string_view path) override {
    const std::string p(path);
    if (folders.count(p)) return platform::PathKind::Folder;
    return FindFile(p) ? platform::PathKind::File : platform::PathKind::None;
  }
  std::string FullPath(std::string_view path) override { return std::string(path); }
  std::optional<platform::FileEntry> DescribeFile(std::string_view path) override {
    const auto* f = FindFile(std::string(path));
    if (!f) return std::nullopt;
    return *f;
  }
  bool ListFolder(std::string_view folder, platform::FolderListing& listing) override {
    ++listings;
    listing.Clear();
    const auto it = folders.find(std::string(folder));
    if (it == folders.end()) return false;
    listing.files = it->second.files;
    for (const auto& name : it->second.subfolders) listing.subfolders.push_back({name, false});
    return true;
  }
  std::optional<platform::FolderId> IdentifyFolder(std::string_view folder, std::optional<std::uint64_t>) override {
    const auto it = folders.find(std::string(folder));
    if (it == folders.end()) return std::nullopt;
    return platform::FolderId{1, it->second.id};
  }
  std::optional<platform::LocalDateTime> ToLocalTime(std::int64_t ticks) override {
    return platform::LocalDateTime{2001, 2, 3, 4, 5, static_cast<int>(ticks % 60), 0};
  }

 private:
  const platform::FileEntry* FindFile(const std::string& path) const {
    const auto slash = path.find_last_of('\\');
    if (slash == std::string::npos) return nullptr;
    std::string folder = path.substr(0, slash);
    auto it = folders.find(folder);
    if (it == folders.end()) it = folders.find(folder + "\\");
    if (it == folders.end()) return nullptr;
    for (const auto& f : it->second.files)
      if (f.name == path.substr(slash + 1)) return &f;
    return nullptr;
  }
};

}  // namespace velmok::fakes
