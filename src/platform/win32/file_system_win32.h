#pragma once

#include <windows.h>

#include <string>

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
  bool ListFolder(std::string_view folder, std::vector<platform::FileEntry>& files,
                  std::vector<std::string>& subfolders) override;
  std::optional<platform::FolderId> IdentifyFolder(std::string_view folder) override;
  std::optional<platform::LocalDateTime> ToLocalTime(std::int64_t utcTicks) override;

 private:
  TIME_ZONE_INFORMATION zone_{};
  bool zoneKnown_ = false;
};

// The form of a path the file functions take at any length.
std::wstring ExtendedPath(const std::wstring& path);

}  // namespace velmok::win32
