// The list as a person uses it: seeded random sequences of clicks, double-clicks, keys, header
// clicks, view switches and edits, every one sent as real input (SendInput) to the real window,
// and after every action the rules checked against what the window shows:
//   - the current entry is the document the test's own model says the action leaves current: a
//     click on an entry makes it current, on empty space none; a key moves it as the control's
//     keys do; select all, invert and a delete that removes anything leave none; a header sort,
//     a view switch and a paste leave it with its document;
//   - a delete removes exactly the entries the control showed as selected, and says how many;
//   - every list-dependent menu, pop-up and toolbar command is enabled exactly as the command rules
//     give for the list as the control shows it (also while a pop-up menu is open);
//   - a click on an entry shows its time and size on the status line;
//   - a sorted list stays in the order of the user's language (names, folders) or of the text
//     (times, sizes), and the view is the one last chosen.
// The list holds documents with Japanese names and 70 more of one name, so that the few a paste
// brings back into a sorted list find their places one by one. A fixed sequence runs first.
// A failing sequence prints its seed; VELMOK_LIST_SEED=<seed> runs that one alone, with a trace.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>

#include "platform/win32/wide.h"
#include "resource.h"
#include "win32/main_window_harness.h"
#include "win32/real_input.h"

namespace velmok::testing {
namespace {

constexpr int kSequences = 20;
constexpr int kActionsPerSequence = 50;
constexpr std::uint32_t kFirstSeed = 1500;

struct Document {
  const wchar_t* folder;
  const wchar_t* name;
  WORD year, month, day, hour, minute;
  std::size_t bytes;
};

// Names whose order in Japanese differs from the order of their character codes: a full-width
// digit beside its half-width twin, hiragana and katakana together, half-width katakana among them.
const Document kDocuments[] = {
    {L"資料", L"あいさつ.cwj", 2001, 2, 3, 4, 5, 12345},   {L"資料", L"アンケート.cwj", 1999, 12, 31, 23, 59, 9999},
    {L"しりょう", L"ｳｨﾝﾄﾞｳ.cwj", 2001, 2, 3, 4, 5, 100500}, {L"しりょう", L"お知らせ.cwj", 2010, 7, 1, 9, 0, 10000},
    {L"資料", L"１月.cwj", 2005, 1, 1, 0, 0, 10},            {L"しりょう", L"2月.cwj", 2005, 2, 1, 0, 0, 2048},
    {L"資料", L"漢字.cwj", 2020, 5, 5, 5, 5, 55555},
};
// Documents of one name, each in a folder of its own below 資料 (同名00 to 同名69).
constexpr int kSameNamed = 70;
constexpr const wchar_t* kSameName = L"あいさつ.cwj";
// The order of the names and of the folders in Japanese, written down independently of any
// collation. A folder below one of these sorts after it, and those below one folder by their
// (ASCII) names.
const wchar_t* const kNameOrder[] = {L"１月.cwj",      L"2月.cwj",     L"あいさつ.cwj", L"アンケート.cwj",
                                     L"ｳｨﾝﾄﾞｳ.cwj", L"お知らせ.cwj", L"漢字.cwj"};
const wchar_t* const kFolderOrder[] = {L"しりょう", L"資料"};

int RankIn(const std::wstring& text, const wchar_t* const* order, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (text == order[i] || (text.size() > wcslen(order[i]) && text.ends_with(std::wstring(L"\\") + order[i])))
      return static_cast<int>(i);
  return -1;
}

// <0, 0, >0 as folder text `a` sorts before, with or after `b` (both below the same root).
int CompareFolders(const std::wstring& a, const std::wstring& b, const std::wstring& root) {
  auto split = [&](const std::wstring& text) {
    std::wstring rest = text.substr(std::min(text.size(), root.size() + 1));
    const auto slash = rest.find(L'\\');
    const std::wstring top = rest.substr(0, slash);
    return std::make_pair(RankIn(top, kFolderOrder, std::size(kFolderOrder)),
                          slash == std::wstring::npos ? std::wstring() : rest.substr(slash));
  };
  const auto x = split(a);
  const auto y = split(b);
  return x < y ? -1 : x == y ? 0 : 1;
}

// The tree of documents, made once for every sequence.
class DocumentTree {
 public:
  DocumentTree() {
    for (const Document& d : kDocuments) Make(dir_ / d.folder, d.name, d);
    for (int i = 0; i < kSameNamed; ++i) {
      wchar_t folder[16];
      swprintf(folder, 16, L"同名%02d", i);
      Make(dir_ / L"資料" + L"\\" + folder, kSameName, kDocuments[0]);
    }
  }
  const std::wstring& Path() const { return dir_.Path(); }
  static constexpr int kCount = static_cast<int>(std::size(kDocuments)) + kSameNamed;

