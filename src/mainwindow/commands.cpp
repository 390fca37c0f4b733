#include "mainwindow/commands.h"

namespace velmok {

std::string_view ToolbarKeyOf(int buttonId) {
  for (const auto& b : kToolbarButtons)
    if (b.id == buttonId && b.kind != ToolbarButtonKind::Separator) return b.key;
  return {};
}

std::optional<int> RouteToolbarKey(std::string_view key) {
  if (key == "New") return IDM_FILE_NEW;
  if (key == "Property") return IDM_FILE_PROPERTY;
  if (key == "Print") return IDM_PRINT_ALLPRINT;
  if (key == "Delete") return IDM_EDIT_DELETE;
  if (key == "Paste") return IDM_EDIT_PASTE;
  if (key == "VW_Large") return IDM_VIEW_CHANGEVIEW0;
  if (key == "VW_Small") return IDM_VIEW_CHANGEVIEW0 + 1;
  if (key == "VW_List") return IDM_VIEW_CHANGEVIEW0 + 2;
  if (key == "VW_Detail") return IDM_VIEW_CHANGEVIEW0 + 3;
  if (key == "Mail") return IDM_DEBUG_SENDMAIL;
  if (key == "Inet") return IDT_INET;  // no menu twin: the maker's web page
  if (key == "Info") return IDM_HELP_INFO;
  return std::nullopt;
}

int MenuTwinOf(int id) {
  if (id >= IDM_POPUP_VIEW0 && id < IDM_POPUP_VIEW0 + 4) return IDM_VIEW_CHANGEVIEW0 + (id - IDM_POPUP_VIEW0);
  if (id >= IDM_POPUP_SORT0 && id < IDM_POPUP_SORT0 + 4) return IDM_VIEW_SORTORDER0 + (id - IDM_POPUP_SORT0);
  switch (id) {
    case IDM_POPUP_DELETE: return IDM_EDIT_DELETE;
    case IDM_POPUP_PASTE: return IDM_EDIT_PASTE;
    case IDM_POPUP_SELECTEDPRINT: return IDM_PRINT_SELECTEDPRINT;
    case IDM_POPUP_PROPERTY: return IDM_FILE_PROPERTY;
    default: return id;
  }
}

}  // namespace velmok
