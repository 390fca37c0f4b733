#include "mainwindow/frm_main_logic.h"

#include "core/texts.h"
#include "intake/list_editing.h"
#include "mainwindow/command_state.h"
#include "mainwindow/commands.h"
#include "resource.h"

namespace velmok {

FrmMainLogic::FrmMainLogic(PrintList& list, MainView& view, MainWindowHandlers& handlers)
    : list_(list), view_(view), handlers_(handlers) {}

bool FrmMainLogic::IsEnabled(int id) const {
  const auto it = enabled_.find(id);
  return it == enabled_.end() || it->second;
}

void FrmMainLogic::SetEnabled(int id, bool enabled) {
  enabled_[id] = enabled;
  view_.SetEnabled(id, enabled);
}

void FrmMainLogic::Execute(int id) {
  if (handlers_.PrintRunUnderWay() || !IsEnabled(id)) return;
  if (id >= IDT_NEW && id <= IDT_INFO) {
    ToolbarClick(id);
    return;
  }
  Perform(MenuTwinOf(id));
}

void FrmMainLogic::ToolbarClick(int buttonId) {
  const auto command = RouteToolbarKey(ToolbarKeyOf(buttonId));
  if (!command) return;
  if (*command == IDT_INET) {
    handlers_.OpenMakersWebPage();
    return;
  }
  Perform(*command);
}

void FrmMainLogic::Perform(int command) {
  if (command >= IDM_VIEW_CHANGEVIEW0 && command < IDM_VIEW_CHANGEVIEW0 + 4) {
    ChangeView(command - IDM_VIEW_CHANGEVIEW0);
    return;
  }
  if (command >= IDM_VIEW_SORTORDER0 && command < IDM_VIEW_SORTORDER0 + 4) {
    ChangeSortOrder(command - IDM_VIEW_SORTORDER0);
    return;
  }
  if (command >= IDM_DEBUG_LOGGINGLEVEL0 && command < IDM_DEBUG_LOGGINGLEVEL0 + kLogLevelItems) {
    handlers_.LogLevelChosen(command - IDM_DEBUG_LOGGINGLEVEL0);
    return;
  }
  switch (command) {
    case IDM_FILE_NEW: mnuFile_New_Click(); break;
    case IDM_FILE_PROPERTY: ShowProperties(); break;
    case IDM_FILE_CLOSE: view_.CloseWindow(); break;
    case IDM_EDIT_DELETE: mnuEdit_Delete_Click(); break;
    case IDM_EDIT_PASTE: handlers_.Paste(); break;
    case IDM_EDIT_ALLSELECT: mnuEdit_AllSelect_Click(); break;
    case IDM_EDIT_CHANGE: mnuEdit_Change_Click(); break;
    case IDM_PRINT_ALLPRINT: handlers_.PrintAll(); break;
    case IDM_PRINT_SELECTEDPRINT: handlers_.PrintSelected(); break;
    case IDM_DEBUG_SENDMAIL: handlers_.SendMail(); break;
    case IDM_HELP_INFO: handlers_.ShowAbout(); break;
    default: break;
  }
}

void FrmMainLogic::RefreshMenus() {
  velmok::RefreshMenus(list_, [this](int id, bool enabled) { SetEnabled(id, enabled); });
}

void FrmMainLogic::ChangeView(int view) {
  for (int i = 0; i < 4; ++i) {
    const bool on = i == view;
    view_.SetChecked(IDM_VIEW_CHANGEVIEW0 + i, on);
    view_.SetChecked(IDM_POPUP_VIEW0 + i, on);
    view_.SetChecked(kViewButtons[static_cast<std::size_t>(i)], on);
    if (on) {
      mode_ = static_cast<ListMode>(i);
      view_.SetListMode(mode_);
    }
  }
}

void FrmMainLogic::ChangeSortOrder(int key) {
  if (key < 0 || key > 3 || handlers_.PrintRunUnderWay()) return;
  list_.ChangeSortOrder(key);
  view_.ListChanged();
}

void FrmMainLogic::ListButtonDown(int /*button*/) {
  if (!list_.Current() || handlers_.PrintRunUnderWay()) return;
  list_.SetCurrent(std::nullopt);
}

void FrmMainLogic::ListItemClick(std::size_t index) {
  RefreshMenus();
  if (index >= list_.Count()) return;
  const PrintListEntry& e = list_.At(index);
  std::string text(texts::kStatusModified);
  text += e.Modified();
  text += texts::kStatusSize;
  text += e.Size();
  view_.SetStatusText(text);
}

void FrmMainLogic::ListButtonUp(int button) {
  if (handlers_.PrintRunUnderWay()) return;
  RefreshMenus();
  if (button == 2) view_.ShowPopupMenu();
}

void FrmMainLogic::ListKeyboardSelection() {
  if (const auto current = list_.Current())
    ListItemClick(*current);
  else
    RefreshMenus();
}

void FrmMainLogic::ClipboardWatch(bool offersFileList) {
  for (const int id : {IDM_EDIT_PASTE, IDM_POPUP_PASTE, IDT_PASTE}) SetEnabled(id, offersFileList);
}

void FrmMainLogic::ShowProperties() {
  const auto current = list_.Current();
  if (!current) return;
  handlers_.ShowFileProperty(list_.At(*current).Key());
}

void FrmMainLogic::mnuFile_New_Click() {
  ClearEntries(list_);
  view_.ListChanged();
  view_.SetStatusText(texts::kStatusStart);
  RefreshMenus();
}

void FrmMainLogic::mnuEdit_Delete_Click() {
  const std::size_t removed = DeleteSelectedEntries(list_);
  if (removed != 0) view_.ListChanged();
  view_.SetStatusText(std::to_string(removed) + std::string(texts::kStatusDeletedSuffix));
  RefreshMenus();
}

void FrmMainLogic::mnuEdit_AllSelect_Click() {
  SelectAllEntries(list_);
  view_.ListChanged();
  RefreshMenus();
}

void FrmMainLogic::mnuEdit_Change_Click() {
  InvertSelectedEntries(list_);
  view_.ListChanged();
  RefreshMenus();
}

}  // namespace velmok
