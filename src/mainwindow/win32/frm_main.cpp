#include "mainwindow/win32/frm_main.h"

#include <algorithm>
#include <cmath>

#include "core/texts.h"
#include "intake/win32/drop_target_win32.h"
#include "mainwindow/layout.h"
#include "mainwindow/win32/window_placement.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_frame.h"
#include "resource.h"

namespace velmok::win32 {

namespace {

constexpr int kListId = 100;
constexpr int kStatusId = 101;
constexpr UINT_PTR kClipboardTimer = 1;
constexpr UINT kClipboardInterval = 100;
// A drop's file names, taken in after the dragging program has been let go.
constexpr UINT kDroppedMessage = WM_APP + 1;

bool IsToolbarId(int id) { return id >= IDT_NEW && id <= IDT_INFO; }

int Px(float twips, float perPixel) { return static_cast<int>(std::lround(twips / perPixel)); }

}  // namespace

FrmMain::FrmMain(HINSTANCE instance, FrmMainServices services, MainWindowHandlers& handlers)
    : instance_(instance),
      services_(services),
      handlers_(handlers),
      logic_(std::make_unique<FrmMainLogic>(services_.list, *this, handlers)) {}

FrmMain::~FrmMain() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (dropTarget_) dropTarget_->Release();
}

bool FrmMain::Create(int show, std::function<void()> startupIntake, DropHandler onDrop) {
  startupIntake_ = std::move(startupIntake);

  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance_;
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_APP));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExW(&wc);

  menuBar_ = LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_MAINMENU));
  popup_.Reset(LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_POPUPMENU)));
  accelerators_ = LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(IDR_ACCELERATORS));

  hwnd_ = CreateWindowExW(0, kMainWindowClass, Widen(texts::kAppTitle).c_str(),
                          WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, nullptr, menuBar_, instance_, this);
  if (!hwnd_) return false;

  // The designed client area, 7920 x 4320 twips, at the window's own DPI.
  RECT frame{0, 0, Px(kDesignClientWidthTw, Tx()), Px(kDesignClientHeightTw, Tx())};
  RunningWindows().AdjustWindowRect(frame, WS_OVERLAPPEDWINDOW, true, 0, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  if (onDrop) {
    // lvwPrintFiles decides itself what it takes: file lists, with the copy effect. The drop
    // returns to the dragging program at once (a file manager would be frozen for the length of
    // the walk otherwise); the names it handed over are taken in from the window's own queue.
    onDrop_ = std::move(onDrop);
    dropTarget_ = new ListDropTarget([this](const std::optional<std::vector<std::string>>& files) {
      dropped_.push_back(files);
      PostMessageW(hwnd_, kDroppedMessage, 0, 0);
    });
    RegisterDragDrop(listView_->Handle(), dropTarget_);
  }
  Load();
  ShowWindow(hwnd_, show);
  UpdateWindow(hwnd_);
  SetFocus(listView_->Handle());
  return true;
}

bool FrmMain::CreateChildren() {
  dpi_ = RunningWindows().DpiOf(hwnd_);
  if (!strip_.Create(hwnd_, instance_, dpi_)) return false;

  PrintListView::Events events;
  events.buttonDown = [this](int b) { logic_->ListButtonDown(b); };
  events.itemClick = [this](std::size_t i) { logic_->ListItemClick(i); };
  events.buttonUp = [this](int b) { logic_->ListButtonUp(b); };
  events.columnClick = [this](int c) { logic_->ColumnClick(c); };
  events.keyboardSelection = [this] { logic_->ListKeyboardSelection(); };
  listView_ = std::make_unique<PrintListView>(services_.list, std::move(events));
  if (!listView_->Create(hwnd_, kListId, instance_, dpi_)) return false;

  status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)), instance_, nullptr);
  if (!status_) return false;
  int parts[1] = {-1};  // the one panel "info" fills the bar
  SendMessageW(status_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
  SetStatusText(texts::kStatusStart);
  return true;
}

