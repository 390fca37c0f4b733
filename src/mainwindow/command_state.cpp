#include "mainwindow/command_state.h"

#include "resource.h"

namespace velmok {

bool lvwPrintFilesAnySelected(const PrintList& list) {
  if (list.Empty()) return false;
  if (list.Current()) return true;
  return list.SelectedCount() > 0;
}

void RefreshMenus(const PrintList& list, const std::function<void(int id, bool enabled)>& setEnabled) {
  const bool anySelected = lvwPrintFilesAnySelected(list);
  const bool current = list.Current().has_value();
  setEnabled(IDM_EDIT_DELETE, anySelected);
  setEnabled(IDT_DELETE, anySelected);
  setEnabled(IDM_POPUP_DELETE, current);
  setEnabled(IDM_FILE_PROPERTY, current);
  setEnabled(IDM_POPUP_PROPERTY, current);
  setEnabled(IDT_PROPERTY, current);
  setEnabled(IDM_PRINT_ALLPRINT, !list.Empty());
  setEnabled(IDT_PRINT, !list.Empty());
  setEnabled(IDM_PRINT_SELECTEDPRINT, anySelected);
  setEnabled(IDM_POPUP_SELECTEDPRINT, anySelected);
}

}  // namespace velmok
