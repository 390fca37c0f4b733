#include "win32/main_window_harness.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include "resource.h"
#include "win32/real_input.h"

namespace velmok::testing {

namespace {

constexpr UINT_PTR kProbeSubclassId = 0x7E57;
constexpr UINT_PTR kProbeTimer = 0x7E57;

std::wstring CurrentTestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::wstring name = info ? W(std::string(info->test_suite_name()) + "." + info->name()) : L"outside";
  for (wchar_t& c : name)
    if (c == L'/' || c == L'\\') c = L'_';
  return name;
}

bool Enabled(HMENU menu, int id) {
  const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

bool Checked(HMENU menu, int id) {
  const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

LPARAM Point(POINT p) { return MAKELPARAM(p.x, p.y); }

}  // namespace

ScratchSettings::ScratchSettings()
    : root_(L"Software\\VelmokTest\\" + CurrentTestName() + L"-" + std::to_wstring(GetCurrentProcessId())),
      store_(root_) {
  RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
}

ScratchSettings::~ScratchSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str()); }

MainWindowHarness::MainWindowHarness(ScratchSettings& settings, HarnessOptions options) {
  oleInitialised_ = SUCCEEDED(OleInitialize(nullptr));
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);

  platform::ClipboardFiles* clipboard = options.clipboard ? options.clipboard : &ownClipboard_;
  platform::FileSystem* files = options.files ? options.files : &realFiles_;
  frm_ = std::make_unique<win32::FrmMain>(GetModuleHandleW(nullptr),
                                          win32::FrmMainServices{list_, settings.Store(), *clipboard}, handlers_);
  logLevelItems_ = std::make_unique<MainWindowLogLevels>(*frm_, settings.Store());
  logLevels_ = std::make_unique<LogLevelMenu>(*logLevelItems_);
  handlers_.logLevels = logLevels_.get();
  handlers_.log = &log_;
  platform::MessageBoxes* messages = options.messages ? options.messages : &messages_;
  intake_ = std::make_unique<velmok::Intake>(
      list_, *frm_, [this] { frm_->Logic().RefreshMenus(); }, *files, log_, *messages);
  handlers_.onPaste = [this, clipboard] { intake_->PasteFiles(*clipboard); };

  win32::FrmMain::DropHandler onDrop;
  if (options.wireDrop)
    onDrop = [this](const std::optional<std::vector<std::string>>& dropped) { intake_->DropFiles(dropped); };
  const std::string arguments = options.commandLine;
  created_ = frm_->Create(SW_SHOWNORMAL, [this, arguments] { intake_->CommandLineIntake(arguments); },
                          std::move(onDrop));
  if (created_) {
    SetForegroundWindow(Main());
    Pump();
  }
}

MainWindowHarness::~MainWindowHarness() {
  intake_.reset();
  frm_.reset();
  Pump();  // also takes the WM_QUIT that the window's end posts
  if (oleInitialised_) OleUninitialize();
}

