#include "clw4sim/key_journal.h"

#include <gtest/gtest.h>

namespace clw4sim {
namespace {

TEST(Clw4SimKeyJournal, LinesReadBackAsTheyWereWritten) {
  struct Case {
    KeyRecord record;
    const char* line;
  };
  const Case cases[] = {
      {{7, 1520, KeyStatus::Used, {KeyKind::Down, 'O', kCtrl}, "ｸﾗﾘｽﾜｰｸｽ 4.0", "open dialog"},
       "7\t1520\tused\tdown\tO\tctrl\tｸﾗﾘｽﾜｰｸｽ 4.0\topen dialog"},
      {{8, 1600, KeyStatus::Used, {KeyKind::Char, 0x898B, 0}, "開く", "typed"},
       "8\t1600\tused\tchar\tU+898B 見\t-\t開く\ttyped"},
      {{9, 1601, KeyStatus::Used, {KeyKind::Char, ' ', 0}, "開く", "typed"},
       "9\t1601\tused\tchar\tU+0020  \t-\t開く\ttyped"},
      {{10, 1700, KeyStatus::Ignored, {KeyKind::Char, 0x10, kCtrl}, "ｸﾗﾘｽﾜｰｸｽ 4.0", "no document"},
       "10\t1700\tignored\tchar\tU+0010\tctrl\tｸﾗﾘｽﾜｰｸｽ 4.0\tno document"},
      {{11, 1800, KeyStatus::Modifier, {KeyKind::SysDown, vk::kMenu, kAlt}, "印刷", "modifier"},
       "11\t1800\tmodifier\tsysdown\tMENU\talt\t印刷\tmodifier"},
      {{12, 1900, KeyStatus::Ignored, {KeyKind::Down, 0x74, kCtrl | kShift | kAlt}, "警告", ""},
       "12\t1900\tignored\tdown\tF5\tctrl+shift+alt\t警告\t"},
      {{13, 2000, KeyStatus::Ignored, {KeyKind::Down, 0xBA, 0}, "", "x"}, "13\t2000\tignored\tdown\t0xBA\t-\t\tx"},
      {{14, 2100, KeyStatus::Used, {KeyKind::Down, vk::kPacket, 0}, "開く", "typed"},
       "14\t2100\tused\tdown\tPACKET\t-\t開く\ttyped"},
      {{15, 2200, KeyStatus::Ignored, {KeyKind::Char, 0xD83D, 0}, "開く", "half"},
       "15\t2200\tignored\tchar\tU+D83D\t-\t開く\thalf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(FormatKeyRecord(c.record), c.line);
    EXPECT_EQ(ParseKeyRecord(c.line), c.record);
    EXPECT_EQ(ParseKeyRecord(std::string(c.line) + "\r"), c.record);
  }
}

TEST(Clw4SimKeyJournal, TabsAndLineEndsInsideAFieldCannotSplitTheLine) {
  const KeyRecord record{1, 2, KeyStatus::Ignored, {KeyKind::Down, 'A', 0}, "a\tb\r\nc", "x\ty"};
  const std::string line = FormatKeyRecord(record);
  EXPECT_EQ(line, "1\t2\tignored\tdown\tA\t-\ta b  c\tx y");
  ASSERT_TRUE(ParseKeyRecord(line).has_value());
  EXPECT_EQ(ParseKeyRecord(line)->window, "a b  c");
}

TEST(Clw4SimKeyJournal, MalformedLinesAreRefused) {
  for (const char* line : {
           "",
           "1\t2\tused\tdown\tO\tctrl\twindow",              // seven fields
           "1\t2\tused\tdown\tO\tctrl\twindow\tnote\textra",  // nine
           "x\t2\tused\tdown\tO\tctrl\tw\tn",
           "1\t2\tfine\tdown\tO\tctrl\tw\tn",
           "1\t2\tused\tup\tO\tctrl\tw\tn",
           "1\t2\tused\tdown\tNOSUCHKEY\tctrl\tw\tn",
           "1\t2\tused\tchar\tO\tctrl\tw\tn",
           "1\t2\tused\tdown\tO\tcontrol\tw\tn",
       }) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(ParseKeyRecord(line).has_value());
  }
}

TEST(Clw4SimKeyJournal, EveryNamedKeyReadsBack) {
  for (std::uint32_t key = 1; key < 0xFF; ++key) {
    SCOPED_TRACE(key);
    EXPECT_EQ(VirtualKeyFromName(VirtualKeyName(key)), key);
  }
  EXPECT_EQ(VirtualKeyName(vk::kReturn), "RETURN");
  EXPECT_EQ(VirtualKeyName(vk::kEscape), "ESCAPE");
  EXPECT_EQ(VirtualKeyName(0x87), "F24");
  EXPECT_TRUE(IsModifierKey(vk::kControl));
  EXPECT_TRUE(IsModifierKey(vk::kRMenu));
  EXPECT_FALSE(IsModifierKey(vk::kReturn));
  EXPECT_FALSE(IsModifierKey(vk::kPacket));
}

}  // namespace
}  // namespace clw4sim
