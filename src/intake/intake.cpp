#include "intake/intake.h"

#include "core/texts.h"
#include "intake/entry_texts.h"
#include "intake/unreadable_folders.h"

namespace velmok {

void Intake::Log(std::string_view prefix, std::string_view text) {
  if (log_.DebugLevel() == 0) return;  // spare building the text
  std::string line(prefix);
  line += text;
  log_.WriteDebugLog(line);
}

void Intake::BeginRoad() {
  onRoad_ = true;
  unreadable_.clear();
  unreadableSeen_.clear();
  lostShares_.clear();
}

void Intake::EndRoad() {
  onRoad_ = false;
  lostShares_.clear();
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
    AddPath(path);
    return;
  }
  BeginRoad();
  AddPath(path);
  EndRoad();
}

void Intake::AddPath(std::string_view path) {
  addedCount_ = 0;
  host_.SetBusy(true);
  host_.BeginSearch();
  listing_.progress = [this] { host_.SearchGoesOn(); };
  {
    PrintList::Batch batch(list_);
    SearchFolder(path);
  }
  host_.SetBusy(false);
  if (addedCount_ != 0) host_.ListChanged();
  host_.SetStatusText(addedCount_ != 0 ? std::to_string(addedCount_) + std::string(texts::kStatusAddedSuffix)
                                       : std::string(texts::kStatusNothingFound));
  host_.RefreshMenus();
}

// Depth-first: a folder's files first, then each subfolder down to its deepest level before the
// next one. The walk keeps its own stack, so no depth of folders can exhaust the program's.
void Intake::SearchFolder(std::string_view start) {
  const std::string full = files_.FullPath(start);
  // A share that went away is not asked again on this road: each question would wait out the
  // network's time-out once more.
  if (OnLostShare(full)) {
    NotRead(full);
    return;
  }
  switch (files_.Kind(full)) {
    case platform::PathKind::File:
      if (const auto file = files_.DescribeFile(full)) CheckAndAdd(full, *file);
      return;
    case platform::PathKind::None:
      return;
    case platform::PathKind::Folder:
      break;
  }

  guarding_ = false;
  startVolume_.reset();
  enteredPaths_.clear();
  entered_.clear();
  std::vector<Frame> stack;
  stack.push_back({full, {}, 0, std::nullopt, PathRootLength(full)});
  AlreadyEntered(stack.back(), false, std::nullopt);
  if (!EnterFolder(stack.back())) stack.clear();
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next >= top.subfolders.size()) {
      stack.pop_back();
      continue;
    }
    const platform::Subfolder& next = top.subfolders[top.next++];
    const std::string sub = JoinPath(top.folder, next.name);
    Log("obj.foldcol=", sub);
    const bool throughLink = next.link;
    Frame frame{sub, {}, 0, std::nullopt, throughLink ? sub.size() : top.rootLength};
    if (OnLostShare(sub)) {
      NotRead(sub);
      continue;
    }
    if (AlreadyEntered(frame, throughLink, top.volume)) continue;
    if (EnterFolder(frame)) stack.push_back(std::move(frame));
  }
  enteredPaths_.clear();
  entered_.clear();
}

bool Intake::AlreadyEntered(Frame& frame, bool throughLink, std::optional<std::uint64_t> parentVolume) {
  if (!guarding_ && !throughLink) {
    enteredPaths_.push_back(frame.folder);
    return false;
  }
  if (!guarding_) {
    // The first link: from now on every folder counts by identity, those entered so far too. They
    // all lie on the volume of the folder the walk began with, being reached without links.
    guarding_ = true;
    for (const std::string& path : enteredPaths_) {
      if (const auto id = files_.IdentifyFolder(path, startVolume_)) {
        entered_.insert(*id);
        startVolume_ = id->volume;
      }
    }
    enteredPaths_.clear();
  }
  if (!parentVolume) parentVolume = startVolume_;
  const auto id = files_.IdentifyFolder(frame.folder, throughLink ? std::nullopt : parentVolume);
  // A link whose target cannot be told from the folders entered could lead back up, ever deeper:
  // it is not followed, and its files are told as missing. A plain folder is entered all the same.
  if (!id) {
    if (throughLink) NotRead(frame.folder);
    return throughLink;
  }
  frame.volume = id->volume;
  return !entered_.insert(*id).second;
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
  std::string file = JoinPath(frame.folder, "");
  const std::size_t folderLength = file.size();
  for (const auto& entry : listing_.files) {
    file.resize(folderLength);
    file += entry.name;
    CheckAndAdd(file, entry);
  }
  frame.subfolders = std::move(listing_.subfolders);
  return true;
}

void Intake::CheckAndAdd(const std::string& path, const platform::FileEntry& file) {
  Log("Check=", path);
  if (!IsClarisDocumentName(file.name)) return;
  Log("File is cwj");
  const PrintListEntry* listed = list_.Find(path);
  const std::string_view listedName = listed ? listed->Name() : std::string_view();
  Log("ERRcheck=", listedName);
  if (!listedName.empty()) return;
  // A file whose time or size cannot be read is passed over.
  if (!file.size || !file.modifiedUtc) return;
  const auto local = files_.ToLocalTime(*file.modifiedUtc);
  if (!local) return;
  const std::size_t nameLength = file.name.size() <= path.size() ? file.name.size() : path.size();
  if (!list_.Add(PrintListEntry(path, nameLength, ModifiedTimeText(*local).View(), FormatSize(*file.size)))) return;
  Log("Key=", path);
  ++addedCount_;
}

void Intake::DropFiles(const std::optional<std::vector<std::string>>& files) {
  Log("OLEDragDrop");
  if (!files) return;
  Log("VBCFFILES=True");
  BeginRoad();
  for (const auto& path : *files) {
    Log("FILE=", path);
    AddPath(path);
  }
  EndRoad();
}

void Intake::PasteFiles(platform::ClipboardFiles& clipboard) {
  const auto files = clipboard.FileList();
  if (!files) return;
  BeginRoad();
  for (const auto& path : *files) AddPath(path);
  EndRoad();
}

void Intake::CommandLineIntake(std::string_view arguments) {
  BeginRoad();
  const auto kindOf = [this](std::string_view path) { return files_.Kind(files_.FullPath(path)); };
  for (const auto& path : SplitCommandLine(arguments, kindOf)) AddPath(path);
  host_.RefreshMenus();
  EndRoad();
}

}  // namespace velmok