void FrmMain::Load() {
  ClipboardWatch();
  SetTimer(hwnd_, kClipboardTimer, kClipboardInterval, nullptr);
  logic_->ChangeView(3);

  // Screen places are converted with the screen's factors, not those of the window's monitor:
  // the window may open on a monitor of another scaling than the one it was closed on.
  const TwipsFactors screen = ScreenTwipsFactors();
  const PlacementTwips current = NormalPlacementTwips(hwnd_, screen);
  const PlacementTwips stored = LoadPlacement(services_.settings, current);
  if (!(stored == current)) {
    // The stored rectangle is the window's own on that monitor: not to be rescaled on arrival.
    placing_ = true;
    ApplyPlacementTwips(hwnd_, stored, screen);
    placing_ = false;
  }
  LayOut();

  handlers_.RestoreLogLevel();

  RECT list{};
  GetClientRect(listView_->Handle(), &list);  // inside the border, so the columns fit without a scroll bar
  const auto widths = ColumnWidths(static_cast<float>(list.right - list.left) * Tx());
  const int px[4] = {Px(widths[0], Tx()), Px(widths[1], Tx()), Px(widths[2], Tx()), Px(widths[3], Tx())};
  listView_->CreateColumns(px);
  listView_->SetMode(ListMode::Details);

  if (startupIntake_)
    startupIntake_();
  else
    logic_->RefreshMenus();
}

void FrmMain::Unload() {
  SavePlacement(services_.settings, NormalPlacementTwips(hwnd_, ScreenTwipsFactors()));
  handlers_.SaveLogLevel();
}

void FrmMain::LayOut() {
  if (!hwnd_ || !listView_ || !status_) return;
  SendMessageW(status_, WM_SIZE, 0, 0);  // the status bar docks itself at the bottom
  RECT client{};
  GetClientRect(hwnd_, &client);
  RECT statusRect{};
  GetWindowRect(status_, &statusRect);
  const float tx = Tx();
  const MainLayout l = LayOutMainWindow(client.right - client.left, client.bottom - client.top, tx, tx,
                                        kStripHeightTw, static_cast<float>(statusRect.bottom - statusRect.top) * tx);
  strip_.Place(Px(l.stripLeft, tx), 0, Px(l.stripWidth, tx), Px(kStripHeightTw, tx), Px(l.lineX2, tx),
               Px(kToolbarTopTw, tx), Px(kToolbarHeightTw, tx));
  // The list ends where the status bar begins. Its height rounded from twips on its own could
  // reach a pixel into the bar (495 twips of strip are 49.5 pixels at 144 dpi).
  const int listTop = Px(l.listTop, tx);
  const int statusTop = static_cast<int>(client.bottom - (statusRect.bottom - statusRect.top));
  const int listHeight = l.listHeight > 0 ? std::max(0, statusTop - listTop) : 0;
  MoveWindow(listView_->Handle(), Px(l.listLeft, tx), listTop, Px(l.listWidth, tx), listHeight, TRUE);
}

void FrmMain::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  strip_.ApplyDpi(dpi);
  listView_->ApplyDpi(dpi);
  SendMessageW(status_, WM_SETFONT, 0, TRUE);
  if (!placing_)
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
}

void FrmMain::ClipboardWatch() { logic_->ClipboardWatch(services_.clipboard.OffersFileList()); }

// --- MainView ---------------------------------------------------------------------------------

void FrmMain::SetEnabled(int id, bool enabled) {
  if (IsToolbarId(id)) {
    strip_.SetEnabled(id, enabled);
    return;
  }
  const UINT flags = MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
  EnableMenuItem(menuBar_, static_cast<UINT>(id), flags);
  EnableMenuItem(popup_.Get(), static_cast<UINT>(id), flags);
}

void FrmMain::SetChecked(int id, bool checked) {
  if (IsToolbarId(id)) {
    strip_.SetChecked(id, checked);
    return;
  }
  const UINT flags = MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED);
  CheckMenuItem(menuBar_, static_cast<UINT>(id), flags);
  CheckMenuItem(popup_.Get(), static_cast<UINT>(id), flags);
}

void FrmMain::SetListMode(ListMode mode) { listView_->SetMode(mode); }

