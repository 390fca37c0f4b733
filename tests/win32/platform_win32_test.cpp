#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/scoped.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/text_collation_win32.h"
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

TEST(Win32InstanceLock, ATokenHeldByAnyFirstCopyKeepsTheSecondOut) {
  enum class First { None, SameUser, OutOfReach };
  const struct {
    const char* name;
    First first;
    bool acquired;
  } cases[] = {
      {"no first copy", First::None, true},
      {"a first copy of the same user", First::SameUser, false},
      {"a first copy elevated or of another user", First::OutOfReach, false},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring name =
        L"Local\\VelmokTest.Instance." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++n);
    ScopedHandle first;
    if (c.first == First::SameUser) first.Reset(CreateMutexW(nullptr, FALSE, name.c_str()));
    if (c.first == First::OutOfReach) {
      first = velmok::testing::MutexOutOfReach(name);
      ASSERT_FALSE(ScopedHandle(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name.c_str()))) << "the mutex must be out of this copy's reach";
      ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    Win32InstanceLock second(name);
    EXPECT_EQ(second.TryAcquire(), c.acquired);
  }
}

// The icon a message box shows: none, the information icon (style 64) or the exclamation icon
// (style 48). The box is read and answered from another thread while ShowOk waits.
TEST(Win32MessageBoxes, EachIconAsAsked) {
  using Icon = platform::MessageBoxes::Icon;
  const struct {
    Icon icon;
    const wchar_t* system;  // nullptr: no icon
  } cases[] = {{Icon::None, nullptr}, {Icon::Information, IDI_INFORMATION}, {Icon::Exclamation, IDI_EXCLAMATION}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.icon));
    Win32MessageBoxes boxes("ベルモック");
    std::atomic<bool> shown{false};
    HICON seen = nullptr;
    std::wstring text;
    std::thread answer([&] {
      HWND box = nullptr;
      velmok::testing::WaitUntil(
          [&] { return shown || (box = velmok::testing::FindTopLevel(L"#32770", L"ベルモック")) != nullptr; },
          std::chrono::seconds(15));
      if (!box) return;
      text = velmok::testing::MessageBoxText(box);
      EnumChildWindows(
          box,
          [](HWND child, LPARAM found) -> BOOL {
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child))
              *reinterpret_cast<HICON*>(found) = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&seen));
      velmok::testing::PressMessageBoxOk(box);
    });
    boxes.ShowOk("読めないフォルダ", c.icon);
    shown = true;
    answer.join();
    EXPECT_EQ(text, L"読めないフォルダ");
    EXPECT_EQ(seen, c.system ? LoadIconW(nullptr, c.system) : nullptr);
  }
}

std::string KeyOf(const Win32TextCollation& collation, std::string_view text) {
  std::string key;
  collation.AppendSortKey(text, key);
  return key;
}

// The locale refuses every text that begins with "X".
int WINAPI RefusingX(LPCWSTR locale, DWORD flags, LPCWSTR source, int length, LPWSTR out, int room,
                     LPNLSVERSIONINFO version, LPVOID reserved, LPARAM handle) {
  if (length > 0 && source[0] == L'X') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return LCMapStringEx(locale, flags, source, length, out, room, version, reserved, handle);
}

// The user's language orders the names by their keys; a text the locale gives no key comes after
// every other, by its characters' codes, so that it too has one place whichever way it arrives.
TEST(Win32TextCollation, JapaneseOrderByKeysAndOnePlaceForTextsWithoutOne) {
  const Win32TextCollation collation;
  // In Japanese order; neighbours in braces are equal (letter case, kana type, width).
  const std::vector<std::vector<std::string>> ordered = {
      {"１月.cwj", "1月.cwj"}, {"2月.cwj"}, {"Abc.cwj", "abc.cwj", "ＡＢＣ.cwj"}, {"あいさつ.cwj"},
      {"アンケート.cwj"},      {"ｳｨﾝﾄﾞｳ.cwj"}, {"お知らせ.cwj"},              {"漢字.cwj"},
  };
  std::vector<std::pair<std::string, std::size_t>> all;
  for (std::size_t rank = 0; rank < ordered.size(); ++rank)
    for (const auto& text : ordered[rank]) all.emplace_back(text, rank);
  for (const auto& [a, ra] : all) {
    const std::string ka = KeyOf(collation, a);
    for (const auto& [b, rb] : all) {
      SCOPED_TRACE(a + " vs " + b);
      const std::string kb = KeyOf(collation, b);
      EXPECT_EQ(ka < kb ? -1 : ka > kb ? 1 : 0, ra < rb ? -1 : ra > rb ? 1 : 0);
    }
  }
  const Win32TextCollation refusing(&RefusingX);
  const std::vector<std::string> order = {"abc.cwj", "xyz.cwj", "漢字.cwj", "XA.cwj", "Xa.cwj", "Xb.cwj"};
  for (std::size_t i = 1; i < order.size(); ++i)
    EXPECT_LT(KeyOf(refusing, order[i - 1]), KeyOf(refusing, order[i])) << order[i - 1] << " before " << order[i];
}

}  // namespace
}  // namespace velmok::win32
