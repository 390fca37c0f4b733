#pragma once
// Which of the list-dependent commands are enabled.

#include "intake/print_list.h"
#include "mainwindow/main_view.h"

namespace velmok {

// True when some entry is selected or there is a current entry (a current entry counts even when
// its selection mark is off).
bool lvwPrintFilesAnySelected(const PrintList& list);

// Recomputes the enabled states of the delete, property and print elements. The paste elements
// are the clipboard watch's alone.
void RefreshMenus(const PrintList& list, MainView& view);

}  // namespace velmok
