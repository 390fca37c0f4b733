// The list as a person uses it: seeded random sequences of clicks, double-clicks, keys, header
// clicks, view switches and edits, every one sent as real input (SendInput) to the real window,
// and after every action the rules checked against what the window shows:
//   - the program's current entry is the control's focused item, its marks the control's marks;
//   - a plain click on an entry makes it current, a plain click on empty space leaves none;
//   - every list-dependent menu, pop-up and toolbar command is enabled exactly as the command rules
//     give for the list as the control shows it (also while a pop-up menu is open);
//   - a click on an entry shows its time and size on the status line;
//   - a sorted list stays in the order of the user's language (names, folders) or of the text
//     (times, sizes), and the view is the one last chosen.
// A failing sequence prints its seed; VELMOK_LIST_SEED=<seed> runs that one alone, with a trace.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

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
// Their order and that of the folders in Japanese, written down independently of any collation.
const wchar_t* const kNameOrder[] = {L"１月.cwj",      L"2月.cwj",     L"あいさつ.cwj", L"アンケート.cwj",
                                     L"ｳｨﾝﾄﾞｳ.cwj", L"お知らせ.cwj", L"漢字.cwj"};
const wchar_t* const kFolderOrder[] = {L"しりょう", L"資料"};

int RankIn(const std::wstring& text, const wchar_t* const* order, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (text == order[i] || (text.size() > wcslen(order[i]) && text.ends_with(std::wstring(L"\\") + order[i])))
      return static_cast<int>(i);
  return -1;
}

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
  explicit ListSequence(std::uint32_t seed) : seed_(seed), random_(seed) {
    clipboard_.offers = true;
    clipboard_.files = std::vector<std::string>{U8(dir_.Path())};
    for (const Document& d : kDocuments) {
      MakeFolder(dir_ / d.folder);
      const std::wstring path = dir_ / d.folder + L"\\" + d.name;
      WriteTextFile(path, std::string(d.bytes, 'x'));
      SYSTEMTIME t{};
      t.wYear = d.year;
      t.wMonth = d.month;
      t.wDay = d.day;
      t.wHour = d.hour;
      t.wMinute = d.minute;
      SetFileTimesLocal(path, t);
    }
    HarnessOptions options;
    options.clipboard = &clipboard_;
    window_ = std::make_unique<MainWindowHarness>(settings_, options);
    input_ = std::make_unique<RealInput>([this] { window_->Pump(); });
  }

  // Runs the sequence; false (with the failures reported) when a rule did not hold.
  void Run(int actions, bool trace) {
    ASSERT_TRUE(window_->Created());
    window_->Add(dir_.Path());
    ASSERT_EQ(window_->ItemCount(), static_cast<int>(std::size(kDocuments)));
    // The same place on the screen every time, so that a replayed seed makes the same choices.
    SetWindowPos(window_->Main(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetForegroundWindow(window_->Main());
    window_->PumpUntil([&] { return GetForegroundWindow() == window_->Main(); });
    for (int n = 0; n < actions && !::testing::Test::HasFailure(); ++n) {
      const Action a = Next();
      SCOPED_TRACE(::testing::Message() << "seed " << seed_ << ", action " << n << ": " << a.Describe());
      if (trace) std::printf("  %2d %s\n", n, a.Describe().c_str());
      done_.push_back(a.Describe());
      Perform(a);
      Check(a, "after the action");
    }
    if (::testing::Test::HasFailure() && !trace) {
      std::printf("actions of seed %u:\n", seed_);
      for (std::size_t i = 0; i < done_.size(); ++i) std::printf("  %2zu %s\n", i, done_[i].c_str());
    }
  }

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
        a.target = a.onEntry ? Uniform(Count()) : -1;
        if (a.kind == Kind::Click && a.button == 1 && Chance(30))
          a.modifiers = Chance(50) ? std::vector<WORD>{VK_CONTROL} : std::vector<WORD>{VK_SHIFT};
        const auto p = PointOn(a.target);
        if (!p) continue;
        a.at = *p;
      } else if (roll < 62) {
        a.kind = Kind::Keys;
        const WORD keys[] = {VK_UP, VK_DOWN, VK_HOME, VK_END, VK_SPACE};
        a.key = keys[Uniform(5)];
        if (Chance(25)) a.modifiers = {Chance(50) ? WORD{VK_SHIFT} : WORD{VK_CONTROL}};
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

  // The window the pointer would reach at a screen point must be the one meant: no other
  // program's window may take the click.
  void ExpectReaches(POINT screen, HWND window) {
    ASSERT_EQ(WindowFromPoint(screen), window) << "another window lies over (" << screen.x << ", " << screen.y << ")";
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
        POINT p{};
        do {
          p = {r.left + 10 + Uniform(std::max<LONG>(1, r.right - r.left - 20)), r.top + 2 + Uniform(std::max<LONG>(1, r.bottom - r.top - 4))};
        } while (NearLastClick(Header(), p) && r.right - r.left > 40);
        ClickAt(Header(), p, 1, {}, 1);
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

    // One current entry: the program's is the control's; the marks and the entries agree.
    EXPECT_EQ(model.Current(), focused >= 0 ? std::optional<std::size_t>(focused) : std::nullopt);
    EXPECT_EQ(static_cast<int>(model.Count()), count);
    std::vector<int> modelMarks;
    for (const std::size_t i : model.SelectedIndices()) modelMarks.push_back(static_cast<int>(i));
    EXPECT_EQ(modelMarks, marks) << "the program's selection marks differ from the control's";

    // A plain click decides the current entry (a double-click is a click twice).
    if ((a.kind == Kind::Click || a.kind == Kind::DoubleClick) && a.Plain() && std::string(when) == "after the action") {
      if (a.onEntry && a.button != 4) EXPECT_EQ(focused, a.target) << "the clicked entry is current";
      if (!a.onEntry) EXPECT_EQ(focused, -1) << "a click on empty space leaves no current entry";
    }

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
        if (sortKey_ == 0 || sortKey_ == 3) {
          const auto* order = sortKey_ == 0 ? kNameOrder : kFolderOrder;
          const std::size_t n = sortKey_ == 0 ? std::size(kNameOrder) : std::size(kFolderOrder);
          c = RankIn(texts[i - 1], order, n) - RankIn(texts[i], order, n);
        } else {
          c = texts[i - 1].compare(texts[i]);
        }
        EXPECT_TRUE(ascending_ ? c <= 0 : c >= 0)
            << "column " << sortKey_ << (ascending_ ? " ascending" : " descending") << ": " << U8(texts[i - 1])
            << " before " << U8(texts[i]);
      }
    }
  }

  std::uint32_t seed_;
  std::mt19937 random_;
  TempDir dir_;
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
  if (const char* one = std::getenv("VELMOK_LIST_SEED")) {
    const auto seed = static_cast<std::uint32_t>(std::strtoul(one, nullptr, 10));
    std::printf("replaying seed %u\n", seed);
    ListSequence(seed).Run(kActionsPerSequence, true);
    return;
  }
  for (int s = 0; s < kSequences && !::testing::Test::HasFailure(); ++s) {
    const std::uint32_t seed = kFirstSeed + static_cast<std::uint32_t>(s);
    ListSequence(seed).Run(kActionsPerSequence, false);
    if (::testing::Test::HasFailure())
      std::printf("the sequence of seed %u failed; VELMOK_LIST_SEED=%u replays it with a trace\n", seed, seed);
  }
}

}  // namespace
}  // namespace velmok::testing
