#pragma once
// An in-memory file system with Windows paths, for trees no disk can hold (10,000 folders deep)
// and for faults at exact places.

#include <map>
#include <optional>
#include <set>
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
  std::set<std::string> links;            // subfolders (full paths) that are links
  int listings = 0;

  // Folders whose listing ends otherwise than complete; what a listing that broke off gave so far
  // is handed out all the same.
  std::map<std::string, platform::ListOutcome> faults;
  // A share that goes away after so many listings: from then on every question asked there waits
  // out the network's time-out (counted) and fails.
  struct Share {
    std::string root;
    int listingsBeforeLoss = 0;
  };
  std::optional<Share> lostShare;
  std::vector<std::string> askedAfterLoss;  // each question there: it waited out the time-out

  // Adds a folder (and nothing else); returns it for filling.
  Folder& AddFolder(const std::string& path) {
    Folder& f = folders[path];
    if (f.id == 0) f.id = folders.size();
    return f;
  }

  // Adds a file (and the folder it lies in).
  void AddFile(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    AddFolder(path.substr(0, slash)).files.push_back({path.substr(slash + 1), 0, 0});
  }

  platform::PathKind Kind(std::string_view path) override {
    if (NetworkLost(path)) return platform::PathKind::None;
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
  platform::ListOutcome ListFolder(std::string_view folder, platform::FolderListing& listing) override {
    listing.Clear();
    if (NetworkLost(folder)) return platform::ListOutcome::NetworkLost;
    ++listings;
    const auto it = folders.find(std::string(folder));
    if (it == folders.end()) return platform::ListOutcome::Unreadable;
    listing.files = it->second.files;
    for (const auto& name : it->second.subfolders)
      listing.subfolders.push_back({name, links.count(std::string(folder) + "\\" + name) != 0});
    const auto fault = faults.find(std::string(folder));
    return fault == faults.end() ? platform::ListOutcome::Complete : fault->second;
  }
  std::optional<platform::FolderId> IdentifyFolder(std::string_view folder, std::optional<std::uint64_t>) override {
    if (NetworkLost(folder)) return std::nullopt;
    const auto it = folders.find(std::string(folder));
    if (it == folders.end()) return std::nullopt;
    return platform::FolderId{1, it->second.id};
  }
  std::optional<platform::LocalDateTime> ToLocalTime(std::int64_t ticks) override {
    return platform::LocalDateTime{2001, 2, 3, 4, 5, static_cast<int>(ticks % 60), 0};
  }

 private:
  bool NetworkLost(std::string_view path) {
    if (!lostShare || listings < lostShare->listingsBeforeLoss) return false;
    const std::string& root = lostShare->root;
    if (path.substr(0, root.size()) != root || (path.size() > root.size() && path[root.size()] != '\\')) return false;
    askedAfterLoss.emplace_back(path);
    return true;
  }

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
