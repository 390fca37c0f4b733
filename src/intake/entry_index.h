#pragma once
// An index of print list entries: an open-addressing hash table of entry pointers, each with its
// hash beside it, so that a probe reads an entry only when the hashes match. One lookup per
// document offered during an intake, and no allocation per entry. The print list keeps one by key
// (letter case ignored) and one by place (a folder's identity and a name).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmok {

class PrintListEntry;

class EntryIndex {
 public:
  // The entry with `hash` for which `same(entry)` holds, or nullptr.
  template <class Same>
  const PrintListEntry* Find(std::size_t hash, const Same& same) const {
    if (slots_.empty()) return nullptr;
    for (std::size_t i = Slot(hash);; i = Slot(i + 1)) {
      const Bucket& s = slots_[i];
      if (!s.entry) return nullptr;
      if (s.hash == hash && same(*s.entry)) return s.entry;
    }
  }
  // Adds `entry` unless an entry for which `same` holds is there; returns the one in the index.
  template <class Same>
  PrintListEntry* Insert(std::size_t hash, PrintListEntry* entry, const Same& same) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    for (std::size_t i = Slot(hash);; i = Slot(i + 1)) {
      Bucket& slot = slots_[i];
      if (!slot.entry) {
        slot = {hash, entry};
        ++count_;
        return entry;
      }
      if (slot.hash == hash && same(*slot.entry)) return slot.entry;
    }
  }
  void Clear();

 private:
  struct Bucket {
    std::size_t hash = 0;
    PrintListEntry* entry = nullptr;
  };
  std::size_t Slot(std::size_t hash) const { return hash & (slots_.size() - 1); }
  void Grow();

  std::vector<Bucket> slots_;  // a power of two in size, never more than half full
  std::size_t count_ = 0;
};

}  // namespace velmok
