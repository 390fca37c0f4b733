#include "mainwindow/win32/print_list_view.h"

#include <windowsx.h>

#include "core/text_compare.h"
#include "platform/win32/wide.h"
#include "resource.h"

namespace velmok::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT kKeyboardSelectionMessage = WM_APP + 40;

HICON LoadSizedIcon(int id, int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// Copies UTF-8 text into the control's buffer as UTF-16, cut to fit.
void CopyText(std::string_view text, wchar_t* buffer, int capacity) {
  if (!buffer || capacity <= 0) return;
  int n = text.empty() ? 0
                       : MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), buffer,
                                             capacity - 1);
  if (n == 0 && !text.empty()) {
    const std::wstring wide = Widen(text);
    n = static_cast<int>(std::min<std::size_t>(wide.size(), static_cast<std::size_t>(capacity - 1)));
    wide.copy(buffer, static_cast<std::size_t>(n));
  }
  buffer[n] = L'\0';
}

}  // namespace

bool PrintListView::Create(HWND parent, int id, HINSTANCE instance, UINT dpi) {
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA |
                              LVS_AUTOARRANGE | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                          0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!hwnd_) return false;
  control_ = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd_, GCLP_WNDPROC));
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  ListView_SetCallbackMask(hwnd_, 0);
  SetWindowSubclass(hwnd_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  ApplyDpi(dpi);
  list_.KeepSelectionIn(this);
  return true;
}

PrintListView::~PrintListView() { Detach(); }

// The control is going: the print list keeps the selection itself again.
void PrintListView::Detach() {
  if (!hwnd_) return;
  list_.KeepSelectionIn(nullptr);
  hwnd_ = nullptr;
}

void PrintListView::ApplyDpi(UINT dpi) {
  // "MS UI Gothic", 9 point.
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcscpy_s(lf.lfFaceName, L"MS UI Gothic");
  font_.Reset(CreateFontIndirectW(&lf));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
  LoadImages(dpi);
}

void PrintListView::LoadImages(UINT dpi) {
  const int largeSize = MulDiv(32, static_cast<int>(dpi), 96);
  const int smallSize = MulDiv(16, static_cast<int>(dpi), 96);
  large_.Reset(ImageList_Create(largeSize, largeSize, ILC_COLOR32 | ILC_MASK, 1, 0));
  small_.Reset(ImageList_Create(smallSize, smallSize, ILC_COLOR32 | ILC_MASK, 1, 0));
  ScopedIcon largeIcon(LoadSizedIcon(IDI_CLARIS32, largeSize));
  ScopedIcon smallIcon(LoadSizedIcon(IDI_CLARIS16, smallSize));
  ImageList_AddIcon(large_.Get(), largeIcon.Get());  // the picture with key "Claris"
  ImageList_AddIcon(small_.Get(), smallIcon.Get());
  ListView_SetImageList(hwnd_, large_.Get(), LVSIL_NORMAL);
  ListView_SetImageList(hwnd_, small_.Get(), LVSIL_SMALL);
}

void PrintListView::CreateColumns(const int widthsPx[4]) {
  static const wchar_t* const kHeadings[4] = {L"名前", L"更新日時", L"サイズ", L"フォルダ名"};
  while (ListView_DeleteColumn(hwnd_, 0)) {
  }
  for (int i = 0; i < 4; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = widthsPx[i];
    column.pszText = const_cast<wchar_t*>(kHeadings[i]);
    column.iSubItem = i;
    ListView_InsertColumn(hwnd_, i, &column);
  }
  LVCOLUMNW size{};
  size.mask = LVCF_FMT;
  size.fmt = LVCFMT_RIGHT;
  ListView_SetColumn(hwnd_, 2, &size);
}

void PrintListView::SetMode(ListMode mode) {
  static const DWORD kViews[4] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
  ListView_SetView(hwnd_, kViews[static_cast<int>(mode)]);
  ArrangeIcons();
}

void PrintListView::ArrangeIcons() {
  // In the two icon views every entry has a place of its own. Wine's control places them while it
  // switches the view, with the item size of the view it had before (a report row, a large icon),
  // and gives entries that arrive later no place at all: so they are placed again here, once the
  // control knows the new view's item size, and whenever the count changes.
  const DWORD view = ListView_GetView(hwnd_);
  if (view != LV_VIEW_ICON && view != LV_VIEW_SMALLICON) return;
  ListView_Arrange(hwnd_, LVA_DEFAULT);
  // Its scroll bars follow the places only when the count is set: the same count again.
  ListView_SetItemCountEx(hwnd_, ListView_GetItemCount(hwnd_), LVSICF_NOSCROLL);
}

void PrintListView::Refresh() {
  pushing_ = true;
  // One repaint at the end instead of one invalidation per changed item: with 100,000 entries
  // that is the difference between milliseconds and seconds.
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  ListView_SetItemCountEx(hwnd_, static_cast<int>(list_.Count()), LVSICF_NOSCROLL);
  ArrangeIcons();
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
  pushing_ = false;
}

