#include "intake/print_list.h"

#include <gtest/gtest.h>

#include "core/text_compare.h"
#include "fakes/print_list_builder.h"
#include "intake/list_editing.h"

#include <functional>

namespace velmok {
namespace {

using fakes::MakeEntry;

std::vector<std::string> Names(const PrintList& list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.Count(); ++i) out.emplace_back(list.At(i).Name());
  return out;
}

std::vector<std::string> Column(const PrintList& list, int column) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.Count(); ++i) out.emplace_back(list.At(i).Column(column));
  return out;
}

TEST(PrintListEntry, FieldsComeFromThePath) {
  const PrintListEntry e = MakeEntry("C:\\書類\\見積.cwj", "1999/03/07 21:05", "1234 KB");
  EXPECT_EQ(e.Key(), "C:\\書類\\見積.cwj");
  EXPECT_EQ(e.Name(), "見積.cwj");
  EXPECT_EQ(e.Folder(), "C:\\書類");
  EXPECT_EQ(e.Modified(), "1999/03/07 21:05");
  EXPECT_EQ(e.Column(2), "1234 KB");
  EXPECT_EQ(MakeEntry("C:\\a.cwj").Folder(), "C:");
  EXPECT_EQ(MakeEntry("a.cwj").Folder(), "");
}

TEST(PrintList, KeysAreUniqueIgnoringLetterCase) {
  PrintList list;
  EXPECT_TRUE(list.Add(MakeEntry("C:\\Docs\\A.cwj")));
  EXPECT_FALSE(list.Add(MakeEntry("c:\\docs\\a.CWJ")));
  EXPECT_FALSE(list.Add(MakeEntry("C:\\Docs\\A.cwj")));
  EXPECT_TRUE(list.Add(MakeEntry("C:\\Docs\\Ａ.cwj")));
  EXPECT_FALSE(list.Add(MakeEntry("C:\\DOCS\\ａ.cwj")));  // full-width letters fold too
  EXPECT_EQ(list.Count(), 2u);
  ASSERT_NE(list.Find("C:\\DOCS\\A.CWJ"), nullptr);
  EXPECT_EQ(list.Find("C:\\DOCS\\A.CWJ")->Key(), "C:\\Docs\\A.cwj");
  EXPECT_EQ(list.Find("C:\\Docs\\B.cwj"), nullptr);
}

TEST(PrintList, SortToggleKeptDirectionAndTextComparison) {
  PrintList list;
  list.Add(MakeEntry("C:\\z\\b.cwj", "2001/02/03 04:05", "9 KB"));
  list.Add(MakeEntry("C:\\y\\a.cwj", "1999/12/31 23:59", "100 KB"));
  list.Add(MakeEntry("C:\\x\\C.cwj", "2001/02/03 04:05", "10 KB"));
  EXPECT_FALSE(list.Sort().sorted);

  struct Step {
    int key;
    std::vector<std::string> column;  // texts of the sorted column afterwards
    SortDirection direction;
  };
  const std::vector<Step> steps = {
      // The first name sort reverses the initial ascending direction.
      {0, {"C.cwj", "b.cwj", "a.cwj"}, SortDirection::Descending},
      {0, {"a.cwj", "b.cwj", "C.cwj"}, SortDirection::Ascending},
      // Sizes compare as text: 10 KB, 100 KB, 9 KB.
      {2, {"10 KB", "100 KB", "9 KB"}, SortDirection::Ascending},
      {2, {"9 KB", "100 KB", "10 KB"}, SortDirection::Descending},
      // Another column keeps the direction last in force.
      {3, {"C:\\z", "C:\\y", "C:\\x"}, SortDirection::Descending},
      {1, {"2001/02/03 04:05", "2001/02/03 04:05", "1999/12/31 23:59"}, SortDirection::Descending},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.key);
    list.ChangeSortOrder(s.key);
    EXPECT_TRUE(list.Sort().sorted);
    EXPECT_EQ(list.Sort().direction, s.direction);
    EXPECT_EQ(Column(list, s.key), s.column);
  }
}

