#include "intake/intake.h"

#include "core/texts.h"
#include "intake/entry_texts.h"
#include "mainwindow/command_state.h"

namespace velmok {

namespace {

bool IsBlank(std::string_view piece) {
  return piece.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
  path += name;
  return path;
}

std::vector<std::string> SplitCommandLine(std::string_view arguments) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= arguments.size()) {
    std::size_t quote = arguments.find('"', start);
    if (quote == std::string_view::npos) quote = arguments.size();
    const std::string_view piece = arguments.substr(start, quote - start);
    if (!IsBlank(piece)) pieces.emplace_back(piece);
    start = quote + 1;
  }
  return pieces;
}

std::string_view ArgumentsOf(std::string_view commandLine) {
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const std::size_t close = commandLine.find('"', 1);
    i = close == std::string_view::npos ? commandLine.size() : close + 1;
  }
  while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t') ++i;
  while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
  return commandLine.substr(i);
}

void Intake::Log(std::string_view prefix, std::string_view text) {
  if (log_.DebugLevel() == 0) return;  // spare building the text
  std::string line(prefix);
  line += text;
  log_.WriteDebugLog(line);
}

void Intake::AddClarisFile(std::string_view path) {
  addedCount_ = 0;
  view_.SetBusy(true);
  {
    PrintList::Batch batch(list_);
    SearchFolder(path);
  }
  entered_.clear();
  view_.SetBusy(false);
  if (addedCount_ != 0) view_.ListChanged();
  view_.SetStatusText(addedCount_ != 0 ? std::to_string(addedCount_) + std::string(texts::kStatusAddedSuffix)
                                       : std::string(texts::kStatusNothingFound));
  RefreshMenus(list_, view_);
}

// Depth-first: a folder's files first, then each subfolder down to its deepest level before the
// next one. The walk keeps its own stack, so no depth of folders can exhaust the program's.
void Intake::SearchFolder(std::string_view start) {
  const std::string full = files_.FullPath(start);
  switch (files_.Kind(full)) {
    case platform::PathKind::File:
      if (const auto file = files_.DescribeFile(full)) CheckAndAdd(full, *file);
      return;
    case platform::PathKind::None:
      return;
    case platform::PathKind::Folder:
      break;
  }

  struct Frame {
    std::string folder;
    std::vector<std::string> subfolders;
    std::size_t next = 0;
  };
  std::vector<Frame> stack;
  stack.push_back({full, {}, 0});
  if (!EnterFolder(full, stack.back().subfolders)) return;
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next >= top.subfolders.size()) {
      stack.pop_back();
      continue;
    }
    const std::string sub = JoinPath(top.folder, top.subfolders[top.next++]);
    Log("obj.foldcol=", sub);
    Frame frame{sub, {}, 0};
    if (files_.Kind(sub) == platform::PathKind::Folder && EnterFolder(sub, frame.subfolders))
      stack.push_back(std::move(frame));
  }
}

bool Intake::EnterFolder(const std::string& path, std::vector<std::string>& subfolders) {
  // A link that leads back to a folder already entered in this intake is not walked again.
  if (const auto id = files_.IdentifyFolder(path); id && !entered_.insert(*id).second) return false;
  std::string status(texts::kStatusSearching);
  status += path;
  view_.ShowSearchStatus(status);
  filesScratch_.clear();
  if (!files_.ListFolder(path, filesScratch_, subfolders)) return false;
  for (const auto& file : filesScratch_) CheckAndAdd(JoinPath(path, file.name), file);
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
  if (!list_.Add(PrintListEntry(path, nameLength, FormatModifiedTime(*local), FormatSize(*file.size)))) return;
  Log("Key=", path);
  ++addedCount_;
}

void Intake::DropFiles(const std::optional<std::vector<std::string>>& files) {
  Log("OLEDragDrop");
  if (!files) return;
  Log("VBCFFILES=True");
  for (const auto& path : *files) {
    Log("FILE=", path);
    AddClarisFile(path);
  }
}

void Intake::PasteFiles(platform::ClipboardFiles& clipboard) {
  const auto files = clipboard.FileList();
  if (!files) return;
  for (const auto& path : *files) AddClarisFile(path);
}

void Intake::CommandLineIntake(std::string_view arguments) {
  for (const auto& piece : SplitCommandLine(arguments)) AddClarisFile(piece);
  RefreshMenus(list_, view_);
}

}  // namespace velmok
