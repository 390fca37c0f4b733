#pragma once
// An in-memory file system with Windows paths, for trees no disk can hold (10,000 folders deep)
// and for faults at exact places. Names are found whatever their letter case, as Windows finds
// them; a file may have several names (a short one, the "\\?\" form), and a folder may be another
// folder shown under a second path (a link on a server, a bind mount), down to one above it.

#include <map>
#include <unordered_map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/text_compare.h"
#include "platform/file_system.h"
#include "platform/path_forms.h"

namespace velmok::fakes {

class MemoryFileSystem final : public platform::FileSystem {
 public:
  struct Folder {
    std::vector<platform::FileEntry> files;
    std::vector<std::string> subfolders;
    std::uint64_t id = 0;
  };
  struct IgnoringCase {
    bool operator()(const std::string& a, const std::string& b) const { return CompareIgnoringCase(a, b) < 0; }
  };
  std::set<std::string> links;            // subfolders (full paths) that are links
  // Short (8.3) paths and the long paths they stand for, as the file system expands them.
  std::map<std::string, std::string, IgnoringCase> longNames;
  // Folders that are other folders under a second path: path -> the folder it shows.
  std::map<std::string, std::string, IgnoringCase> sameAs;
  int listings = 0;
  int descriptions = 0;

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
    Folder& f = folders_[Folded(path)];
    if (f.id == 0) f.id = folders_.size();
    return f;
  }

  // Adds a file (and the folder it lies in).
  void AddFile(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    AddFolder(path.substr(0, slash)).files.push_back({path.substr(slash + 1), 0, 0});
  }

  platform::PathKind Kind(std::string_view path) override {
    if (NetworkLost(path)) return platform::PathKind::None;
    const std::string p = Resolve(path);
    if (folders_.count(Folded(p))) return platform::PathKind::Folder;
    return FindFile(p) ? platform::PathKind::File : platform::PathKind::None;
  }
  std::string FullPath(std::string_view path) override {
    std::string full = platform::WithoutVerbatimPrefix(path);
    if (full.find('~') == std::string::npos) return full;
    const auto it = longNames.find(full);
    return it == longNames.end() ? full : it->second;
  }
  Description Describe(std::string_view path) override {
    ++descriptions;
    Description d;
    d.kind = Kind(path);
    if (d.kind != platform::PathKind::File) return d;
    d.file = *FindFile(Resolve(path));
    const auto slash = path.find_last_of('\\');
    d.file.name = std::string(path.substr(slash + 1));  // as the path gives it
    return d;
  }
  platform::ListOutcome ListFolder(std::string_view folder, platform::FolderListing& listing) override {
    listing.Clear();
    if (NetworkLost(folder)) return platform::ListOutcome::NetworkLost;
    ++listings;
    const auto it = folders_.find(Folded(Resolve(folder)));
    if (it == folders_.end()) return platform::ListOutcome::Unreadable;
    listing.files = it->second.files;
    listing.index = it->second.id;
    for (const auto& name : it->second.subfolders)
      listing.subfolders.push_back({name, links.count(std::string(folder) + "\\" + name) != 0});
    const auto fault = faults.find(std::string(folder));
    return fault == faults.end() ? platform::ListOutcome::Complete : fault->second;
  }
  std::optional<platform::FolderId> IdentifyFolder(std::string_view folder, std::optional<std::uint64_t>) override {
    if (NetworkLost(folder)) return std::nullopt;
    const auto it = folders_.find(Folded(Resolve(folder)));
    if (it == folders_.end()) return std::nullopt;
    return platform::FolderId{1, it->second.id};
  }
  std::optional<platform::LocalDateTime> ToLocalTime(std::int64_t ticks) override {
    return platform::LocalDateTime{2001, 2, 3, 4, 5, static_cast<int>(ticks % 60), 0};
  }

 private:
  // Paths are found whatever the letter case of their ASCII letters.
  static std::string Folded(std::string path) {
    for (char& c : path)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return path;
  }
  std::unordered_map<std::string, Folder> folders_;  // by folded full path

  // The path of what `path` names: without a "\\?\" prefix, and through the folders that are others.
  std::string Resolve(std::string_view path) const {
    std::string p(path);
    if (platform::IsVerbatim(p)) p = p.substr(4);
    for (bool again = true; again;) {
      again = false;
      for (const auto& [alias, target] : sameAs) {
        if (p.size() >= alias.size() && EqualIgnoringCase(std::string_view(p).substr(0, alias.size()), alias) &&
            (p.size() == alias.size() || p[alias.size()] == '\\')) {
          p = target + p.substr(alias.size());
          again = true;
          break;
        }
      }
    }
    return p;
  }

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
    auto it = folders_.find(Folded(folder));
    if (it == folders_.end()) it = folders_.find(Folded(folder + "\\"));
    if (it == folders_.end()) return nullptr;
    for (const auto& f : it->second.files)
      if (EqualIgnoringCase(f.name, std::string_view(path).substr(slash + 1))) return &f;
    return nullptr;
  }
};

}  // namespace velmok::fakes
