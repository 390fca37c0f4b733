#include "intake/print_list.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "core/text_compare.h"

namespace velmok {

namespace {

const OrdinalCollation kCharacterCodeOrder;

}  // namespace

PrintList::PrintList() : collation_(kCharacterCodeOrder) {}

PrintList::PrintList(const platform::TextCollation& collation) : collation_(collation) {}

PrintListEntry::PrintListEntry(std::string key, std::size_t nameLength, std::string_view modified, std::string size)
    : PrintListEntry(std::move(key), 0, nameLength, modified, std::move(size)) {
  keyHash_ = HashIgnoringCase(key_);
}

PrintListEntry::PrintListEntry(std::string key, std::size_t keyHash, std::size_t nameLength, std::string_view modified,
                               std::string size)
    : key_(std::move(key)), size_(std::move(size)), keyHash_(keyHash) {
  nameLength = std::min(nameLength, key_.size());
  nameStart_ = static_cast<std::uint32_t>(key_.size() - nameLength);
  modifiedLength_ = static_cast<std::uint8_t>(std::min(modified.size(), modified_.size()));
  std::copy_n(modified.begin(), modifiedLength_, modified_.begin());
}

std::string_view PrintListEntry::Column(int column) const {
  switch (column) {
    case 1: return Modified();
    case 2: return size_;
    case 3: return Folder();
    default: return Name();
  }
}

const PrintListEntry* PrintList::Find(std::string_view key) const { return index_.Find(key); }

std::vector<std::string> PrintList::OtherPathsOfFolder(const platform::FolderId& folder, std::string_view path) {
  std::vector<std::string>& paths = folderPaths_[folder];
  std::vector<std::string> others;
  bool known = false;
  for (const auto& p : paths) {
    if (EqualIgnoringCase(p, path))
      known = true;
    else
      others.push_back(p);
  }
  if (!known) paths.emplace_back(path);
  return others;
}

// Names and folders compare by their keys alone, wherever they are compared: a sort and an
// insertion then place a text alike, also a text for which the collation has only its fallback.
std::size_t PrintList::SortedPlace(const PrintListEntry& entry, std::size_t end) const {
  const bool ascending = sort_.direction == SortDirection::Ascending;
  const std::string_view text = entry.Column(sort_.key);
  if (Collated()) {
    key_.clear();
    collation_.AppendSortKey(text, key_);
  }
  // The first entry that sorts after `entry`.
  std::size_t low = 0;
  std::size_t high = end;
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    const std::string_view other = entries_[mid]->Column(sort_.key);
    int c;
    if (Collated()) {
      otherKey_.clear();
      collation_.AppendSortKey(other, otherKey_);
      c = key_.compare(otherKey_);
    } else {
      c = CompareIgnoringCase(text, other);
    }
    if (ascending ? c < 0 : c > 0)
      high = mid;
    else
      low = mid + 1;
  }
  return low;
}

bool PrintList::Add(PrintListEntry entry) {
  auto owned = std::make_unique<PrintListEntry>(std::move(entry));
  PrintListEntry* raw = owned.get();
  if (index_.Insert(raw) != raw) return false;  // already listed
  std::size_t at = entries_.size();
  if (sort_.sorted && batchDepth_ == 0) at = SortedPlace(*raw, entries_.size());
  if (at == entries_.size()) {
    entries_.push_back(std::move(owned));
    Renumber(at);
    return true;
  }
  const PrintListEntry* current = CurrentEntry();
  const auto marked = MarkedEntries();
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(owned));
  Renumber(at);
  MarkAgain(marked);
  MoveCurrentTo(current);
  return true;
}

PrintList::Batch::Batch(PrintList& list) : list_(list) {
  if (list_.batchDepth_++ == 0) list_.batchStart_ = list_.entries_.size();
}

PrintList::Batch::~Batch() {
  if (--list_.batchDepth_ == 0) list_.SettleBatch();
}

void PrintList::SettleBatch() {
  if (!sort_.sorted || batchStart_ >= entries_.size()) return;
  const std::size_t added = entries_.size() - batchStart_;
  if (added * 64 >= batchStart_) {
    // Many at once: sorted together with the rest, one key each.
    SortAll();
    return;
  }
  // A few into a long list: each finds its place by a binary search, in the order they came, so
  // that each goes after the entries it equals, as the sort of them all would place it.
  const PrintListEntry* current = CurrentEntry();
  const auto marked = MarkedEntries();
  std::vector<std::unique_ptr<PrintListEntry>> batch(std::make_move_iterator(entries_.begin() + batchStart_),
                                                     std::make_move_iterator(entries_.end()));
  entries_.resize(batchStart_);
  for (auto& entry : batch) {
    const std::size_t at = SortedPlace(*entry, entries_.size());
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
  }
  Renumber(0);
  MarkAgain(marked);
  MoveCurrentTo(current);
}

void PrintList::Renumber(std::size_t from) {
  for (std::size_t i = from; i < entries_.size(); ++i) entries_[i]->position_ = static_cast<std::uint32_t>(i);
}

void PrintList::SetSelected(std::size_t index, bool selected) {
  if (index < entries_.size()) selection_->SetMarked(index, selected);
}

void PrintList::SetAllSelected(bool selected) { selection_->MarkAll(entries_.size(), selected); }

void PrintList::InvertSelection() {
  const auto marked = SelectedIndices();
  std::vector<std::size_t> unmarked;
  unmarked.reserve(entries_.size() - marked.size());
  for (std::size_t i = 0, m = 0; i < entries_.size(); ++i) {
    if (m < marked.size() && marked[m] == i)
      ++m;
    else
      unmarked.push_back(i);
  }
  selection_->MarkExactly(entries_.size(), unmarked);
}

