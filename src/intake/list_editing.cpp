#include "intake/list_editing.h"

namespace velmok {

std::size_t DeleteSelectedEntries(PrintList& list) {
  const std::size_t removed = list.RemoveSelected();
  if (removed != 0) list.SetCurrent(std::nullopt);
  return removed;
}

void SelectAllEntries(PrintList& list) {
  list.SetAllSelected(true);
  list.SetCurrent(std::nullopt);
}

void InvertSelectedEntries(PrintList& list) {
  list.InvertSelection();
  list.SetCurrent(std::nullopt);
}

void ClearEntries(PrintList& list) { list.Clear(); }

}  // namespace velmok
