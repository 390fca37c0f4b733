#include "intake/entry_index.h"

namespace velmok {

void EntryIndex::Clear() {
  slots_.clear();
  count_ = 0;
}

void EntryIndex::Grow() {
  std::vector<Bucket> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Bucket{});
  count_ = 0;
  // The entries in the old table differ from each other: each goes to the first free slot.
  for (const Bucket& s : old) {
    if (!s.entry) continue;
    std::size_t i = Slot(s.hash);
    while (slots_[i].entry) i = Slot(i + 1);
    slots_[i] = s;
    ++count_;
  }
}

}  // namespace velmok
