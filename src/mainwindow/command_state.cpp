#include "mainwindow/command_state.h"

#include "resource.h"

namespace velmok {

bool lvwPrintFilesAnySelected(const PrintList& list) {
  if (list.Empty()) return false;
  if (list.Current()) return true;
  return list.SelectedCount() > 0;
}

void RefreshMenus(const PrintList& list, MainView& view) {
  const bool anySelected = lvwPrintFilesAnySelected(list);
  const bool current = list.Current().has_value();
  view.SetEnabled(IDM_EDIT_DELETE, anySelected);
  view.SetEnabled(IDT_DELETE, anySelected);
  view.SetEnabled(IDM_POPUP_DELETE, current);
  view.SetEnabled(IDM_FILE_PROPERTY, current);
  view.SetEnabled(IDM_POPUP_PROPERTY, current);
  view.SetEnabled(IDT_PROPERTY, current);
  view.SetEnabled(IDM_PRINT_ALLPRINT, !list.Empty());
  view.SetEnabled(IDT_PRINT, !list.Empty());
  view.SetEnabled(IDM_PRINT_SELECTEDPRINT, anySelected);
  view.SetEnabled(IDM_POPUP_SELECTEDPRINT, anySelected);
}

}  // namespace velmok