void MainWindowHarness::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    if (frm_) {
      frm_->PumpOne(msg);
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

bool MainWindowHarness::PumpUntil(const std::function<bool()>& condition, Millis timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    Pump();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

void MainWindowHarness::Close() {
  if (Main()) SendMessageW(Main(), WM_CLOSE, 0, 0);
  Pump();
}

void MainWindowHarness::Command(int id, int code) {
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(id, code), 0);
  Pump();
}

std::wstring MainWindowHarness::StatusText() const {
  const auto length = LOWORD(SendMessageW(StatusBar(), SB_GETTEXTLENGTHW, 0, 0));
  std::wstring text(length + 1u, L'\0');
  SendMessageW(StatusBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

int MainWindowHarness::ItemCount() const { return static_cast<int>(SendMessageW(ListView(), LVM_GETITEMCOUNT, 0, 0)); }

std::wstring MainWindowHarness::ItemText(int item, int subItem) const {
  wchar_t buffer[1024] = {};
  LVITEMW lvi{};
  lvi.iSubItem = subItem;
  lvi.pszText = buffer;
  lvi.cchTextMax = static_cast<int>(std::size(buffer));
  const auto n = SendMessageW(ListView(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
  return std::wstring(buffer, static_cast<std::size_t>(n));
}

std::vector<std::wstring> MainWindowHarness::ColumnTexts(int subItem) const {
  std::vector<std::wstring> out;
  for (int i = 0; i < ItemCount(); ++i) out.push_back(ItemText(i, subItem));
  return out;
}

std::vector<int> MainWindowHarness::SelectedItems() const {
  std::vector<int> out;
  for (int i = -1; (i = static_cast<int>(SendMessageW(ListView(), LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                                      LVNI_SELECTED))) >= 0;)
    out.push_back(i);
  return out;
}

int MainWindowHarness::FocusedItem() const {
  return static_cast<int>(SendMessageW(ListView(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

DWORD MainWindowHarness::View() const { return static_cast<DWORD>(SendMessageW(ListView(), LVM_GETVIEW, 0, 0)); }

void MainWindowHarness::SetItemState(int item, UINT state, UINT mask) {
  LVITEMW lvi{};
  lvi.state = state;
  lvi.stateMask = mask;
  SendMessageW(ListView(), LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
  Pump();
}

POINT MainWindowHarness::ItemPoint(int item) const {
  RECT r{};
  r.left = LVIR_ICON;
  SendMessageW(ListView(), LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT MainWindowHarness::EmptyPoint() const {
  RECT client{};
  GetClientRect(ListView(), &client);
  return {client.right / 2, client.bottom - 4};
}

void MainWindowHarness::LeftClick(POINT at, WPARAM keys) {
  SendMessageW(ListView(), WM_LBUTTONDOWN, MK_LBUTTON | keys, Point(at));
  SendMessageW(ListView(), WM_LBUTTONUP, keys, Point(at));
  Pump();
}

void MainWindowHarness::RightClick(POINT at) {
  PostMessageW(ListView(), WM_RBUTTONUP, 0, Point(at));
  SendMessageW(ListView(), WM_RBUTTONDOWN, MK_RBUTTON, Point(at));
  Pump();
}

void MainWindowHarness::MiddleClick(POINT at) {
  SendMessageW(ListView(), WM_MBUTTONDOWN, MK_MBUTTON, Point(at));
  SendMessageW(ListView(), WM_MBUTTONUP, 0, Point(at));
  Pump();
}

bool MainWindowHarness::MenuBarEnabled(int id) const { return Enabled(frm_->MenuBar(), id); }
bool MainWindowHarness::MenuBarChecked(int id) const { return Checked(frm_->MenuBar(), id); }
bool MainWindowHarness::PopupEnabled(int id) const { return Enabled(frm_->PopupMenu(), id); }
bool MainWindowHarness::PopupChecked(int id) const { return Checked(frm_->PopupMenu(), id); }
bool MainWindowHarness::ButtonEnabled(int id) const {
  return SendMessageW(Toolbar(), TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
}
bool MainWindowHarness::ButtonChecked(int id) const {
  return SendMessageW(Toolbar(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0) != 0;
}

void MainWindowHarness::ClickButton(int id) {
  const auto index = SendMessageW(Toolbar(), TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0);
  RECT r{};
  SendMessageW(Toolbar(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  SendMessageW(Toolbar(), WM_LBUTTONDOWN, MK_LBUTTON, Point(at));
  SendMessageW(Toolbar(), WM_LBUTTONUP, 0, Point(at));
  Pump();
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (const WORD key : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    inputs.push_back(in);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *--it;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// --- the pop-up menu probe ------------------------------------------------------------------------

namespace {

const int kPopupItems[] = {IDM_POPUP_VIEW0,     IDM_POPUP_VIEW0 + 1, IDM_POPUP_VIEW0 + 2,     IDM_POPUP_VIEW0 + 3,
                           IDM_POPUP_SORT0,     IDM_POPUP_SORT0 + 1, IDM_POPUP_SORT0 + 2,     IDM_POPUP_SORT0 + 3,
                           IDM_POPUP_DELETE,    IDM_POPUP_PASTE,     IDM_POPUP_SELECTEDPRINT, IDM_POPUP_PROPERTY};

}  // namespace

PopupMenuProbe::PopupMenuProbe(HWND owner, HMENU popup) : owner_(owner), popup_(popup) {
  SetWindowSubclass(owner_, Subclass, kProbeSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

PopupMenuProbe::~PopupMenuProbe() {
  if (IsWindow(owner_)) {
    KillTimer(owner_, kProbeTimer);
    RemoveWindowSubclass(owner_, Subclass, kProbeSubclassId);
  }
}

bool PopupMenuProbe::EnabledWhenOpen(int id) const {
  for (const auto& [item, enabled] : snapshot_)
    if (item == id) return enabled;
  ADD_FAILURE() << "item " << id << " was not seen in an open pop-up menu";
  return false;
}

LRESULT CALLBACK PopupMenuProbe::Subclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                          DWORD_PTR selfPtr) noexcept {
  auto* self = reinterpret_cast<PopupMenuProbe*>(selfPtr);
  auto act = [&](HWND menuWindow) {
    KillTimer(hwnd, kProbeTimer);
    self->menuWindowVisible_ = menuWindow && IsWindowVisible(menuWindow);
    self->snapshot_.clear();
    for (const int id : kPopupItems) self->snapshot_.emplace_back(id, Enabled(self->popup_, id));
    if (self->onOpen_) self->onOpen_();
    if (self->keys_.empty() && self->escapeKey_) {
      RealInput::TapFromInside(VK_ESCAPE);
    } else if (self->keys_.empty()) {
      EndMenu();
    } else {
      for (const wchar_t c : self->keys_) PostMessageW(hwnd, WM_CHAR, c, 0);
    }
  };
  switch (msg) {
    case WM_ENTERMENULOOP:
      if (wp) {  // a pop-up menu, not the menu bar
        ++self->opened_;
        self->snapshot_.clear();
        SetTimer(hwnd, kProbeTimer, 50, nullptr);  // in case the menu never reports its idle state
      }
      break;
    case WM_ENTERIDLE:
      if (wp == MSGF_MENU && self->snapshot_.empty()) act(reinterpret_cast<HWND>(lp));
      return 0;
    case WM_TIMER:
      if (wp == kProbeTimer) {
        if (self->snapshot_.empty()) act(FindWindowW(L"#32768", nullptr));
        return 0;
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace velmok::testing