 private:
  static void Make(const std::wstring& folder, const wchar_t* name, const Document& d) {
    MakeFolder(folder);
    WriteTextFile(folder + L"\\" + name, std::string(d.bytes, 'x'));
    SetFileTimesLocal(folder + L"\\" + name, {d.year, d.month, 0, d.day, d.hour, d.minute, 0, 0});
  }
  TempDir dir_;
};

enum class Kind { Click, DoubleClick, Keys, MenuKey, Header, View, SelectAll, Invert, Delete, Paste };

struct Action {
  Kind kind = Kind::Click;
  int button = 1;               // 1 left, 2 right, 4 middle
  bool onEntry = false;         // or on empty space
  int target = -1;              // the entry, the column or the view
  std::vector<WORD> modifiers;  // held during a click, or pressed with a key
  WORD key = 0;
  POINT at{};  // in the list's client area

  bool Plain() const { return modifiers.empty(); }
  std::string Describe() const {
    std::ostringstream os;
    const char* buttons[] = {"", "left", "right", "", "middle"};
    auto mods = [&] {
      std::string m;
      for (const WORD k : modifiers) m += k == VK_CONTROL ? "Ctrl+" : k == VK_SHIFT ? "Shift+" : "?+";
      return m;
    };
    switch (kind) {
      case Kind::Click:
      case Kind::DoubleClick:
        os << mods() << buttons[button] << (kind == Kind::DoubleClick ? " double-click" : " click") << " on "
           << (onEntry ? "entry " + std::to_string(target) : std::string("empty space")) << " at (" << at.x << ", "
           << at.y << ")";
        break;
      case Kind::Keys: os << "key " << mods() << key; break;
      case Kind::MenuKey: os << "menu key"; break;
      case Kind::Header: os << "header click on column " << target; break;
      case Kind::View: os << "view " << target << " from the toolbar"; break;
      case Kind::SelectAll: os << "select all (Ctrl+A)"; break;
      case Kind::Invert: os << "invert selection (Alt+E, I)"; break;
      case Kind::Delete: os << "delete (Del)"; break;
      case Kind::Paste: os << "paste (Ctrl+V)"; break;
    }
    return os.str();
  }
};

std::wstring StatusFor(const MainWindowHarness& w, int item) {
  return L"更新日時: " + w.ItemText(item, 1) + L" サイズ: " + w.ItemText(item, 2);
}

class ListSequence {
 public:
  ListSequence(std::uint32_t seed, const DocumentTree& tree) : seed_(seed), random_(seed), tree_(tree) {
    clipboard_.offers = true;
    clipboard_.files = std::vector<std::string>{U8(tree_.Path())};
    HarnessOptions options;
    options.clipboard = &clipboard_;
    window_ = std::make_unique<MainWindowHarness>(settings_, options);
    input_ = std::make_unique<RealInput>([this] { window_->Pump(); });
  }

