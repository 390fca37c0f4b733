#pragma once
// Everything that enters the print list comes through AddClarisFile: a dropped, pasted or named
// path is searched (a folder to its deepest level), each file is offered to CheckAndAdd, and the
// outcome is shown on the status line.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/debug_log.h"
#include "intake/command_line.h"
#include "intake/print_list.h"
#include "mainwindow/main_view.h"
#include "platform/clipboard.h"
#include "platform/file_system.h"

namespace velmok {

class Intake {
 public:
  // `view` must be the one the command states are tracked through (FrmMainLogic::View()).
  Intake(PrintList& list, MainView& view, platform::FileSystem& files, DebugLog& log)
      : list_(list), view_(view), files_(files), log_(log) {}

  // Adds every printable document that `path` names or contains, reports the count on the status
  // line and recomputes the command states.
  void AddClarisFile(std::string_view path);
  // The number of entries added by the intake under way (or the last one).
  int AddedCount() const { return addedCount_; }

  // The three roads.
  // A drop onto the list; nullopt when the dropped data hold no file list.
  void DropFiles(const std::optional<std::vector<std::string>>& files);
  // Paste: the clipboard's file list, if it holds one.
  void PasteFiles(platform::ClipboardFiles& clipboard);
  // The paths on the command line the program was started with (the text after its own name).
  void CommandLineIntake(std::string_view arguments);

 private:
  void SearchFolder(std::string_view path);
  struct Frame {
    std::string folder;
    std::vector<platform::Subfolder> subfolders;
    std::size_t next = 0;
    std::optional<std::uint64_t> volume;  // known once links are being guarded against
  };
  // Enters one folder: shows it, offers its files and keeps its subfolders in `frame`. False when
  // it cannot be listed or is a link's target already entered in this intake.
  bool EnterFolder(Frame& frame);
  bool AlreadyEntered(Frame& frame, bool throughLink, std::optional<std::uint64_t> parentVolume);
  void CheckAndAdd(const std::string& path, const platform::FileEntry& file);
  void Log(std::string_view prefix, std::string_view text = {});

  PrintList& list_;
  MainView& view_;
  platform::FileSystem& files_;
  DebugLog& log_;
  int addedCount_ = 0;
  struct FolderIdHash {
    std::size_t operator()(const platform::FolderId& id) const { return id.volume * 1000003u ^ id.index; }
  };
  // Links can lead back up. Until the walk meets one, the folders entered are only remembered by
  // path (asking a folder's identity costs as much as listing it); from the first link on, every
  // folder's identity is kept, and a folder already entered is not entered again.
  std::vector<std::string> enteredPaths_;
  bool guarding_ = false;
  std::optional<std::uint64_t> startVolume_;  // where the folders reached without links lie
  std::unordered_set<platform::FolderId, FolderIdHash> entered_;
  platform::FolderListing listing_;  // reused from folder to folder
};

// The folder path and a name joined by exactly one separator.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace velmok