// The control's own answers, asked past the subclasses of the list (ours among them): Wine looks a
// subclassed window's chain up in its window server, a round trip for every message, and a walk
// over 50,000 marks would cost a second.
LRESULT PrintListView::Ask(UINT msg, WPARAM wp, LPARAM lp) const { return CallWindowProcW(control_, hwnd_, msg, wp, lp); }

int PrintListView::Rows() const { return static_cast<int>(Ask(LVM_GETITEMCOUNT)); }

int PrintListView::Next(int after, UINT flags) const {
  return static_cast<int>(Ask(LVM_GETNEXTITEM, static_cast<WPARAM>(after), MAKELPARAM(flags, 0)));
}

void PrintListView::SetState(int item, UINT state, UINT mask) {
  LVITEMW lvi{};
  lvi.state = state;
  lvi.stateMask = mask;
  Ask(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
}

// The entries may have grown ahead of the control (they are shown afresh once a change is done): a
// row must be there before it can be focused or marked. The rows past the count lose their marks.
void PrintListView::HoldRows(std::size_t count) {
  if (Rows() != static_cast<int>(count))
    Ask(LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

std::optional<std::size_t> PrintListView::Current() const {
  if (!hwnd_) return std::nullopt;
  // One look at the control's own record: it keeps the focused item apart from the others.
  const int focused = Next(-1, LVNI_FOCUSED);
  if (focused < 0) return std::nullopt;
  return static_cast<std::size_t>(focused);
}

void PrintListView::SetCurrent(std::optional<std::size_t> index) {
  if (!hwnd_) return;
  const bool wasPushing = pushing_;
  pushing_ = true;
  if (index) {
    const int i = static_cast<int>(*index);
    if (i >= Rows()) HoldRows(list_.Count());
    SetState(i, LVIS_FOCUSED, LVIS_FOCUSED);
    Ask(LVM_SETSELECTIONMARK, 0, i);
  } else if (const int focused = Next(-1, LVNI_FOCUSED); focused >= 0) {
    SetState(focused, 0, LVIS_FOCUSED);
  }
  pushing_ = wasPushing;
}

std::size_t PrintListView::MarkedCount() const {
  return hwnd_ ? static_cast<std::size_t>(Ask(LVM_GETSELECTEDCOUNT)) : 0;
}

bool PrintListView::IsMarked(std::size_t index) const {
  return hwnd_ && Ask(LVM_GETITEMSTATE, index, LVIS_SELECTED) != 0;
}

std::vector<std::size_t> PrintListView::Marked() const {
  std::vector<std::size_t> marked;
  if (!hwnd_) return marked;
  const auto count = static_cast<std::size_t>(Ask(LVM_GETSELECTEDCOUNT));
  marked.reserve(count);
  for (int i = -1; marked.size() < count && (i = Next(i, LVNI_SELECTED)) >= 0;) marked.push_back(static_cast<std::size_t>(i));
  return marked;
}

void PrintListView::SetMarked(std::size_t index, bool marked) {
  if (!hwnd_) return;
  const bool wasPushing = pushing_;
  pushing_ = true;
  if (static_cast<int>(index) >= Rows()) HoldRows(list_.Count());
  SetState(static_cast<int>(index), marked ? LVIS_SELECTED : 0, LVIS_SELECTED);
  pushing_ = wasPushing;
}

// Our own changes of many marks: not fed back as the user's, and painted once at the end (Wine's
// control invalidates every row it marks, one round trip to its server each).
class PrintListView::ManyMarks {
 public:
  explicit ManyMarks(PrintListView& view) : view_(view), wasPushing_(view.pushing_) {
    view_.pushing_ = true;
    if (view_.quiet_++ == 0) SendMessageW(view_.hwnd_, WM_SETREDRAW, FALSE, 0);
  }
  ~ManyMarks() {
    if (--view_.quiet_ == 0) {
      SendMessageW(view_.hwnd_, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(view_.hwnd_, nullptr, TRUE);
    }
    view_.pushing_ = wasPushing_;
  }
  ManyMarks(const ManyMarks&) = delete;
  ManyMarks& operator=(const ManyMarks&) = delete;

 private:
  PrintListView& view_;
  bool wasPushing_;
};

void PrintListView::MarkAll(std::size_t count, bool marked) {
  if (!hwnd_) return;
  const ManyMarks many(*this);
  HoldRows(count);
  if (marked && count > 0) {
    SetState(-1, LVIS_SELECTED, LVIS_SELECTED);  // every entry: one pass
  } else if (!marked && MarkedCount() != 0) {
    // Wine's control clears a virtual list's marks item by item (60 ms for 100,000 entries): a
    // control that shows none has none to clear.
    SetState(-1, 0, LVIS_SELECTED);
  }
}

void PrintListView::MarkExactly(std::size_t count, const std::vector<std::size_t>& marked) {
  if (!hwnd_) return;
  const ManyMarks many(*this);
  if (count > 0 && marked.size() == count) {
    MarkAll(count, true);
    return;
  }
  MarkAll(count, false);
  for (const std::size_t i : marked)
    if (i < count) SetState(static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
}

bool PrintListView::OnNotify(NMHDR* header, LRESULT& result) {
  result = 0;
  switch (header->code) {
    case LVN_GETDISPINFOW:
      OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(header));
      return true;
    case LVN_ITEMCHANGED:
      if (reinterpret_cast<NMLISTVIEW*>(header)->uChanged & LVIF_STATE) OnSelectionChanged();
      return true;
    case LVN_ODSTATECHANGED:  // a range of marks, told apart from the items
      OnSelectionChanged();
      return true;
    case LVN_ODFINDITEMW:
      result = OnFindItem(*reinterpret_cast<NMLVFINDITEMW*>(header));
      return true;
    case LVN_COLUMNCLICK:
      if (events_.columnClick) events_.columnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    case NM_CLICK: {
      const int item = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem >= 0 ? pressedItem_ : -1;
      if (item >= 0 && static_cast<std::size_t>(item) < list_.Count() && events_.itemClick)
        events_.itemClick(static_cast<std::size_t>(item));
      release_.Clicked(1);
      return true;
    }
    case NM_RCLICK:
      release_.Clicked(2);
      result = 1;  // no WM_CONTEXTMENU on top of our pop-up
      return true;
    default:
      return false;
  }
}

void PrintListView::OnGetDispInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= list_.Count()) return;
  const PrintListEntry& entry = list_.At(static_cast<std::size_t>(item.iItem));
  if (item.mask & LVIF_TEXT) CopyText(entry.Column(item.iSubItem), item.pszText, item.cchTextMax);
  if (item.mask & LVIF_IMAGE) item.iImage = 0;
}

void PrintListView::OnSelectionChanged() {
  if (pushing_) return;
  // The focused item and the marks need no following: they are read from the control whenever
  // they are wanted. A change made with the keyboard (not by a click) is reported once the
  // keystroke is done, for the command states and the status line.
  if (!release_.Active() && !keyboardChange_) {
    keyboardChange_ = true;
    PostMessageW(hwnd_, kKeyboardSelectionMessage, 0, 0);
  }
}

LRESULT PrintListView::OnFindItem(const NMLVFINDITEMW& find) {
  // Type-ahead: the first name from the start position on that begins with the typed text.
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  const std::string typed = Narrow(find.lvfi.psz);
  const std::size_t count = list_.Count();
  if (count == 0 || typed.empty()) return -1;
  const auto start = static_cast<std::size_t>(find.iStart < 0 ? 0 : find.iStart);
  for (std::size_t n = 0; n < count; ++n) {
    const std::size_t i = (start + n) % count;
    const std::string_view name = list_.At(i).Name();
    if (name.size() >= typed.size() && EqualIgnoringCase(name.substr(0, typed.size()), typed))
      return static_cast<LRESULT>(i);
  }
  return -1;
}

namespace {

int PressedButton(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return 4;
    default:
      return 0;
  }
}

int ReleasedButton(UINT msg) {
  return msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : msg == WM_MBUTTONUP ? 4 : 0;
}

bool ButtonIsDown(int button) {
  const int key = button == 1 ? VK_LBUTTON : button == 2 ? VK_RBUTTON : VK_MBUTTON;
  return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

LRESULT CALLBACK PrintListView::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR selfPtr) noexcept {
  return reinterpret_cast<PrintListView*>(selfPtr)->HandleMessage(hwnd, msg, wp, lp);
}

LRESULT PrintListView::HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
      // Every press first clears the current entry; the control then handles the press itself.
      // The second press of a double-click is the double-click, not a press: the entry the first
      // one made current stays so (Windows' own list makes it current again on that press, Wine's
      // leaves it alone). Its release is reported all the same.
      const int button = PressedButton(msg);
      const bool doubleClick = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      release_.Pressed(button);
      if (msg == WM_LBUTTONDOWN) {
        // The entry clicked is the one pressed: the control may scroll a row only partly shown
        // into view on the press, and Wine's then reports the row under the release.
        LVHITTESTINFO hit{};
        hit.pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        pressedItem_ = ListView_HitTest(hwnd, &hit);
        if (!(hit.flags & LVHT_ONITEM)) pressedItem_ = -1;
      }
      if (!doubleClick && events_.buttonDown) events_.buttonDown(button);
      const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
      release_.PressHandled(button, ButtonIsDown(button));
      return r;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);  // may report the click first
      release_.ReleaseArrived(ReleasedButton(msg));
      return r;
    }
    case WM_CAPTURECHANGED:
      if (release_.Active()) release_.CaptureLost(ButtonIsDown(release_.Held()));
      break;
    case WM_KEYDOWN: {
      // A key may change the marks of a virtual list without a word (Wine's control tells no
      // range chosen with Shift+Space): what the key changed is seen by looking.
      const std::size_t marked = MarkedCount();
      const auto current = Current();
      const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
      if (hwnd_ && (MarkedCount() != marked || Current() != current)) OnSelectionChanged();
      return r;
    }
    case kKeyboardSelectionMessage:
      keyboardChange_ = false;
      if (!release_.Active() && events_.keyboardSelection) events_.keyboardSelection();
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
      Detach();
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace velmok::win32
