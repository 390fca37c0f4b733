#pragma once
// The file system interface over a real folder of the Linux test machine, presented with Windows
// paths: "T:\" is the root folder given at construction, "\" the separator. Folders are listed in
// readdir's order (the file system's own), like FindFirstFile on Windows.

#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace velmok::fakes {

class DiskFileSystem final : public platform::FileSystem {
 public:
  explicit DiskFileSystem(std::string root) : root_(std::move(root)) {}

  // Faults for the tests: a folder that cannot be listed, files whose time cannot be read.
  std::set<std::string> unlistable;
  std::set<std::string> timeless;
  // Folders whose identity cannot be read (a share that does not give it, a link that the
  // server resolves on its own).
  std::function<bool(std::string_view)> identityUnreadable;
  int listings = 0;
  int identifications = 0;

  platform::PathKind Kind(std::string_view path) override;
  std::string FullPath(std::string_view path) override;
  Description Describe(std::string_view path) override;
  platform::ListOutcome ListFolder(std::string_view folder, platform::FolderListing& listing) override;
  std::optional<platform::FolderId> IdentifyFolder(std::string_view folder, std::optional<std::uint64_t>) override;
  std::optional<platform::LocalDateTime> ToLocalTime(std::int64_t utcTicks) override;

  std::string ToDisk(std::string_view windowsPath) const;

 private:
  std::optional<platform::FileEntry> DescribeOnDisk(const std::string& diskPath, std::string name,
                                              const std::string& windowsPath);
  std::string root_;
};

// 100-ns ticks since 1601 for a UTC calendar time, as file times are kept.
std::int64_t TicksFromUtc(int year, int month, int day, int hour, int minute, int second);

}  // namespace velmok::fakes
