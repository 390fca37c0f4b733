#pragma once
// Which of the list-dependent commands are enabled.

#include <functional>

#include "intake/print_list.h"

namespace velmok {

// True when some entry is selected or there is a current entry (a current entry counts even when
// its selection mark is off).
bool lvwPrintFilesAnySelected(const PrintList& list);

// Recomputes the enabled states of the delete, property and print elements, each given to
// `setEnabled` by its command identifier. The paste elements are the clipboard watch's alone.
void RefreshMenus(const PrintList& list, const std::function<void(int id, bool enabled)>& setEnabled);

}  // namespace velmok
