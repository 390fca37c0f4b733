#pragma once
// The commands that change the print list other than by intake: delete the selected entries,
// select all, invert the selection, clear the list.

#include <cstddef>

#include "intake/print_list.h"

namespace velmok {

// Removes the selected entries, keeping the order of the rest, and returns how many went; when any
// went, there is no current entry afterwards.
std::size_t DeleteSelectedEntries(PrintList& list);
// Marks every entry selected; there is no current entry afterwards.
void SelectAllEntries(PrintList& list);
// Reverses every selection mark; there is no current entry afterwards.
void InvertSelectedEntries(PrintList& list);
void ClearEntries(PrintList& list);

}  // namespace velmok
