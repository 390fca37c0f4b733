#include <windows.h>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velmok::win32
