#include "intake/key_index.h"

#include "core/text_compare.h"
#include "intake/print_list.h"

namespace velmok {

const PrintListEntry* KeyIndex::Find(std::string_view key) const {
  return slots_.empty() ? nullptr : Find(key, HashIgnoringCase(key));
}

const PrintListEntry* KeyIndex::Find(std::string_view key, std::size_t hash) const {
  if (slots_.empty()) return nullptr;
  for (std::size_t i = Slot(hash);; i = Slot(i + 1)) {
    const Bucket& s = slots_[i];
    if (!s.entry) return nullptr;
    if (s.hash == hash && EqualIgnoringCase(s.entry->Key(), key)) return s.entry;
  }
}

PrintListEntry* KeyIndex::Insert(PrintListEntry* entry) {
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  return Place(entry->KeyHash(), entry);
}

PrintListEntry* KeyIndex::Place(std::size_t hash, PrintListEntry* entry) {
  for (std::size_t i = Slot(hash);; i = Slot(i + 1)) {
    Bucket& slot = slots_[i];
    if (!slot.entry) {
      slot = {hash, entry};
      ++count_;
      return entry;
    }
    if (slot.hash == hash && EqualIgnoringCase(slot.entry->Key(), entry->Key())) return slot.entry;
  }
}

void KeyIndex::Clear() {
  slots_.clear();
  count_ = 0;
}

void KeyIndex::Grow() {
  std::vector<Bucket> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Bucket{});
  count_ = 0;
  // The keys in the old table differ from each other: each goes to the first free slot.
  for (const Bucket& s : old) {
    if (!s.entry) continue;
    std::size_t i = Slot(s.hash);
    while (slots_[i].entry) i = Slot(i + 1);
    slots_[i] = s;
    ++count_;
  }
}

void KeyIndex::Rebuild(const std::vector<PrintListEntry*>& entries) {
  Clear();
  for (PrintListEntry* e : entries) Insert(e);
}

}  // namespace velmok
