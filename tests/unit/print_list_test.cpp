#include "intake/print_list.h"

#include <gtest/gtest.h>

#include "core/text_compare.h"
#include "fakes/print_list_builder.h"
#include "intake/list_editing.h"

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
  EXPECT_EQ(SelectedIndices(list), (std::vector<std::size_t>{0, 2, 3}));
  EXPECT_FALSE(list.Current().has_value());
  InvertSelectedEntries(list);
  EXPECT_EQ(SelectedIndices(list), (std::vector<std::size_t>{1}));
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
