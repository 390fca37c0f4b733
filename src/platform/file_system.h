#pragma once
// What the print list intake needs from the file system: the one form of a path, what a path
// names, a folder's files and subfolders in the file system's own order, a file's size and modified
// time, and an identity of folders, so that a folder reached again (through a link, a server's
// link that shows as a plain folder, a share or another drive letter) is known for what it is.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace velmok::platform {

enum class PathKind { None, File, Folder };

struct FileEntry {
  std::string name;                         // the last component, extension included
  std::optional<std::uint64_t> size;        // bytes; nullopt when it cannot be read
  std::optional<std::int64_t> modifiedUtc;  // 100-ns ticks since 1601-01-01 UTC
};

struct FolderId {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend bool operator==(const FolderId&, const FolderId&) = default;
};

struct Subfolder {
  std::string name;
  bool link = false;  // a symbolic link or junction: it may lead anywhere, back up included
};

// One folder's contents, as one pass over it gives them, in the order the file system lists them.
struct FolderListing {
  std::vector<FileEntry> files;
  std::vector<Subfolder> subfolders;
  // The folder's own index on its volume (FolderId::index), from the listing's own look at it;
  // nullopt when the file system tells none.
  std::optional<std::uint64_t> index;
  // Called now and then while a long listing is under way (kept by Clear).
  std::function<void()> progress;
  void Clear() {
    files.clear();
    subfolders.clear();
    index.reset();
  }
};

// How a folder's listing ended.
enum class ListOutcome {
  Complete,     // every entry is in the listing
  Unreadable,   // the folder could not be listed, or its listing broke off: entries are missing
  NetworkLost,  // the same, because the network or the share the folder lies on went away: asking
                // there again would wait out the network's time-out again
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual PathKind Kind(std::string_view path) = 0;
  // The one form of a path by which its file is listed: absolute (relative parts resolved against
  // the current folder), without a "\\?\" prefix where the rest is an ordinary path, and with the
  // long names of names given in their short (8.3) form.
  virtual std::string FullPath(std::string_view path) = 0;
  // What a path names, and for a file its description (the name as the path gives it).
  struct Description {
    PathKind kind = PathKind::None;
    FileEntry file;
  };
  virtual Description Describe(std::string_view path) = 0;
  // The folder's files and subfolders, and its index. The listing is cleared first; unless the
  // outcome is Complete, what it holds is a part at most.
  virtual ListOutcome ListFolder(std::string_view folder, FolderListing& listing) = 0;
  // The folder's identity (for a link, its target's). `knownVolume` is the volume the folder is
  // known to lie on (that of the folder above it, when it is no link): it spares asking.
  virtual std::optional<FolderId> IdentifyFolder(std::string_view folder, std::optional<std::uint64_t> knownVolume) = 0;
  // A file time in local time; nullopt for a time that cannot be shown.
  virtual std::optional<LocalDateTime> ToLocalTime(std::int64_t utcTicks) = 0;
};

}  // namespace velmok::platform
