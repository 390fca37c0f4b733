#include "intake/intake.h"

#include "core/texts.h"
#include "intake/entry_texts.h"
#include "intake/unreadable_folders.h"
#include "platform/path_forms.h"

namespace velmok {

void Intake::Log(std::string_view prefix, std::string_view text) {
  if (log_.DebugLevel() == 0) return;  // spare building the text
  std::string line(prefix);
  line += text;
  log_.WriteDebugLog(line);
}

void Intake::BeginRoad() {
  onRoad_ = true;
  pathsTaken_ = 0;
  anyAdded_ = false;
  unreadable_.clear();
  unreadableSeen_.clear();
  lostShares_.clear();
  folderOf_.clear();
  lastFolder_.reset();
  host_.SetBusy(true);
  listing_.progress = [this] { host_.SearchGoesOn(); };
  // The entries of the whole road take their places together, when it ends.
  batch_ = std::make_unique<PrintList::Batch>(list_);
}

void Intake::EndRoad() {
  batch_.reset();
  onRoad_ = false;
  lostShares_.clear();
  folderOf_.clear();
  lastFolder_.reset();
  host_.SetBusy(false);
  if (anyAdded_) host_.ListChanged();
  // What the last path added, as each path's call of old reported it in turn.
  if (pathsTaken_ != 0)
    host_.SetStatusText(addedCount_ != 0 ? std::to_string(addedCount_) + std::string(texts::kStatusAddedSuffix)
                                         : std::string(texts::kStatusNothingFound));
  if (commandsFollow_) commandsFollow_();
  if (unreadable_.empty()) return;
  const std::string message = UnreadableFoldersMessage(unreadable_);
  unreadable_.clear();
  unreadableSeen_.clear();
  messages_.ShowOk(message, platform::MessageBoxes::Icon::Exclamation);
}

void Intake::NotRead(const std::string& folder) {
  Log("Unreadable=", folder);
  if (unreadableSeen_.insert(folder).second) unreadable_.push_back(folder);
}

bool Intake::OnLostShare(std::string_view path) const {
  for (const auto& share : lostShares_)
    if (PathIsWithin(path, share)) return true;
  return false;
}

void Intake::AddClarisFile(std::string_view path) {
  if (onRoad_) {
    AddPath(files_.FullPath(path));
    return;
  }
  BeginRoad();
  AddPath(files_.FullPath(path));
  EndRoad();
}

void Intake::TakePaths(const std::vector<std::string>& paths, bool logEach) {
  std::vector<std::string> full;
  full.reserve(paths.size());
  for (const auto& path : paths) full.push_back(files_.FullPath(path));
  listed_.Prepare(full, [this] { host_.SearchGoesOn(); });
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (logEach) Log("FILE=", paths[i]);
    AddPath(full[i]);
  }
  listed_.Clear();
}

void Intake::AddPath(const std::string& full) {
  addedCount_ = 0;
  ++pathsTaken_;
  host_.BeginSearch();
  SearchFolder(full);
}

// Depth-first: a folder's files first, then each subfolder down to its deepest level before the
// next one. The walk keeps its own stack, so no depth of folders can exhaust the program's.
void Intake::SearchFolder(const std::string& full) {
  // A share that went away is not asked again on this road: each question would wait out the
  // network's time-out once more.
  if (OnLostShare(full)) {
    NotRead(full);
    return;
  }
  auto described = listed_.Describe(full);
  if (!described) described = files_.Describe(full);
  switch (described->kind) {
    case platform::PathKind::File:
      CheckAndAdd(full, described->file, OtherPathsOfFolderOf(full));
      return;
    case platform::PathKind::None:
      return;
    case platform::PathKind::Folder:
      break;
  }

  entered_.clear();
  // The volume the walk begins on, which every folder reached without a link shares.
  const auto startId = files_.IdentifyFolder(full, std::nullopt);
  std::vector<Frame> stack;
  Frame first{full, {}, 0, startId ? std::optional<std::uint64_t>(startId->volume) : std::nullopt, PathRootLength(full)};
  if (EnterFolder(first)) stack.push_back(std::move(first));
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next >= top.subfolders.size()) {
      stack.pop_back();
      continue;
    }
    const platform::Subfolder& next = top.subfolders[top.next++];
    const std::string sub = JoinExactly(top.folder, next.name);
    Log("obj.foldcol=", sub);
    Frame frame{sub, {}, 0, top.volume, next.link ? sub.size() : top.rootLength};
    if (OnLostShare(sub)) {
      NotRead(sub);
      continue;
    }
    if (next.link) {
      // A link may lead anywhere, to another volume too: its target is asked before it is
      // entered. One whose target cannot be told could lead back up, ever deeper: it is not
      // followed, and its files are told as missing.
      const auto id = files_.IdentifyFolder(sub, std::nullopt);
      if (!id) {
        NotRead(sub);
        continue;
      }
      if (entered_.count(*id) != 0) {
        Log("Entered=", sub);
        continue;
      }
      frame.volume = id->volume;
    }
    if (EnterFolder(frame)) stack.push_back(std::move(frame));
  }
  entered_.clear();
}

