#include "fakes/disk_file_system.h"

#include <dirent.h>
#include <sys/stat.h>

#include <ctime>

namespace velmok::fakes {

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kEpochDifference = 11'644'473'600LL;  // seconds from 1601 to 1970

}  // namespace

std::int64_t TicksFromUtc(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return (static_cast<std::int64_t>(timegm(&t)) + kEpochDifference) * kTicksPerSecond;
}

std::string DiskFileSystem::ToDisk(std::string_view path) const {
  std::string p(path);
  if (p.rfind("T:", 0) != 0) return "/nonexistent-velmok" + p;
  std::string out = root_ + p.substr(2);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

platform::PathKind DiskFileSystem::Kind(std::string_view path) {
  struct stat st{};
  if (stat(ToDisk(path).c_str(), &st) != 0) return platform::PathKind::None;
  return S_ISDIR(st.st_mode) ? platform::PathKind::Folder : platform::PathKind::File;
}

std::string DiskFileSystem::FullPath(std::string_view path) { return std::string(path); }

std::optional<platform::FileEntry> DiskFileSystem::DescribeOnDisk(const std::string& diskPath, std::string name,
                                                            const std::string& windowsPath) {
  struct stat st{};
  if (stat(diskPath.c_str(), &st) != 0) return std::nullopt;
  platform::FileEntry e;
  e.name = std::move(name);
  e.size = static_cast<std::uint64_t>(st.st_size);
  if (!timeless.count(windowsPath))
    e.modifiedUtc = (static_cast<std::int64_t>(st.st_mtime) + kEpochDifference) * kTicksPerSecond;
  return e;
}

platform::FileSystem::Description DiskFileSystem::Describe(std::string_view path) {
  const std::string p(path);
  Description d;
  d.kind = Kind(p);
  if (d.kind != platform::PathKind::File) return d;
  const auto slash = p.find_last_of('\\');
  if (auto e = DescribeOnDisk(ToDisk(p), slash == std::string::npos ? p : p.substr(slash + 1), p)) d.file = std::move(*e);
  return d;
}

platform::ListOutcome DiskFileSystem::ListFolder(std::string_view folder, platform::FolderListing& listing) {
  ++listings;
  listing.Clear();
  const std::string f(folder);
  if (unlistable.count(f)) return platform::ListOutcome::Unreadable;
  const std::string disk = ToDisk(f);
  DIR* dir = opendir(disk.c_str());
  if (!dir) return platform::ListOutcome::Unreadable;
  struct stat self{};
  if (!(identityUnreadable && identityUnreadable(folder)) && stat(disk.c_str(), &self) == 0)
    listing.index = static_cast<std::uint64_t>(self.st_ino);
  while (const dirent* d = readdir(dir)) {
    const std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    const std::string child = disk + (disk.back() == '/' ? "" : "/") + name;
    struct stat st{};
    if (stat(child.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      struct stat own{};
      const bool link = lstat(child.c_str(), &own) == 0 && S_ISLNK(own.st_mode);
      listing.subfolders.push_back({name, link});
    } else if (auto e = DescribeOnDisk(child, name, f + (f.back() == '\\' ? "" : "\\") + name)) {
      listing.files.push_back(std::move(*e));
    }
  }
  closedir(dir);
  return platform::ListOutcome::Complete;
}

std::optional<platform::FolderId> DiskFileSystem::IdentifyFolder(std::string_view folder,
                                                                 std::optional<std::uint64_t>) {
  ++identifications;
  if (identityUnreadable && identityUnreadable(folder)) return std::nullopt;
  struct stat st{};
  if (stat(ToDisk(folder).c_str(), &st) != 0) return std::nullopt;
  return platform::FolderId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::optional<platform::LocalDateTime> DiskFileSystem::ToLocalTime(std::int64_t utcTicks) {
  const std::time_t seconds = static_cast<std::time_t>(utcTicks / kTicksPerSecond - kEpochDifference);
  std::tm t{};
  if (!gmtime_r(&seconds, &t)) return std::nullopt;
  return platform::LocalDateTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, 0};
}

}  // namespace velmok::fakes
