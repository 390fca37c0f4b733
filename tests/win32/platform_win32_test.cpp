#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/wide.h"
#include "support/win32_test_support.h"

namespace velmok::win32 {
namespace {

TEST(Wide, RoundTripAndAnsiCodePage) {
  const std::string text = "ｸﾗﾘｽﾜｰｸｽ 4.0 - [見積.cwj]";
  EXPECT_EQ(Narrow(Widen(text)), text);
  ASSERT_EQ(GetACP(), 932u) << "the tests expect a Japanese system";
  const std::string ansi = ToAnsi("ｸﾗﾘｽﾜｰｸｽ");
  EXPECT_EQ(ansi.size(), 8u) << "half-width katakana are single bytes in code page 932";
  EXPECT_EQ(FromAnsi(ansi), "ｸﾗﾘｽﾜｰｸｽ");
  // With UTF-8 as the ANSI code page, everything converts, whole.
  EXPECT_EQ(ToAnsi(text + " ü한", velmok::testing::WindowsUtf8Encoding()), text + " ü한");
  EXPECT_EQ(FromAnsi(text + " ü한", CP_UTF8), text + " ü한");
}

}  // namespace
}  // namespace velmok::win32
