#include "intake/key_index.h"

#include "core/text_compare.h"
#include "intake/print_list.h"

namespace velmok {

const PrintListEntry* KeyIndex::Find(std::string_view key) const {
  if (slots_.empty()) return nullptr;
  const std::size_t hash = HashIgnoringCase(key);
  for (std::size_t i = Slot(hash);; i = Slot(i + 1)) {
    const PrintListEntry* e = slots_[i];
    if (!e) return nullptr;
    if (e->KeyHash() == hash && EqualIgnoringCase(e->Key(), key)) return e;
  }
}

PrintListEntry* KeyIndex::Insert(PrintListEntry* entry) {
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  const std::size_t hash = entry->KeyHash();
  for (std::size_t i = Slot(hash);; i = Slot(i + 1)) {
    PrintListEntry*& slot = slots_[i];
    if (!slot) {
      slot = entry;
      ++count_;
      return entry;
    }
    if (slot->KeyHash() == hash && EqualIgnoringCase(slot->Key(), entry->Key())) return slot;
  }
}

void KeyIndex::Clear() {
  slots_.clear();
  count_ = 0;
}

void KeyIndex::Grow() {
  std::vector<PrintListEntry*> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, nullptr);
  count_ = 0;
  for (PrintListEntry* e : old)
    if (e) Insert(e);
}

void KeyIndex::Rebuild(const std::vector<PrintListEntry*>& entries) {
  Clear();
  for (PrintListEntry* e : entries) Insert(e);
}

}  // namespace velmok
