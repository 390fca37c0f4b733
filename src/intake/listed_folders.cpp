#include "intake/listed_folders.h"

#include <algorithm>
#include <unordered_set>

#include "core/text_compare.h"
#include "intake/paths.h"

namespace velmok {

namespace {

// The folder part and the name of a path.
std::pair<std::string_view, std::string_view> Split(std::string_view path) {
  std::size_t slash = path.size();
  while (slash > 0 && !IsPathSeparator(path[slash - 1])) --slash;
  if (slash == 0) return {{}, path};
  return {path.substr(0, slash - 1), path.substr(slash)};
}

template <class Named>
std::vector<std::pair<std::size_t, std::uint32_t>> IndexOf(const std::vector<Named>& named) {
  std::vector<std::pair<std::size_t, std::uint32_t>> index;
  index.reserve(named.size());
  for (std::size_t i = 0; i < named.size(); ++i)
    index.emplace_back(HashIgnoringCase(named[i].name), static_cast<std::uint32_t>(i));
  std::sort(index.begin(), index.end());
  return index;
}

// The position of the one named `name`, letter case ignored.
template <class Named>
std::optional<std::size_t> Lookup(const std::vector<std::pair<std::size_t, std::uint32_t>>& index,
                                  const std::vector<Named>& named, std::string_view name) {
  const std::size_t hash = HashIgnoringCase(name);
  for (auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(hash, std::uint32_t{0}));
       it != index.end() && it->first == hash; ++it)
    if (EqualIgnoringCase(named[it->second].name, name)) return it->second;
  return std::nullopt;
}

}  // namespace

void ListedFolders::Prepare(const std::vector<std::string>& paths, const std::function<void()>& progress) {
  folders_.clear();
  if (paths.size() < kListedFrom) return;
  // Different names (a command line may name the same few files thousands of times), counted up
  // to the number that makes a folder listed.
  std::unordered_map<std::string_view, std::unordered_set<std::string_view>> perFolder;
  for (const auto& path : paths) {
    const auto [folder, name] = Split(path);
    auto& names = perFolder[folder];
    if (names.size() < kListedFrom) names.insert(name);
  }
  for (const auto& [folder, names] : perFolder) {
    if (names.size() < kListedFrom || folder.empty()) continue;
    Folder listed;
    listed.listing.progress = progress;
    // A listing that broke off describes nothing: its files are asked for one by one.
    if (files_.ListFolder(folder, listed.listing) != platform::ListOutcome::Complete) continue;
    listed.files = IndexOf(listed.listing.files);
    listed.subfolders = IndexOf(listed.listing.subfolders);
    folders_.emplace(std::string(folder), std::move(listed));
  }
}

std::optional<platform::FileSystem::Description> ListedFolders::Describe(std::string_view path) const {
  if (folders_.empty()) return std::nullopt;
  const auto [folder, name] = Split(path);
  const auto it = folders_.find(folder);
  if (it == folders_.end()) return std::nullopt;
  const Folder& listed = it->second;
  platform::FileSystem::Description d;
  if (const auto file = Lookup(listed.files, listed.listing.files, name)) {
    const platform::FileEntry& entry = listed.listing.files[*file];
    d.kind = platform::PathKind::File;
    d.file.name = std::string(name);  // as the path gives it
    d.file.size = entry.size;
    d.file.modifiedUtc = entry.modifiedUtc;
    return d;
  }
  if (Lookup(listed.subfolders, listed.listing.subfolders, name)) {
    d.kind = platform::PathKind::Folder;
    return d;
  }
  return std::nullopt;
}

}  // namespace velmok
