#pragma once
// Everything that enters the print list comes through AddClarisFile: a dropped, pasted or named
// path is searched (a folder to its deepest level), each file is offered to CheckAndAdd, and the
// outcome is shown on the status line. A drop, a paste or the command line is one road: the window
// is busy once for all its paths, the list takes the new entries in once, and the folders the walk
// could not read are told in one message when it ends.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/debug_log.h"
#include "core/text_compare.h"
#include "intake/command_line.h"
#include "intake/paths.h"
#include "intake/print_list.h"
#include "intake/intake_host.h"
#include "intake/listed_folders.h"
#include "platform/clipboard.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

namespace velmok {

class Intake {
 public:
  // `commandsFollow` is called when a road ends, so that the commands that depend on the list
  // follow it.
  Intake(PrintList& list, IntakeHost& host, std::function<void()> commandsFollow, platform::FileSystem& files,
         DebugLog& log, platform::MessageBoxes& messages)
      : list_(list),
        host_(host),
        commandsFollow_(std::move(commandsFollow)),
        files_(files),
        log_(log),
        messages_(messages) {}

  // Adds every printable document that `path` names or contains, reports the count on the status
  // line and recomputes the command states. Called alone, it is a road of its own.
  void AddClarisFile(std::string_view path);
  // The number of entries added for the path under way (or the last one).
  int AddedCount() const { return addedCount_; }

  // The three roads.
  // A drop onto the list; nullopt when the dropped data hold no file list.
  void DropFiles(const std::optional<std::vector<std::string>>& files);
  // Paste: the clipboard's file list, if it holds one.
  void PasteFiles(platform::ClipboardFiles& clipboard);
  // The paths on the command line the program was started with (the text after its own name).
  void CommandLineIntake(std::string_view arguments);

 private:
  // A road: one user action, whose paths share the busy window and one settling of the list, and
  // whose unreadable folders are told once, when it ends.
  void BeginRoad();
  void EndRoad();
  // The paths of a road, in order (each logged first, for a drop).
  void TakePaths(const std::vector<std::string>& paths, bool logEach);
  // One path, in its one form.
  void AddPath(const std::string& full);
  void SearchFolder(const std::string& full);
  struct Frame {
    std::string folder;
    std::vector<platform::Subfolder> subfolders;
    std::size_t next = 0;
    // The volume the folder lies on: that of the walk's start, or below a link the link's.
    std::optional<std::uint64_t> volume;
    // The length of the part of the path that names the share or drive the folder lies on, as
    // far as the walk knows: below a link it may lie anywhere, so there it is the link's path.
    std::size_t rootLength = 0;
  };
  // A folder whose files are missing from the list: logged, and told when the road ends.
  void NotRead(const std::string& folder);
  // Whether a path lies on a share that went away earlier on this road.
  bool OnLostShare(std::string_view path) const;
  // Enters one folder: shows it, offers its files and keeps its subfolders in `frame`. False when
  // it cannot be listed or was entered before in this walk.
  bool EnterFolder(Frame& frame);
  // The other paths by which the list knows the folder a file given alone lies in (its identity
  // asked once per folder on a road).
  const std::vector<std::string>& OtherPathsOfFolderOf(std::string_view file);
  // `otherPaths`: other paths of the file's folder, under which the document may be listed.
  // `folderHash`, when given, is the hash of `path` without the file's name.
  void CheckAndAdd(const std::string& path, const platform::FileEntry& file, const std::vector<std::string>& otherPaths,
                   const CaseIgnoringHash* folderHash = nullptr);
  void Log(std::string_view prefix, std::string_view text = {});

  PrintList& list_;
  IntakeHost& host_;
  std::function<void()> commandsFollow_;
  platform::FileSystem& files_;
  DebugLog& log_;
  platform::MessageBoxes& messages_;
  int addedCount_ = 0;
  bool onRoad_ = false;
  int pathsTaken_ = 0;    // on this road
  bool anyAdded_ = false;  // on this road
  std::unique_ptr<PrintList::Batch> batch_;
  std::vector<std::string> unreadable_;  // in walk order, each once
  std::unordered_set<std::string> unreadableSeen_;
  std::vector<std::string> lostShares_;
  std::unordered_map<std::string, std::optional<platform::FolderId>> folderOf_;
  struct LastFolder {
    std::string path;
    std::vector<std::string> others;
  };
  std::optional<LastFolder> lastFolder_;
  const std::vector<std::string> noPaths_;
  struct FolderIdHash {
    std::size_t operator()(const platform::FolderId& id) const {
      const std::uint64_t h = id.volume * 1000003u ^ id.index;
      return static_cast<std::size_t>(h ^ (h >> 32));
    }
  };
  // Every folder entered in this walk, by identity: one reached again (through a link, or a link
  // on a server that shows as a plain folder) leads back up or to what was listed already.
  std::unordered_set<platform::FolderId, FolderIdHash> entered_;
  platform::FolderListing listing_;  // reused from folder to folder
  ListedFolders listed_{files_};
};

}  // namespace velmok
