#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>

#include "platform/file_system.h"

namespace velmok::win32 {

// The file system through FindFirstFileExW (basic information, large fetch): one pass over a
// folder gives every name with its size and time. Paths longer than MAX_PATH go through the
// "\\?\" form.
class Win32FileSystem final : public platform::FileSystem {
 public:
  Win32FileSystem();

  platform::PathKind Kind(std::string_view path) override;
  std::string FullPath(std::string_view path) override;
  std::optional<platform::FileEntry> DescribeFile(std::string_view path) override;
  platform::ListOutcome ListFolder(std::string_view folder, platform::FolderListing& listing) override;
  std::optional<platform::FolderId> IdentifyFolder(std::string_view folder,
                                                   std::optional<std::uint64_t> knownVolume) override;
  std::optional<platform::LocalDateTime> ToLocalTime(std::int64_t utcTicks) override;

 private:
  TIME_ZONE_INFORMATION zone_{};
  bool zoneKnown_ = false;
  // The local offset of each quarter hour of UTC met so far: offsets change only on quarter
  // hours, and the zone's rules are asked once per quarter instead of once per document.
  std::unordered_map<std::int64_t, std::int64_t> offsets_;

};

// The form of a path the file functions take at any length.
std::wstring ExtendedPath(const std::wstring& path);

}  // namespace velmok::win32