TEST(PrintList, EqualTextsKeepTheirOrderAndSortingMovesSelectionAndCurrent) {
  PrintList list;
  list.Add(MakeEntry("C:\\d\\1.cwj", "2020/01/01 00:00"));
  list.Add(MakeEntry("C:\\d\\2.cwj", "2019/01/01 00:00"));
  list.Add(MakeEntry("C:\\d\\3.cwj", "2020/01/01 00:00"));
  list.SetSelected(0, true);
  list.SetCurrent(2);
  list.ChangeSortOrder(1);  // date, ascending
  EXPECT_EQ(Names(list), (std::vector<std::string>{"2.cwj", "1.cwj", "3.cwj"}));
  EXPECT_TRUE(list.IsSelected(1));
  EXPECT_FALSE(list.IsSelected(0));
  EXPECT_EQ(list.Current(), 2u);
  EXPECT_EQ(list.IndexOf(*list.Find("C:\\d\\1.cwj")), 1u);
}

TEST(PrintList, AddedEntriesTakeTheirSortedPlaceAtOnceOrWhenTheBatchEnds) {
  PrintList list;
  list.Add(MakeEntry("C:\\d\\b.cwj"));
  list.Add(MakeEntry("C:\\d\\d.cwj"));
  list.ChangeSortOrder(1);  // date: all equal, insertion order kept
  list.ChangeSortOrder(0);  // name, keeps ascending
  ASSERT_EQ(list.Sort().direction, SortDirection::Ascending);
  list.Add(MakeEntry("C:\\d\\c.cwj"));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"b.cwj", "c.cwj", "d.cwj"}));
  {
    PrintList::Batch batch(list);
    list.Add(MakeEntry("C:\\d\\e.cwj"));
    list.Add(MakeEntry("C:\\d\\a.cwj"));
    EXPECT_EQ(Names(list).back(), "a.cwj");  // appended while the batch lives
    EXPECT_FALSE(list.Add(MakeEntry("C:\\D\\A.CWJ")));  // the index knows it at once
  }
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.cwj", "b.cwj", "c.cwj", "d.cwj", "e.cwj"}));
  for (std::size_t i = 0; i < list.Count(); ++i) EXPECT_EQ(list.IndexOf(list.At(i)), i);
}

// A store that, like a list view, knows the current entry and the marks only by their positions.
class PositionStore final : public SelectionStore {
 public:
  OwnSelection held;
  int sets = 0;
  std::optional<std::size_t> Current() const override { return held.Current(); }
  void SetCurrent(std::optional<std::size_t> index) override {
    held.SetCurrent(index);
    ++sets;
  }
  std::size_t MarkedCount() const override { return held.MarkedCount(); }
  bool IsMarked(std::size_t index) const override { return held.IsMarked(index); }
  std::vector<std::size_t> Marked() const override { return held.Marked(); }
  void SetMarked(std::size_t index, bool marked) override { held.SetMarked(index, marked); }
  void MarkAll(std::size_t count, bool marked) override { held.MarkAll(count, marked); }
  void MarkExactly(std::size_t count, const std::vector<std::size_t>& marked) override {
    held.MarkExactly(count, marked);
  }
};

// Orders texts from their last character back, so that a sort by it differs from one by character
// codes: "xa" < "ab" < "zc".
class BackwardCollation final : public platform::TextCollation {
 public:
  void AppendSortKey(std::string_view text, std::string& key) const override { key.append(text.rbegin(), text.rend()); }
};

std::optional<std::string> CurrentName(const PrintList& list) {
  const auto c = list.Current();
  return c ? std::optional<std::string>(std::string(list.At(*c).Name())) : std::nullopt;
}

std::vector<std::string> MarkedNames(const PrintList& list) {
  std::vector<std::string> out;
  for (const std::size_t i : list.SelectedIndices()) out.emplace_back(list.At(i).Name());
  return out;
}

