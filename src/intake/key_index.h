#pragma once
// The print list's index by key: an open-addressing hash table of entry pointers, letter case
// ignored. One lookup per document offered during an intake, and no allocation per entry.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmok {

class PrintListEntry;

class KeyIndex {
 public:
  const PrintListEntry* Find(std::string_view key) const;
  // The same, for a key whose hash (HashIgnoringCase) is known.
  const PrintListEntry* Find(std::string_view key, std::size_t hash) const;
  // Adds the entry unless an entry with an equal key is there; returns the one in the index.
  PrintListEntry* Insert(PrintListEntry* entry);
  void Clear();
  // Builds the index afresh from `entries` (after many removals at once).
  void Rebuild(const std::vector<PrintListEntry*>& entries);

 private:
  // The entry with its key's hash beside it: a probe reads the entry only when the hashes match.
  struct Bucket {
    std::size_t hash = 0;
    PrintListEntry* entry = nullptr;
  };
  std::size_t Slot(std::size_t hash) const { return hash & (slots_.size() - 1); }
  void Grow();
  PrintListEntry* Place(std::size_t hash, PrintListEntry* entry);

  std::vector<Bucket> slots_;  // a power of two in size, never more than half full
  std::size_t count_ = 0;
};

}  // namespace velmok
