#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/text_collation_win32.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {
namespace {

TEST(Wide, RoundTripAndAnsiCodePage) {
  const std::string text = "ｸﾗﾘｽﾜｰｸｽ 4.0 - [見積.cwj]";
  EXPECT_EQ(Narrow(Widen(text)), text);
  ASSERT_EQ(GetACP(), 932u) << "the tests expect a Japanese system";
  const std::string ansi = ToAnsi("ｸﾗﾘｽﾜｰｸｽ");
  EXPECT_EQ(ansi.size(), 8u) << "half-width katakana are single bytes in code page 932";
  EXPECT_EQ(FromAnsi(ansi), "ｸﾗﾘｽﾜｰｸｽ");
}

// The user's language orders the names, and its sort keys order them exactly as its comparison
// does, so that a list sorted at once by keys and one grown by insertions agree.
TEST(Win32TextCollation, JapaneseOrderAndKeysThatAgreeWithTheComparison) {
  const Win32TextCollation collation;
  // In Japanese order; neighbours in braces compare equal (letter case, kana type, width).
  const std::vector<std::vector<std::string>> ordered = {
      {"１月.cwj", "1月.cwj"}, {"2月.cwj"}, {"Abc.cwj", "abc.cwj", "ＡＢＣ.cwj"}, {"あいさつ.cwj"},
      {"アンケート.cwj"},      {"ｳｨﾝﾄﾞｳ.cwj"}, {"お知らせ.cwj"},              {"漢字.cwj"},
  };
  std::vector<std::pair<std::string, std::size_t>> all;
  for (std::size_t rank = 0; rank < ordered.size(); ++rank)
    for (const auto& text : ordered[rank]) all.emplace_back(text, rank);
  for (const auto& [a, ra] : all) {
    std::string ka;
    collation.AppendSortKey(a, ka);
    for (const auto& [b, rb] : all) {
      SCOPED_TRACE(a + " vs " + b);
      std::string kb;
      collation.AppendSortKey(b, kb);
      const int expected = ra < rb ? -1 : ra > rb ? 1 : 0;
      const int c = collation.Compare(a, b);
      EXPECT_EQ((c > 0) - (c < 0), expected);
      EXPECT_EQ(ka < kb ? -1 : ka > kb ? 1 : 0, expected) << "the keys order as the comparison";
    }
  }
}

}  // namespace
}  // namespace velmok::win32
