#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace velmok::win32 {

// The file system through the Win32 API: one pass over a folder gives every name with its size and
// time. Absolute paths go through the "\\?\" form, which takes them as they stand and at any length.
class Win32FileSystem final : public platform::FileSystem {
 public:
  Win32FileSystem();
  // Local times in the given zone rather than the system's.
  explicit Win32FileSystem(const TIME_ZONE_INFORMATION& zone);

  platform::PathKind Kind(std::string_view path) override;
  std::string FullPath(std::string_view path) override;
  Description Describe(std::string_view path) override;
  platform::ListOutcome ListFolder(std::string_view folder, platform::FolderListing& listing) override;
  std::optional<platform::FolderId> IdentifyFolder(std::string_view folder,
                                                   std::optional<std::uint64_t> knownVolume) override;
  std::optional<platform::LocalDateTime> ToLocalTime(std::int64_t utcTicks) override;

  // The local offsets kept, and how many may be kept at most.
  static constexpr std::size_t kOffsetsKept = 1024;
  std::size_t OffsetsKept() const;

 private:
  TIME_ZONE_INFORMATION zone_{};
  bool zoneKnown_ = false;
  // The local offset of quarter hours of UTC: offsets change only on quarter hours, and the
  // zone's rules are asked once per quarter instead of once per document. Each quarter has its
  // slot (its number modulo the slots' count), so that however many quarters the documents of a
  // long night span, the offsets take the same room.
  struct Offset {
    std::int64_t quarter = -1;  // none yet
    std::int64_t ticks = 0;
  };
  std::vector<Offset> offsets_;
  // The batches of directory entries, reused from folder to folder.
  static constexpr std::size_t kDirectoryBatch = 64 * 1024;
  std::vector<std::uint64_t> directory_;
};

// The form of a path the file functions take at any length.
std::wstring ExtendedPath(const std::wstring& path);

}  // namespace velmok::win32