const std::vector<std::string>& Intake::OtherPathsOfFolderOf(std::string_view file) {
  const auto slash = file.find_last_of("\\/");
  const std::string_view folder = file.substr(0, slash == std::string_view::npos ? 0 : slash);
  // The files of a file list come mostly from one folder: the last folder's answer serves, since
  // no other path of any folder has been met in between.
  if (lastFolder_ && folder == lastFolder_->path) return lastFolder_->others;
  lastFolder_.reset();
  if (folder.empty()) return noPaths_;
  auto known = folderOf_.find(std::string(folder));
  if (known == folderOf_.end())
    known = folderOf_.emplace(std::string(folder), files_.IdentifyFolder(folder, std::nullopt)).first;
  if (!known->second) return noPaths_;
  lastFolder_ = LastFolder{std::string(folder), list_.OtherPathsOfFolder(*known->second, folder)};
  return lastFolder_->others;
}

bool Intake::EnterFolder(Frame& frame) {
  std::string status(texts::kStatusSearching);
  status += frame.folder;
  host_.ShowSearchStatus(status);
  const platform::ListOutcome outcome = files_.ListFolder(frame.folder, listing_);
  host_.SearchGoesOn();
  if (outcome != platform::ListOutcome::Complete) {
    // Nothing of a listing that broke off is taken: the folder is told as not read, and a part of
    // its files in the list would say otherwise.
    if (outcome == platform::ListOutcome::NetworkLost)
      lostShares_.push_back(frame.folder.substr(0, frame.rootLength != 0 ? frame.rootLength : frame.folder.size()));
    NotRead(frame.folder);
    return false;
  }
  // Every folder's identity, from the listing's own look at it: one entered before in this walk
  // (a folder that leads back up, whatever it looks like) is not entered again, and is no folder
  // that could not be read. A folder whose file system tells no identity is entered all the same.
  std::vector<std::string> otherPaths;
  if (listing_.index) {
    const platform::FolderId id{frame.volume.value_or(0), *listing_.index};
    if (!entered_.insert(id).second) {
      Log("Entered=", frame.folder);
      return false;
    }
    // Known to the list by other paths (a walk that could not tell its volume cannot say).
    if (frame.volume) {
      lastFolder_.reset();
      otherPaths = list_.OtherPathsOfFolder(id, frame.folder);
    }
  }
  std::string file = JoinPath(frame.folder, "");
  const std::size_t folderLength = file.size();
  // The folder's part of each document's key is hashed once.
  CaseIgnoringHash folderHash;
  folderHash.Add(file);
  for (const auto& entry : listing_.files) {
    file.resize(folderLength);
    file += entry.name;
    if (platform::IsOrdinaryName(entry.name)) {
      CheckAndAdd(file, entry, otherPaths, &folderHash);
    } else {
      CheckAndAdd(JoinExactly(frame.folder, entry.name), entry, otherPaths);
    }
  }
  frame.subfolders = std::move(listing_.subfolders);
  return true;
}

void Intake::CheckAndAdd(const std::string& path, const platform::FileEntry& file,
                         const std::vector<std::string>& otherPaths, const CaseIgnoringHash* folderHash) {
  Log("Check=", path);
  if (!IsClarisDocumentName(file.name)) return;
  Log("File is cwj");
  // Listed already by this path, or by another path of the same folder.
  const std::size_t hash = folderHash ? CaseIgnoringHash(*folderHash).Add(file.name).Value() : HashIgnoringCase(path);
  const PrintListEntry* listed = list_.Find(path, hash);
  for (std::size_t i = 0; !listed && i < otherPaths.size(); ++i) listed = list_.Find(JoinExactly(otherPaths[i], file.name));
  const std::string_view listedName = listed ? listed->Name() : std::string_view();
  Log("ERRcheck=", listedName);
  if (listed) return;
  // A time or a size that cannot be read or shown leaves its column empty: the document is
  // listed all the same.
  const auto local = file.modifiedUtc ? files_.ToLocalTime(*file.modifiedUtc) : std::nullopt;
  if (!local) Log("NoTime=", path);
  const std::size_t nameLength = file.name.size() <= path.size() ? file.name.size() : path.size();
  PrintListEntry entry(path, hash, nameLength, local ? ModifiedTimeText(*local).View() : std::string_view(),
                       file.size ? FormatSize(*file.size) : std::string());
  if (!list_.Add(std::move(entry))) return;
  Log("Key=", path);
  ++addedCount_;
  anyAdded_ = true;
}

void Intake::DropFiles(const std::optional<std::vector<std::string>>& files) {
  Log("OLEDragDrop");
  if (!files) return;
  Log("VBCFFILES=True");
  if (files->empty()) return;
  BeginRoad();
  TakePaths(*files, true);
  EndRoad();
}

void Intake::PasteFiles(platform::ClipboardFiles& clipboard) {
  const auto files = clipboard.FileList();
  if (!files || files->empty()) return;
  BeginRoad();
  TakePaths(*files, false);
  EndRoad();
}

void Intake::CommandLineIntake(std::string_view arguments) {
  BeginRoad();
  const auto kindOf = [this](std::string_view path) { return files_.Kind(files_.FullPath(path)); };
  TakePaths(SplitCommandLine(arguments, kindOf), false);
  EndRoad();
}

}  // namespace velmok
