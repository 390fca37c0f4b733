#include "intake/print_list.h"

#include <algorithm>
#include <cassert>

#include "core/text_compare.h"

namespace velmok {

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

bool PrintList::Less(const PrintListEntry& a, const PrintListEntry& b) const {
  const int c = CompareIgnoringCase(a.Column(sort_.key), b.Column(sort_.key));
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
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(owned));
  Renumber(at);
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
  auto less = [this](const auto& x, const auto& y) { return Less(*x, *y); };
  const auto middle = entries_.begin() + static_cast<std::ptrdiff_t>(batchStart_);
  std::stable_sort(middle, entries_.end(), less);
  std::inplace_merge(entries_.begin(), middle, entries_.end(), less);
  Renumber(0);
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
  if (!current_) return std::nullopt;
  return current_->position_;
}

void PrintList::SetCurrent(std::optional<std::size_t> index) {
  current_ = (index && *index < entries_.size()) ? entries_[*index].get() : nullptr;
}

std::size_t PrintList::RemoveSelected() {
  if (selectedCount_ == 0) return 0;
  const std::size_t before = entries_.size();
  if (current_ && current_->selected_) current_ = nullptr;
  std::erase_if(entries_, [](const auto& e) { return e->selected_; });
  selectedCount_ = 0;
  Renumber(0);
  std::vector<PrintListEntry*> left;
  left.reserve(entries_.size());
  for (auto& e : entries_) left.push_back(e.get());
  index_.Rebuild(left);
  return before - entries_.size();
}

void PrintList::Clear() {
  index_.Clear();
  entries_.clear();
  selectedCount_ = 0;
  current_ = nullptr;
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
  std::stable_sort(entries_.begin(), entries_.end(), [this](const auto& x, const auto& y) { return Less(*x, *y); });
  Renumber(0);
}

std::vector<std::size_t> SelectedIndices(const PrintList& list) {
  std::vector<std::size_t> out;
  out.reserve(list.SelectedCount());
  for (std::size_t i = 0; i < list.Count() && out.size() < list.SelectedCount(); ++i)
    if (list.IsSelected(i)) out.push_back(i);
  return out;
}

}  // namespace velmok