void FrmMain::SetStatusText(std::string_view text) {
  const std::wstring wide = Widen(text);
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void FrmMain::ShowSearchStatus(std::string_view text) {
  searchStatus_.Offer(text, static_cast<std::int64_t>(GetTickCount64()));
}

void FrmMain::BeginSearch() { searchStatus_.Begin(); }

void FrmMain::SearchGoesOn() { searchStatus_.Tick(static_cast<std::int64_t>(GetTickCount64())); }

void FrmMain::ListChanged() { listView_->Refresh(); }


void FrmMain::SetBusy(bool busy) {
  busy_ = busy;
  EnableWindow(hwnd_, busy ? FALSE : TRUE);
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
  // The command-line intake runs before the window is shown: focusing the hidden window then
  // activates it unseen, and it opened with an inactive caption. Create focuses the list itself.
  if (!busy && IsWindowVisible(hwnd_)) SetFocus(listView_->Handle());
}

void FrmMain::ShowPopupMenu() {
  POINT at{};
  GetCursorPos(&at);
  ShowPopupMenuAt(at);
}

void FrmMain::ShowPopupMenuAt(POINT screen) {
  const UINT command = static_cast<UINT>(TrackPopupMenu(PopupMenu(), TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x,
                                                         screen.y, 0, hwnd_, nullptr));
  if (command != 0) logic_->Execute(static_cast<int>(command));
}

void FrmMain::CloseWindow() { PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

// --- messages -----------------------------------------------------------------------------------

void FrmMain::HideForPrintRun() {
  ShowWindow(hwnd_, SW_HIDE);
  EnableWindow(hwnd_, FALSE);
}

void FrmMain::ShowAfterPrintRun() {
  EnableWindow(hwnd_, TRUE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

int FrmMain::RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) PumpOne(msg);
  return static_cast<int>(msg.wParam);
}

bool FrmMain::PumpOne(MSG& msg) {
  if (hwnd_ && accelerators_ && !busy_ && (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd)) &&
      TranslateAcceleratorW(hwnd_, accelerators_, &msg))
    return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

LRESULT CALLBACK FrmMain::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return DispatchToWindow(hwnd, msg, wp, lp, &FrmMain::hwnd_, &FrmMain::HandleMessage);
}

LRESULT FrmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      return CreateChildren() ? 0 : -1;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wp), *reinterpret_cast<RECT*>(lp));
      return 0;
    case WM_COMMAND:
      // Menu items (0), accelerators (1) and toolbar buttons alike.
      logic_->Execute(LOWORD(wp));
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      LRESULT result = 0;
      if (listView_ && header->hwndFrom == listView_->Handle() && listView_->OnNotify(header, result)) return result;
      if (ToolbarStrip::OnNotify(header)) return 0;
      return 0;
    }
    case WM_CONTEXTMENU:
      if (logic_->PrintRunUnderWay()) return 0;
      // The keyboard's menu key (or Shift+F10) on the list: the pop-up at the current entry.
      // Its position is (-1, -1): in the low 32 bits of lParam, whatever lParam's width.
      if (listView_ && reinterpret_cast<HWND>(wp) == listView_->Handle() && static_cast<short>(LOWORD(lp)) == -1 &&
          static_cast<short>(HIWORD(lp)) == -1) {
        logic_->RefreshMenus();
        POINT at{0, 0};
        RECT item{};
        if (const auto current = services_.list.Current();
            current && ListView_GetItemRect(listView_->Handle(), static_cast<int>(*current), &item, LVIR_LABEL))
          at = {item.left, item.bottom};
        ClientToScreen(listView_->Handle(), &at);
        ShowPopupMenuAt(at);
        return 0;
      }
      break;
    case WM_TIMER:
      if (wp == kClipboardTimer) ClipboardWatch();
      return 0;
    case kDroppedMessage:
      if (!dropped_.empty()) {
        const auto files = std::move(dropped_.front());
        dropped_.pop_front();
        // Nothing enters the list while a print run holds the program.
        if (onDrop_ && !logic_->PrintRunUnderWay()) onDrop_(files);
      }
      return 0;
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && listView_) SetFocus(listView_->Handle());
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE && !logic_->CloseAllowed()) return 0;
      break;
    case WM_QUERYENDSESSION:
      return logic_->QueryEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (FrmMainLogic::SaveAtEndSession(wp != FALSE)) Unload();
      return 0;
    case WM_CLOSE:
      // Not while a print run holds the program: the run would type on with nobody to see it.
      if (!logic_->CloseAllowed()) return 0;
      Unload();
      KillTimer(hwnd_, kClipboardTimer);
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      if (dropTarget_ && listView_) RevokeDragDrop(listView_->Handle());
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace velmok::win32