  // Runs `actions` random actions, after the fixed ones; the failures are reported.
  void Run(int actions, bool trace, const std::vector<std::function<Action(ListSequence&)>>& fixed = {}) {
    ASSERT_TRUE(window_->Created());
    window_->Add(tree_.Path());
    ASSERT_EQ(window_->ItemCount(), DocumentTree::kCount);
    // The same place on the screen every time, so that a replayed seed makes the same choices.
    SetWindowPos(window_->Main(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetForegroundWindow(window_->Main());
    window_->PumpUntil([&] { return GetForegroundWindow() == window_->Main(); });
    const int total = static_cast<int>(fixed.size()) + actions;
    for (int n = 0; n < total && !::testing::Test::HasFailure(); ++n) {
      const Action a = n < static_cast<int>(fixed.size()) ? fixed[static_cast<std::size_t>(n)](*this) : Next();
      SCOPED_TRACE(::testing::Message() << "seed " << seed_ << ", action " << n << ": " << a.Describe());
      if (trace) std::printf("  %2d %s\n", n, a.Describe().c_str());
      done_.push_back(a.Describe());
      const Expected expected = Expect(a);
      Perform(a);
      Check(a, "after the action");
      CheckExpected(a, expected);
    }
    if (::testing::Test::HasFailure() && !trace) {
      std::printf("actions of seed %u:\n", seed_);
      for (std::size_t i = 0; i < done_.size(); ++i) std::printf("  %2zu %s\n", i, done_[i].c_str());
    }
  }

  // A left click on an entry, for the fixed sequence.
  Action ClickOn(int item) { return {.onEntry = true, .target = item, .at = PointOn(item).value_or(POINT{})}; }

 private:
  HWND List() const { return window_->ListView(); }
  HWND Header() const { return ListView_GetHeader(List()); }
  int Count() const { return window_->ItemCount(); }
  int Uniform(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool Chance(int percent) { return Uniform(100) < percent; }

  // A point of the list's client area that shows entry `item` (or none, for -1), away from the
  // last click so that two clicks are a double-click only when meant to be.
  std::optional<POINT> PointOn(int item) {
    RECT client{};
    GetClientRect(List(), &client);
    RECT header{};
    if (IsWindowVisible(Header())) GetWindowRect(Header(), &header);
    const int top = header.bottom > header.top ? header.bottom - header.top : 0;
    RECT area = client;
    if (item >= 0) {
      if (!ListView_GetItemRect(List(), item, &area, LVIR_SELECTBOUNDS)) return std::nullopt;
      IntersectRect(&area, &area, &client);
    }
    InflateRect(&area, -2, -2);
    area.top = std::max<LONG>(area.top, top + 2);
    if (area.right <= area.left || area.bottom <= area.top) return std::nullopt;
    for (int attempt = 0; attempt < 200; ++attempt) {
      const POINT p{area.left + Uniform(area.right - area.left), area.top + Uniform(area.bottom - area.top)};
      if (NearLastClick(List(), p)) continue;
      LVHITTESTINFO hit{};
      hit.pt = p;
      const int at = ListView_HitTest(List(), &hit);
      if (item >= 0 ? (at == item && (hit.flags & LVHT_ONITEM)) : (at < 0 && (hit.flags & LVHT_NOWHERE)))
        return p;
    }
    return std::nullopt;
  }

  Action Next() {
    for (;;) {
      Action a;
      const int roll = Uniform(100);
      const bool details = window_->View() == LV_VIEW_DETAILS;
      if (roll < 45) {
        a.kind = Chance(15) ? Kind::DoubleClick : Kind::Click;
        const int b = Uniform(10);
        a.button = a.kind == Kind::DoubleClick ? 1 : b < 6 ? 1 : b < 9 ? 2 : 4;
        a.onEntry = Count() > 0 && Chance(70);
        a.target = a.onEntry ? Uniform(Count()) : -1;  // one not shown is chosen again
        if (a.kind == Kind::Click && a.button == 1 && Chance(30))
          a.modifiers = Chance(50) ? std::vector<WORD>{VK_CONTROL} : std::vector<WORD>{VK_SHIFT};
        const auto p = PointOn(a.target);
        if (!p) continue;
        a.at = *p;
      } else if (roll < 62) {
        a.kind = Kind::Keys;
        // In the icon views Up and Down go by the places of the icons, which the model leaves to
        // the control: there only the keys whose effect does not depend on them.
        const bool icons = window_->View() == LV_VIEW_ICON || window_->View() == LV_VIEW_SMALLICON;
        const WORD keys[] = {VK_HOME, VK_END, VK_SPACE, VK_SPACE, VK_UP, VK_DOWN};
        a.key = keys[Uniform(icons ? 4 : 6)];
        if (Chance(40)) a.modifiers = {Chance(50) ? WORD{VK_SHIFT} : WORD{VK_CONTROL}};
      } else if (roll < 67) {
        a.kind = Kind::MenuKey;
      } else if (roll < 77) {
        if (!details) continue;
        a.kind = Kind::Header;
        a.target = Uniform(4);
      } else if (roll < 83) {
        a.kind = Kind::View;
        a.target = Chance(40) ? 3 : Uniform(4);
      } else if (roll < 87) {
        a.kind = Kind::SelectAll;
      } else if (roll < 91) {
        a.kind = Kind::Invert;
      } else if (roll < 96) {
        a.kind = Kind::Delete;
      } else {
        a.kind = Kind::Paste;
      }
      return a;
    }
  }

  // Two clicks close together in time and place are a double-click: only meant ones may be.
  bool NearLastClick(HWND window, POINT client) const {
    const POINT s = Screen(window, client);
    return std::abs(s.x - lastClick_.x) <= 8 && std::abs(s.y - lastClick_.y) <= 8;
  }

  POINT Screen(HWND window, POINT client) const {
    ClientToScreen(window, &client);
    return client;
  }

  // The window the pointer reaches at a screen point must be the one meant: no other program's
  // window may take the click. The pointer goes there first, as a hand moves it before a click: a
  // tooltip left under it (a toolbar button's, after a view was chosen) hides once it moves away.
  void ExpectReaches(POINT screen, HWND window) {
    ASSERT_TRUE(input_->MoveTo(screen)) << input_->Failure();
    window_->PumpUntil([&] { return WindowFromPoint(screen) == window; });
    const HWND found = WindowFromPoint(screen);
    wchar_t cls[64] = L"";
    wchar_t title[64] = L"";
    if (found) {
      GetClassNameW(found, cls, 64);
      GetWindowTextW(found, title, 64);
    }
    ASSERT_EQ(found, window) << "another window lies over (" << screen.x << ", " << screen.y << "): class "
                             << win32::Narrow(cls) << ", title \"" << win32::Narrow(title) << "\"";
  }

  void ClickAt(HWND window, POINT client, int button, const std::vector<WORD>& modifiers, int count) {
    const POINT screen = Screen(window, client);
    ExpectReaches(screen, window);
    if (::testing::Test::HasFatalFailure()) return;
    ASSERT_TRUE(input_->Click(screen, button, modifiers, count)) << input_->Failure();
    lastClick_ = screen;
  }

  void Perform(const Action& a) {
    PopupMenuProbe probe(window_->Main(), window_->Frm().PopupMenu());
    probe.DismissWithEscapeKey();
    probe.OnOpen([&] { Check(a, "while the pop-up menu is open"); });
    const std::wstring statusBefore = window_->StatusText();
    std::wstring expectedStatus;
    if ((a.kind == Kind::Click || a.kind == Kind::DoubleClick) && a.onEntry) expectedStatus = StatusFor(*window_, a.target);
    switch (a.kind) {
      case Kind::Click:
      case Kind::DoubleClick:
        ClickAt(List(), a.at, a.button, a.modifiers, a.kind == Kind::DoubleClick ? 2 : 1);
        break;
      case Kind::Keys: {
        EnsureListFocused();
        const bool ok = a.modifiers.empty() ? input_->Keys({a.key}) : input_->Keys({a.modifiers[0], a.key});
        ASSERT_TRUE(ok) << input_->Failure();
        break;
      }
      case Kind::MenuKey:
        EnsureListFocused();
        ASSERT_TRUE(input_->Keys({VK_APPS})) << input_->Failure();
        EXPECT_EQ(probe.Opened(), 1) << "the menu key opens the pop-up menu";
        break;
      case Kind::Header: {
        RECT r{};
        Header_GetItemRect(Header(), a.target, &r);
        // Only the part of the heading that the list shows (a scroll bar may cover the rest).
        RECT list{};
        GetClientRect(List(), &list);
        r.right = std::min(r.right, list.right);
        POINT p{};
        do {
          p = {r.left + 10 + Uniform(std::max<LONG>(1, r.right - r.left - 20)), r.top + 2 + Uniform(std::max<LONG>(1, r.bottom - r.top - 4))};
        } while (NearLastClick(Header(), p) && r.right - r.left > 40);
        ClickAt(Header(), p, 1, {}, 1);
        if (::testing::Test::HasFatalFailure()) return;
        NoteSort(a.target);
        break;
      }
      case Kind::View: {
        const HWND toolbar = window_->Toolbar();
        const int id = IDT_VW_LARGE + a.target;
        RECT r{};
        SendMessageW(toolbar, TB_GETITEMRECT, SendMessageW(toolbar, TB_COMMANDTOINDEX, id, 0),
                     reinterpret_cast<LPARAM>(&r));
        ClickAt(toolbar, {(r.left + r.right) / 2 + Uniform(5) - 2, (r.top + r.bottom) / 2 + Uniform(5) - 2}, 1, {}, 1);
        view_ = a.target;
        break;
      }
      case Kind::SelectAll: ASSERT_TRUE(input_->Keys({VK_CONTROL, 'A'})) << input_->Failure(); break;
      case Kind::Invert: ASSERT_TRUE(input_->Keys({{VK_MENU, 'E'}, {'I'}})) << input_->Failure(); break;
      case Kind::Delete: ASSERT_TRUE(input_->Keys({VK_DELETE})) << input_->Failure(); break;
      case Kind::Paste: ASSERT_TRUE(input_->Keys({VK_CONTROL, 'V'})) << input_->Failure(); break;
    }
    if (a.kind == Kind::Click && a.button == 2) EXPECT_EQ(probe.Opened(), 1) << "a right click opens the pop-up menu";
    if (a.kind != Kind::Click || a.button != 2) {
      if (a.kind != Kind::MenuKey) EXPECT_EQ(probe.Opened(), 0) << "no pop-up menu";
    }
    // An item click shows the entry's time and size; a double-click's first click did.
    if (!expectedStatus.empty() && a.button == 1) EXPECT_EQ(window_->StatusText(), expectedStatus) << Diagnose(a);
    if ((a.kind == Kind::Click || a.kind == Kind::DoubleClick) && !a.onEntry)
      EXPECT_EQ(window_->StatusText(), statusBefore) << "a click on empty space leaves the status line";
  }

  // What the window shows around a failed click, for the report.
  std::string Diagnose(const Action& a) {
    std::ostringstream os;
    LVHITTESTINFO hit{};
    hit.pt = a.at;
    const int at = ListView_HitTest(List(), &hit);
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(List(), &cursor);
    os << "now the point hits item " << at << " (flags " << hit.flags << "), the pointer is at (" << cursor.x << ", "
       << cursor.y << "), focused " << window_->FocusedItem() << ", view " << window_->View() << "; names:";
    for (const auto& t : window_->ColumnTexts(0)) os << " " << U8(t);
    return os.str();
  }

  void EnsureListFocused() {
    // Keys go to the focus window; after a toolbar click or a pop-up menu it is the list again.
    ASSERT_EQ(GetFocus(), List()) << "the list does not have the keyboard focus";
  }

  void NoteSort(int column) {
    if (column == sortKey_)
      ascending_ = !ascending_;
    else
      sortKey_ = column;
    sorted_ = true;
  }

  // The rules, against what the control shows.
  void Check(const Action& a, const char* when) {
    SCOPED_TRACE(when);
    const int count = Count();
    const std::vector<int> marks = window_->SelectedItems();
    const int focused = window_->FocusedItem();
    PrintList& model = window_->Model();

    EXPECT_EQ(static_cast<int>(model.Count()), count);

    // The command states of the list as it is shown.
    const bool current = focused >= 0;
    const bool anySelected = count > 0 && (current || !marks.empty());
    const struct {
      int id;
      bool enabled;
    } rules[] = {
        {IDM_EDIT_DELETE, anySelected},  {IDT_DELETE, anySelected},       {IDM_POPUP_DELETE, current},
        {IDM_FILE_PROPERTY, current},    {IDM_POPUP_PROPERTY, current},   {IDT_PROPERTY, current},
        {IDM_PRINT_ALLPRINT, count > 0}, {IDT_PRINT, count > 0},          {IDM_PRINT_SELECTEDPRINT, anySelected},
        {IDM_POPUP_SELECTEDPRINT, anySelected}, {IDM_EDIT_PASTE, true},   {IDM_POPUP_PASTE, true},
        {IDT_PASTE, true},               {IDM_FILE_NEW, true},            {IDM_EDIT_ALLSELECT, true},
        {IDM_EDIT_CHANGE, true},         {IDT_NEW, true},                 {IDM_VIEW_SORTORDER0 + 3, true},
    };
    for (const auto& r : rules) {
      const bool shown = r.id >= IDT_NEW ? window_->ButtonEnabled(r.id)
                         : r.id >= IDM_POPUP_VIEW0 ? window_->PopupEnabled(r.id)
                                                   : window_->MenuBarEnabled(r.id);
      EXPECT_EQ(shown, r.enabled) << "command " << r.id << " with " << count << " entries, " << marks.size()
                                  << " marks, focused item " << focused;
    }

    // The view last chosen, checked in both menus and pressed on the toolbar.
    const DWORD views[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
    EXPECT_EQ(window_->View(), views[view_]);
    for (int v = 0; v < 4; ++v) {
      EXPECT_EQ(window_->MenuBarChecked(IDM_VIEW_CHANGEVIEW0 + v), v == view_);
      EXPECT_EQ(window_->ButtonChecked(IDT_VW_LARGE + v), v == view_);
    }

    // A sorted list keeps its order, whatever was added or removed since.
    if (sorted_) {
      const std::vector<std::wstring> texts = window_->ColumnTexts(sortKey_);
      for (std::size_t i = 1; i < texts.size(); ++i) {
        int c;
        if (sortKey_ == 0) {
          c = RankIn(texts[i - 1], kNameOrder, std::size(kNameOrder)) - RankIn(texts[i], kNameOrder, std::size(kNameOrder));
        } else if (sortKey_ == 3) {
          c = CompareFolders(texts[i - 1], texts[i], tree_.Path());
        } else {
          c = texts[i - 1].compare(texts[i]);
        }
        EXPECT_TRUE(ascending_ ? c <= 0 : c >= 0)
            << "column " << sortKey_ << (ascending_ ? " ascending" : " descending") << ": " << U8(texts[i - 1])
            << " before " << U8(texts[i]);
      }
    }
  }

  // A document as the list shows it: its folder and name.
  std::wstring DocumentAt(int item) const {
    return item < 0 ? std::wstring() : window_->ItemText(item, 3) + L"\\" + window_->ItemText(item, 0);
  }

  // What an action should leave, worked out from the list as it is before the action.
  struct Expected {
    std::wstring current;  // the document, or empty for none
    bool deletes = false;
    std::vector<std::wstring> left;  // the documents a delete leaves, in order
    std::size_t removed = 0;
  };

  Expected Expect(const Action& a) {
    Expected e;
    const int focused = window_->FocusedItem();
    const int n = Count();
    int current = focused;  // the entry now: its document is the one expected current afterwards
    switch (a.kind) {
      case Kind::Click:
      case Kind::DoubleClick:
        // Every press clears the current entry; the control makes the entry under a left or right
        // press current (with or without Ctrl or Shift), and leaves the middle button alone.
        current = a.onEntry && a.button != 4 ? a.target : -1;
        break;
      case Kind::Keys:
        // The control's keys move the focus whatever the modifier (Ctrl moves it alone); Space
        // keeps it. In the details and list views Up and Down go by one.
        if (a.key == VK_HOME && n > 0) current = 0;
        if (a.key == VK_END && n > 0) current = n - 1;
        if (a.key == VK_DOWN && focused + 1 < n) current = focused + 1;
        if (a.key == VK_UP && focused > 0) current = focused - 1;
        break;
      case Kind::SelectAll:
      case Kind::Invert:
        current = -1;
        break;
      case Kind::Delete: {
        const std::vector<int> marks = window_->SelectedItems();
        // Enabled while some entry is selected or current; when it removes any, none is current.
        if (n > 0 && (focused >= 0 || !marks.empty())) {
          e.deletes = true;
          e.removed = marks.size();
          for (int i = 0; i < n; ++i)
            if (!std::binary_search(marks.begin(), marks.end(), i)) e.left.push_back(DocumentAt(i));
          if (!marks.empty()) current = -1;
        }
        break;
      }
      default:
        break;  // a menu key, a header sort, a view, a paste: the document stays current
    }
    e.current = DocumentAt(current);
    return e;
  }

  void CheckExpected(const Action& a, const Expected& e) {
    EXPECT_EQ(U8(DocumentAt(window_->FocusedItem())), U8(e.current)) << "the current entry after " << a.Describe();
    const auto current = window_->Model().Current();
    EXPECT_EQ(U8(DocumentAt(current ? static_cast<int>(*current) : -1)), U8(e.current)) << "the program's current entry";
    if (!e.deletes) return;
    EXPECT_EQ(window_->StatusText(), std::to_wstring(e.removed) + L"個のファイルをリストから削除しました。");
    std::vector<std::wstring> left;
    for (int i = 0; i < Count(); ++i) left.push_back(DocumentAt(i));
    EXPECT_TRUE(left == e.left) << "the delete removes exactly what the control showed as selected: " << left.size()
                                << " entries left, " << e.left.size() << " expected";
  }

  std::uint32_t seed_;
  std::mt19937 random_;
  const DocumentTree& tree_;
  ScratchSettings settings_;
  FakeClipboard clipboard_;
  std::unique_ptr<MainWindowHarness> window_;
  std::unique_ptr<RealInput> input_;
  POINT lastClick_{-100, -100};
  std::vector<std::string> done_;
  int view_ = 3;
  int sortKey_ = 0;
  bool ascending_ = true;
  bool sorted_ = false;
};

TEST(ListSequence, WhatThePersonSeesFollowsTheRules) {
  const DocumentTree tree;
  if (const char* one = std::getenv("VELMOK_LIST_SEED")) {
    const auto seed = static_cast<std::uint32_t>(std::strtoul(one, nullptr, 10));
    std::printf("replaying seed %u\n", seed);
    ListSequence(seed, tree).Run(kActionsPerSequence, true);
    return;
  }
  // A mark the control sets without a word (Shift+Space after Ctrl+Space) is the one deleted.
  ListSequence(0, tree).Run(0, false, {[](ListSequence& s) { return s.ClickOn(1); },
                                       [](ListSequence&) { return Action{.kind = Kind::Keys, .modifiers = {VK_CONTROL}, .key = VK_SPACE}; },
                                       [](ListSequence&) { return Action{.kind = Kind::Keys, .modifiers = {VK_SHIFT}, .key = VK_SPACE}; },
                                       [](ListSequence&) { return Action{.kind = Kind::Delete}; }});
  for (int s = 0; s < kSequences && !::testing::Test::HasFailure(); ++s) {
    const std::uint32_t seed = kFirstSeed + static_cast<std::uint32_t>(s);
    ListSequence(seed, tree).Run(kActionsPerSequence, false);
    if (::testing::Test::HasFailure())
      std::printf("the sequence of seed %u failed; VELMOK_LIST_SEED=%u replays it with a trace\n", seed, seed);
  }
}

}  // namespace
}  // namespace velmok::testing
