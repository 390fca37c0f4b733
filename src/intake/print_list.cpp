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
    : key_(std::move(key)), size_(std::move(size)), keyHash_(HashIgnoringCase(key_)) {
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

int PrintList::CompareColumn(const PrintListEntry& a, const PrintListEntry& b) const {
  const std::string_view x = a.Column(sort_.key);
  const std::string_view y = b.Column(sort_.key);
  // Times and sizes are digits and signs, which every order sorts alike: as text, at no cost.
  return Collated() ? collation_.Compare(x, y) : CompareIgnoringCase(x, y);
}

bool PrintList::Less(const PrintListEntry& a, const PrintListEntry& b) const {
  const int c = CompareColumn(a, b);
  return sort_.direction == SortDirection::Ascending ? c < 0 : c > 0;
}

bool PrintList::Add(PrintListEntry entry) {
  auto owned = std::make_unique<PrintListEntry>(std::move(entry));
  PrintListEntry* raw = owned.get();
  if (index_.Insert(raw) != raw) return false;  // already listed
  raw->selected_ = false;
  std::size_t at = entries_.size();
  if (sort_.sorted && batchDepth_ == 0) {
    // After the entries it equals, so that equal texts keep the order in which they came.
    const auto pos = std::upper_bound(entries_.begin(), entries_.end(), raw,
                                      [this](const PrintListEntry* x, const auto& y) { return Less(*x, *y); });
    at = static_cast<std::size_t>(pos - entries_.begin());
  }
  const PrintListEntry* current = at < entries_.size() ? CurrentEntry() : nullptr;
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(owned));
  Renumber(at);
  if (current) MoveCurrentTo(current);
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
  std::vector<std::unique_ptr<PrintListEntry>> batch(std::make_move_iterator(entries_.begin() + batchStart_),
                                                     std::make_move_iterator(entries_.end()));
  entries_.resize(batchStart_);
  auto less = [this](const PrintListEntry* x, const auto& y) { return Less(*x, *y); };
  for (auto& entry : batch) {
    const auto pos = std::upper_bound(entries_.begin(), entries_.end(), entry.get(), less);
    entries_.insert(pos, std::move(entry));
  }
  Renumber(0);
  MoveCurrentTo(current);
}

void PrintList::Renumber(std::size_t from) {
  for (std::size_t i = from; i < entries_.size(); ++i) entries_[i]->position_ = static_cast<std::uint32_t>(i);
}

void PrintList::SetSelected(std::size_t index, bool selected) {
  PrintListEntry& e = *entries_[index];
  if (e.selected_ == selected) return;
  e.selected_ = selected;
  selected ? ++selectedCount_ : --selectedCount_;
}

void PrintList::SetSelectedRange(std::size_t first, std::size_t last, bool selected) {
  for (std::size_t i = first; i <= last && i < entries_.size(); ++i) SetSelected(i, selected);
}

void PrintList::SetAllSelected(bool selected) {
  for (auto& e : entries_) e->selected_ = selected;
  selectedCount_ = selected ? entries_.size() : 0;
}

void PrintList::InvertSelection() {
  for (auto& e : entries_) e->selected_ = !e->selected_;
  selectedCount_ = entries_.size() - selectedCount_;
}

std::optional<std::size_t> PrintList::Current() const {
  const auto index = current_->Get();
  if (!index || *index >= entries_.size()) return std::nullopt;
  return index;
}

void PrintList::SetCurrent(std::optional<std::size_t> index) {
  if (index && *index >= entries_.size()) index.reset();
  if (current_->Get() != index) current_->Set(index);
}

void PrintList::KeepCurrentIn(CurrentEntryStore* store) {
  const auto current = Current();
  current_ = store ? store : &ownCurrent_;
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
  if (selectedCount_ == 0) return 0;
  const std::size_t before = entries_.size();
  const PrintListEntry* current = CurrentEntry();
  if (current && current->selected_) current = nullptr;
  std::erase_if(entries_, [](const auto& e) { return e->selected_; });
  selectedCount_ = 0;
  Renumber(0);
  MoveCurrentTo(current);
  std::vector<PrintListEntry*> left;
  left.reserve(entries_.size());
  for (auto& e : entries_) left.push_back(e.get());
  index_.Rebuild(left);
  return before - entries_.size();
}

void PrintList::Clear() {
  SetCurrent(std::nullopt);
  index_.Clear();
  entries_.clear();
  selectedCount_ = 0;
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
  if (Collated())
    SortByKeys();
  else
    std::stable_sort(entries_.begin(), entries_.end(), [this](const auto& x, const auto& y) { return Less(*x, *y); });
  Renumber(0);
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

std::vector<std::size_t> SelectedIndices(const PrintList& list) {
  std::vector<std::size_t> out;
  out.reserve(list.SelectedCount());
  for (std::size_t i = 0; i < list.Count() && out.size() < list.SelectedCount(); ++i)
    if (list.IsSelected(i)) out.push_back(i);
  return out;
}

}  // namespace velmok