std::vector<std::size_t> PrintList::SelectedIndices() const {
  std::vector<std::size_t> marked = selection_->Marked();
  // A store may know positions the list has no longer.
  while (!marked.empty() && marked.back() >= entries_.size()) marked.pop_back();
  return marked;
}

std::vector<const PrintListEntry*> PrintList::MarkedEntries() const {
  std::vector<const PrintListEntry*> marked;
  if (selection_->MarkedCount() == 0) return marked;
  for (const std::size_t i : SelectedIndices()) marked.push_back(entries_[i].get());
  return marked;
}

void PrintList::MarkAgain(const std::vector<const PrintListEntry*>& marked) {
  if (marked.empty()) return;
  std::vector<std::size_t> positions;
  positions.reserve(marked.size());
  for (const PrintListEntry* e : marked) positions.push_back(e->position_);
  std::sort(positions.begin(), positions.end());
  selection_->MarkExactly(entries_.size(), positions);
}

std::optional<std::size_t> PrintList::Current() const {
  const auto index = selection_->Current();
  if (!index || *index >= entries_.size()) return std::nullopt;
  return index;
}

void PrintList::SetCurrent(std::optional<std::size_t> index) {
  if (index && *index >= entries_.size()) index.reset();
  if (selection_->Current() != index) selection_->SetCurrent(index);
}

void PrintList::KeepSelectionIn(SelectionStore* store) {
  const auto current = Current();
  const auto marked = SelectedIndices();
  selection_ = store ? store : &ownSelection_;
  selection_->MarkExactly(entries_.size(), marked);
  SetCurrent(current);
}

const PrintListEntry* PrintList::CurrentEntry() const {
  const auto index = Current();
  return index ? entries_[*index].get() : nullptr;
}

void PrintList::MoveCurrentTo(const PrintListEntry* entry) {
  SetCurrent(entry ? std::optional<std::size_t>(entry->position_) : std::nullopt);
}

std::size_t PrintList::RemoveSelected() {
  const auto marked = SelectedIndices();
  if (marked.empty()) return 0;
  const PrintListEntry* current = CurrentEntry();
  std::vector<std::unique_ptr<PrintListEntry>> left;
  left.reserve(entries_.size() - marked.size());
  for (std::size_t i = 0, m = 0; i < entries_.size(); ++i) {
    if (m < marked.size() && marked[m] == i) {
      if (entries_[i].get() == current) current = nullptr;
      ++m;
    } else {
      left.push_back(std::move(entries_[i]));
    }
  }
  const std::size_t removed = entries_.size() - left.size();
  // The marks went with their entries, and so did the current entry if it was marked.
  entries_ = std::move(left);
  Renumber(0);
  selection_->MarkAll(entries_.size(), false);
  MoveCurrentTo(current);
  std::vector<PrintListEntry*> kept;
  kept.reserve(entries_.size());
  for (auto& e : entries_) kept.push_back(e.get());
  index_.Rebuild(kept);
  return removed;
}

void PrintList::Clear() {
  SetCurrent(std::nullopt);
  selection_->MarkAll(0, false);
  index_.Clear();
  folderPaths_.clear();
  entries_.clear();
}

void PrintList::ChangeSortOrder(int key) {
  if (sort_.key == key) {
    sort_.direction =
        sort_.direction == SortDirection::Ascending ? SortDirection::Descending : SortDirection::Ascending;
  } else {
    sort_.key = key;
  }
  sort_.sorted = true;
  SortAll();
}

void PrintList::SortAll() {
  const PrintListEntry* current = CurrentEntry();
  const auto marked = MarkedEntries();
  if (Collated()) {
    SortByKeys();
  } else {
    // Times and sizes are digits and signs, which every order sorts alike: as text, at no cost.
    const bool ascending = sort_.direction == SortDirection::Ascending;
    const int key = sort_.key;
    std::stable_sort(entries_.begin(), entries_.end(), [ascending, key](const auto& x, const auto& y) {
      const int c = CompareIgnoringCase(x->Column(key), y->Column(key));
      return ascending ? c < 0 : c > 0;
    });
  }
  Renumber(0);
  MarkAgain(marked);
  MoveCurrentTo(current);
}

// The collation's keys of the sorted column, made once per entry (once per run of equal texts:
// the documents of one folder share their folder's key), then compared byte by byte.
void PrintList::SortByKeys() {
  struct Item {
    std::uint32_t offset;
    std::uint32_t length;
    std::uint32_t index;
  };
  std::vector<Item> items;
  items.reserve(entries_.size());
  std::string keys;
  keys.reserve(entries_.size() * 64);
  std::string_view previous;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::string_view text = entries_[i]->Column(sort_.key);
    if (i > 0 && text == previous) {
      items.push_back({items.back().offset, items.back().length, static_cast<std::uint32_t>(i)});
      continue;
    }
    const std::size_t offset = keys.size();
    collation_.AppendSortKey(text, keys);
    items.push_back({static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(keys.size() - offset),
                     static_cast<std::uint32_t>(i)});
    previous = text;
  }
  const std::string_view all(keys);
  const bool ascending = sort_.direction == SortDirection::Ascending;
  std::stable_sort(items.begin(), items.end(), [&](const Item& x, const Item& y) {
    const std::string_view a = all.substr(x.offset, x.length);
    const std::string_view b = all.substr(y.offset, y.length);
    return ascending ? a < b : b < a;
  });
  std::vector<std::unique_ptr<PrintListEntry>> sorted;
  sorted.reserve(entries_.size());
  for (const Item& item : items) sorted.push_back(std::move(entries_[item.index]));
  entries_ = std::move(sorted);
}

}  // namespace velmok
