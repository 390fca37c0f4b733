#pragma once
// The print list: the documents gathered for printing, in displayed order (positions 1 to N are
// indices 0 to N-1 here), with their selection marks, at most one current entry, the sort state
// and an index by key. The list view on the main window only shows this model.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "intake/key_index.h"
#include "intake/selection_store.h"
#include "platform/file_system.h"
#include "platform/text_collation.h"

namespace velmok {

class PrintListEntry {
 public:
  // `key` is the full path; `nameLength` the length in bytes of its last component.
  PrintListEntry(std::string key, std::size_t nameLength, std::string_view modified, std::string size);
  // The same, with the key's HashIgnoringCase already taken.
  PrintListEntry(std::string key, std::size_t keyHash, std::size_t nameLength, std::string_view modified,
                 std::string size);

  const std::string& Key() const { return key_; }
  std::string_view Name() const { return std::string_view(key_).substr(nameStart_); }
  std::string_view Modified() const { return {modified_.data(), modifiedLength_}; }
  const std::string& Size() const { return size_; }
  // The path without its last separator and name ("C:" for a document in a drive's root).
  std::string_view Folder() const {
    return nameStart_ == 0 ? std::string_view() : std::string_view(key_).substr(0, nameStart_ - 1);
  }
  // The text of column 0 (name), 1 (modified), 2 (size) or 3 (folder).
  std::string_view Column(int column) const;
  // The key's hash, letter case ignored (for the index by key).
  std::size_t KeyHash() const { return keyHash_; }

 private:
  friend class PrintList;
  std::string key_;
  std::string size_;
  std::size_t keyHash_ = 0;
  std::array<char, 16> modified_{};
  std::uint8_t modifiedLength_ = 0;
  std::uint32_t nameStart_ = 0;
  std::uint32_t position_ = 0;
};

enum class SortDirection { Ascending = 0, Descending = 1 };

struct SortState {
  int key = 0;  // column 0..3
  SortDirection direction = SortDirection::Ascending;
  bool sorted = false;
};

class PrintList {
 public:
  // Names and folders are sorted by the keys of `collation` (the user's language), however the
  // entries arrive: a sort of them all, a place found for one, or for a few in a batch; the other
  // columns as text, letter case ignored. Without one, in the order of character codes.
  PrintList();
  explicit PrintList(const platform::TextCollation& collation);
  PrintList(const PrintList&) = delete;
  PrintList& operator=(const PrintList&) = delete;

  std::size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const PrintListEntry& At(std::size_t index) const { return *entries_[index]; }
  // The entry with this key (letter case ignored, as Windows file names are), or nullptr.
  const PrintListEntry* Find(std::string_view key) const;
  // The same, for a key whose HashIgnoringCase is known.
  const PrintListEntry* Find(std::string_view key, std::size_t hash) const { return index_.Find(key, hash); }

  // A folder's documents are listed under the path by which it was first reached; another path
  // of the same folder (a link, a share, another drive letter) lists them again. The list keeps
  // the paths it has met for each folder's identity: the ones other than `path` are returned,
  // and `path` is kept from now on.
  std::vector<std::string> OtherPathsOfFolder(const platform::FolderId& folder, std::string_view path);
  std::size_t IndexOf(const PrintListEntry& entry) const { return entry.position_; }

  // Adds an entry whose key is not yet listed, at the end, or at its sorted place while sorting
  // is on. Returns false (and adds nothing) when the key is already listed.
  bool Add(PrintListEntry entry);

  // Adds made while a batch lives are appended and take their sorted places together when the
  // batch ends, so that a large intake costs one sort, not one insertion per entry.
  class Batch {
   public:
    explicit Batch(PrintList& list);
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    ~Batch();

   private:
    PrintList& list_;
  };

  // Selection marks and the current entry (at most one, possibly none), as the selection store
  // keeps them. Both stay with their entries when the entries are reordered; a mark or the current
  // entry goes when its entry is removed.
  bool IsSelected(std::size_t index) const { return index < entries_.size() && selection_->IsMarked(index); }
  void SetSelected(std::size_t index, bool selected);
  void SetAllSelected(bool selected);
  void InvertSelection();
  std::size_t SelectedCount() const { return selection_->MarkedCount(); }
  // Positions of the selected entries, in list order.
  std::vector<std::size_t> SelectedIndices() const;
  std::optional<std::size_t> Current() const;
  void SetCurrent(std::optional<std::size_t> index);
  // From now on the selection is kept by `store` (null: by the list itself again); the one there
  // is now moves there.
  void KeepSelectionIn(SelectionStore* store);

  // Removes every selected entry, keeping the order of the rest; returns how many were removed.
  // The current entry goes when it is removed.
  std::size_t RemoveSelected();
  void Clear();

  const SortState& Sort() const { return sort_; }
  // Sorts by `key`; the same key again reverses the direction, another key keeps it.
  void ChangeSortOrder(int key);

 private:
  // Where an entry goes among the sorted entries in [0, end): after those it equals.
  std::size_t SortedPlace(const PrintListEntry& entry, std::size_t end) const;
  bool Collated() const { return sort_.key == 0 || sort_.key == 3; }
  void SortAll();
  void SortByKeys();
  void SettleBatch();
  void Renumber(std::size_t from);
  const PrintListEntry* CurrentEntry() const;
  void MoveCurrentTo(const PrintListEntry* entry);
  // The entries marked now, to be marked again where a reordering puts them.
  std::vector<const PrintListEntry*> MarkedEntries() const;
  void MarkAgain(const std::vector<const PrintListEntry*>& marked);

  std::vector<std::unique_ptr<PrintListEntry>> entries_;
  KeyIndex index_;
  struct FolderIdHash {
    std::size_t operator()(const platform::FolderId& id) const {
      const std::uint64_t h = id.volume * 1000003u ^ id.index;
      return static_cast<std::size_t>(h ^ (h >> 32));  // both halves count where size_t has 32 bits
    }
  };
  std::unordered_map<platform::FolderId, std::vector<std::string>, FolderIdHash> folderPaths_;
  OwnSelection ownSelection_;
  SelectionStore* selection_ = &ownSelection_;
  const platform::TextCollation& collation_;
  // The sort keys of a comparison, reused.
  mutable std::string key_;
  mutable std::string otherKey_;
  SortState sort_;
  int batchDepth_ = 0;
  std::size_t batchStart_ = 0;
};


}  // namespace velmok