// However the entries move, the current entry and the marks stay with their documents, in a store
// that knows only positions; a mark or the current entry goes with its document.
TEST(PrintList, TheSelectionStaysWithItsDocumentsInAStoreOfPositions) {
  PositionStore store;
  PrintList list;
  for (const char* name : {"c", "a", "d"}) list.Add(MakeEntry(std::string("C:\\d\\") + name));
  list.SetCurrent(1);  // "a", kept by the list itself until a store takes it over
  list.SetSelected(2, true);
  list.KeepSelectionIn(&store);
  EXPECT_EQ(store.Current(), std::optional<std::size_t>(1));
  EXPECT_EQ(store.Marked(), (std::vector<std::size_t>{2}));
  using Names = std::vector<std::string>;
  struct Step {
    const char* what;
    std::function<void()> act;
    std::optional<std::string> current;
    Names marked;
  };
  const Step steps[] = {
      {"sorted by name, descending", [&] { list.ChangeSortOrder(0); }, "a", {"d"}},
      {"sorted again, ascending", [&] { list.ChangeSortOrder(0); }, "a", {"d"}},
      {"an entry added before them", [&] { list.Add(MakeEntry("C:\\d\\0")); }, "a", {"d"}},
      {"a few added in a batch",
       [&] {
         PrintList::Batch batch(list);
         list.Add(MakeEntry("C:\\d\\1"));
       },
       "a", {"d"}},
      {"others removed", [&] { list.SetSelected(0, true), list.SetSelected(4, true), list.RemoveSelected(); }, "a", {}},
      {"marked, then one added before it", [&] { list.SetSelected(2, true), list.Add(MakeEntry("C:\\d\\b")); }, "a",
       {"c"}},
      {"itself removed", [&] { list.SetSelected(*list.Current(), true), list.RemoveSelected(); }, std::nullopt, {}},
      {"made current again", [&] { list.SetCurrent(1), list.SetSelected(0, true); }, "b", {"1"}},
      {"many added in a batch",
       [&] {
         PrintList::Batch batch(list);
         for (int i = 0; i < 9; ++i) list.Add(MakeEntry("C:\\d\\a" + std::to_string(i)));
       },
       "b", {"1"}},
      {"inverted", [&] { list.InvertSelection(); }, "b", {"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "b"}},
      {"cleared", [&] { list.Clear(); }, std::nullopt, {}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    EXPECT_EQ(CurrentName(list), s.current);
    EXPECT_EQ(MarkedNames(list), s.marked);
    EXPECT_EQ(store.Current(), list.Current()) << "the store holds what the list reports";
  }
  const int sets = store.sets;
  list.Add(MakeEntry("C:\\d\\e"));
  list.SetCurrent(0);
  list.SetCurrent(0);
  EXPECT_EQ(store.sets, sets + 1) << "the same entry again is not sent to the store";
  list.SetSelected(0, true);
  list.KeepSelectionIn(nullptr);
  EXPECT_EQ(CurrentName(list), "e") << "the list keeps it itself again";
  EXPECT_EQ(MarkedNames(list), Names{"e"});
}

// Names and folders sort in the collation's order, whichever way the entries arrive (all sorted at
// once by keys, one by one, a few or many in a batch); times and sizes sort as text.
TEST(PrintList, NamesAndFoldersSortByTheCollationTimesAndSizesAsText) {
  const BackwardCollation backward;
  const std::vector<std::string> expected = {"xa.cwj", "ab.cwj", "zc.cwj"};
  struct Road {
    const char* what;
    std::function<void(PrintList&)> fill;
  };
  auto add = [](PrintList& list, const char* name) { list.Add(MakeEntry(std::string("C:\\") + name)); };
  const Road roads[] = {
      {"sorted at once", [&](PrintList& l) { add(l, "zc.cwj"), add(l, "ab.cwj"), add(l, "xa.cwj"), l.ChangeSortOrder(0), l.ChangeSortOrder(0); }},
      {"one by one into a sorted list",
       [&](PrintList& l) { l.ChangeSortOrder(0), l.ChangeSortOrder(0), add(l, "zc.cwj"), add(l, "xa.cwj"), add(l, "ab.cwj"); }},
      {"a batch into an empty sorted list",
       [&](PrintList& l) {
         l.ChangeSortOrder(0), l.ChangeSortOrder(0);
         PrintList::Batch batch(l);
         add(l, "zc.cwj"), add(l, "ab.cwj"), add(l, "xa.cwj");
       }},
  };
  for (const Road& r : roads) {
    SCOPED_TRACE(r.what);
    PrintList list(backward);
    r.fill(list);
    EXPECT_EQ(Names(list), expected);
  }
  // A few into a long sorted list find their places one by one, by the same order.
  PrintList list(backward);
  list.ChangeSortOrder(0), list.ChangeSortOrder(0);
  for (int i = 0; i < 200; ++i) list.Add(MakeEntry("C:\\f" + std::to_string(i) + "m.cwj"));
  {
    PrintList::Batch batch(list);
    add(list, "yz.cwj"), add(list, "xa.cwj");
  }
  const auto names = Names(list);
  EXPECT_EQ(names.front(), "xa.cwj");
  EXPECT_EQ(names.back(), "yz.cwj");
  // Sizes are text, not the collation's: "10 KB" < "9 KB" either way, and 1 KB < 2 KB.
  PrintList sizes(backward);
  sizes.Add(MakeEntry("C:\\a", "2026/01/02 03:04", "21 KB"));
  sizes.Add(MakeEntry("C:\\b", "2026/01/02 03:04", "12 KB"));
  sizes.ChangeSortOrder(2);
  EXPECT_EQ(Column(sizes, 2), (std::vector<std::string>{"12 KB", "21 KB"}));
}

// The editing commands over a list of six entries named 1..6.
TEST(ListEditing, DeleteSelectAllInvertClear) {
  struct Case {
    const char* name;
    std::vector<std::size_t> selected;
    std::optional<std::size_t> current;
    std::size_t removed;
    std::vector<std::string> left;
    bool currentLeft;
  };
  const std::vector<Case> cases = {
      {"2, 3, 5 selected", {1, 2, 4}, 0, 3, {"1", "4", "6"}, false},
      {"all selected", {0, 1, 2, 3, 4, 5}, 3, 6, {}, false},
      {"none selected keeps the current", {}, 4, 0, {"1", "2", "3", "4", "5", "6"}, true},
      {"current not selected still goes", {0}, 4, 1, {"2", "3", "4", "5", "6"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PrintList list;
    for (int i = 1; i <= 6; ++i) list.Add(MakeEntry("C:\\d\\" + std::to_string(i)));
    for (auto i : c.selected) list.SetSelected(i, true);
    list.SetCurrent(c.current);
    EXPECT_EQ(DeleteSelectedEntries(list), c.removed);
    EXPECT_EQ(Names(list), c.left);
    EXPECT_EQ(list.Current().has_value(), c.currentLeft);
    EXPECT_EQ(list.SelectedCount(), 0u);
  }

  PrintList list;
  SelectAllEntries(list);  // empty: nothing happens
  EXPECT_EQ(list.SelectedCount(), 0u);
  for (int i = 1; i <= 4; ++i) list.Add(MakeEntry("C:\\d\\" + std::to_string(i)));
  list.SetSelected(1, true);
  list.SetCurrent(3);
  InvertSelectedEntries(list);
  EXPECT_EQ(list.SelectedIndices(), (std::vector<std::size_t>{0, 2, 3}));
  EXPECT_FALSE(list.Current().has_value());
  InvertSelectedEntries(list);
  EXPECT_EQ(list.SelectedIndices(), (std::vector<std::size_t>{1}));
  list.SetCurrent(0);
  SelectAllEntries(list);
  EXPECT_EQ(list.SelectedCount(), 4u);
  EXPECT_FALSE(list.Current().has_value());
  ClearEntries(list);
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Find("C:\\d\\1"), nullptr);
  EXPECT_TRUE(list.Add(MakeEntry("C:\\d\\1")));
}

TEST(TextCompare, FoldsLetterCaseOnlyAndOrdersByCode) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  };
  const Case cases[] = {
      {"abc", "ABC", 0},    {"Ａｂ", "ａＢ", 0},  {"Ébc", "ébc", 0}, {"Привет", "пРИВЕТ", 0},
      {"10 KB", "100 KB", -1}, {"100 KB", "9 KB", -1}, {"a", "ab", -1}, {"あ", "ア", -1},
      {"C:\\x", "C:\\X\\y", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    const int r = CompareIgnoringCase(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign);
    EXPECT_EQ(-CompareIgnoringCase(c.b, c.a) > 0, c.sign > 0);
    if (c.sign == 0) {
      EXPECT_EQ(HashIgnoringCase(c.a), HashIgnoringCase(c.b));
    }
  }
}

}  // namespace
}  // namespace velmok
