// The Windows side of what keeps keys where they belong: the keyboard sends only to the window it
// was told is in front and says when the foreground changed; it never releases a key the user
// holds; a partial SendInput is undone; windows are found by title within one process; paths are
// checked against the ANSI code page and given their short names.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/ansi_paths_win32.h"
#include "platform/win32/keyboard_win32.h"
#include "platform/key_notation.h"
#include "platform/win32/window_system_win32.h"
#include "win32/clw4sim_session.h"

namespace velmok::testing {
namespace {

using Outcome = platform::Keyboard::Outcome;
using Wait = platform::Keyboard::Wait;

platform::WindowId Id(HWND window) { return reinterpret_cast<platform::WindowId>(window); }

std::size_t KeysTaken(const SimSession& sim) {
  std::size_t n = 0;
  for (const auto& k : sim.Keys()) n += k.status != clw4sim::KeyStatus::Modifier;
  return n;
}

class Win32KeyboardTest : public Clw4SimTest {};

TEST_F(Win32KeyboardTest, KeysGoOnlyToTheWindowCheckedToBeInFront) {
  SimSession sim;
  const std::wstring document = sim.MakeDocument(L"見積.cwj");
  ASSERT_TRUE(sim.Launch());
  ASSERT_TRUE(sim.WaitForForeground(sim.Main()));
  win32::Win32Keyboard keyboard;

  // Told another window is in front: nothing goes out.
  const HWND desktop = GetDesktopWindow();
  EXPECT_EQ(keyboard.SendKeysTo(Id(desktop), "^o", Wait::UntilProcessed).outcome, Outcome::NotInFront);
  EXPECT_EQ(KeysTaken(sim), 0u);
  EXPECT_EQ(keyboard.SendKeysTo(Id(sim.Main()), "^o{", Wait::UntilProcessed).outcome, Outcome::Refused);
  EXPECT_EQ(KeysTaken(sim), 0u);

  EXPECT_EQ(keyboard.SendKeysTo(Id(sim.Main()), "^o", Wait::UntilProcessed).outcome, Outcome::Sent);
  const HWND open = sim.WaitForWindow(OpenTitle());
  ASSERT_TRUE(open);
  ASSERT_TRUE(sim.WaitForForeground(open));
  EXPECT_EQ(keyboard.SendKeysTo(Id(sim.Main()), "x", Wait::UntilProcessed).outcome, Outcome::NotInFront)
      << "the main window is not in front while its dialog is";
  EXPECT_EQ(keyboard.SendKeysTo(Id(open), EscapeKeyLiteral(U8(document)), Wait::UntilProcessed).outcome, Outcome::Sent);
  // Enter opens the document and the dialog goes. (Under Wine the keyboard may come back a few
  // milliseconds before the key is taken: explorer's low-level keyboard hook holds injected input
  // back, so it may still find the dialog in front.)
  const Outcome enter = keyboard.SendKeysTo(Id(open), "{ENTER}", Wait::UntilProcessed).outcome;
  EXPECT_TRUE(enter == Outcome::ForegroundChanged || enter == Outcome::Sent) << static_cast<int>(enter);
  EXPECT_TRUE(sim.WaitForTitle(ClarisTitle(L"見積.cwj")));
  ASSERT_TRUE(sim.WaitForForeground(sim.Main()));
  EXPECT_EQ(keyboard.SendKeysTo(Id(open), "^p", Wait::UntilProcessed).outcome, Outcome::NotInFront) << "the dialog has gone";
}

TEST_F(Win32KeyboardTest, NothingGoesOutWhileTheUserHoldsAModifier) {
  SimSession sim;
  ASSERT_TRUE(sim.Launch());
  ASSERT_TRUE(sim.WaitForForeground(sim.Main()));
  win32::Win32Keyboard keyboard;
  for (const WORD held : {WORD{VK_SHIFT}, WORD{VK_CONTROL}, WORD{VK_MENU}, WORD{VK_LWIN}}) {
    SCOPED_TRACE(held);
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = held;
    if (held == VK_LWIN) down.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    ASSERT_EQ(SendInput(1, &down, sizeof down), 1u);
    ASSERT_TRUE(win32::UserHoldsAModifier());
    // The journal first shows the held key itself.
    ASSERT_TRUE(sim.WaitForKey([&](const clw4sim::KeyRecord& k) { return k.event.code == held; }));
    const std::size_t before = KeysTaken(sim);
    EXPECT_EQ(keyboard.SendKeysTo(Id(sim.Main()), "^o", Wait::UntilProcessed).outcome, Outcome::ModifiersHeld);
    Sleep(100);
    EXPECT_EQ(KeysTaken(sim), before) << "no key, and above all no key-up behind the user's back";
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(1, &up, sizeof up), 1u);
    ASSERT_TRUE(WaitUntil([] { return !win32::UserHoldsAModifier(); }, 2s));
  }
  EXPECT_EQ(keyboard.SendKeysTo(Id(sim.Main()), "^o", Wait::UntilProcessed).outcome, Outcome::Sent);
  EXPECT_TRUE(sim.WaitForWindow(OpenTitle()));
}

// What a partial SendInput pressed is released, and the keystrokes whose keys all went down are
// counted as taken: only the rest is sent again.
TEST(Win32Keyboard, APartialSendInputIsUndoneAndWhatTookEffectCounted) {
  const auto strokes = ParseKeyNotation("^ox\U0001F600");
  ASSERT_TRUE(strokes);
  const auto inputs = win32::BuildKeyInputs(*strokes);
  ASSERT_TRUE(inputs);
  // Ctrl, O, O up, Ctrl up, x, x up, then the two halves of 😀 down and up.
  ASSERT_EQ(inputs->size(), 10u);
  const std::size_t taken[] = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3};  // after 0 to 10 events
  for (std::size_t sent = 0; sent <= inputs->size(); ++sent)
    EXPECT_EQ(win32::StrokesTaken(*inputs, sent), taken[sent]) << sent << " events";
  auto keysOf = [](const std::vector<INPUT>& releases) {
    std::vector<std::wstring> out;
    for (const auto& r : releases) {
      EXPECT_TRUE(r.ki.dwFlags & KEYEVENTF_KEYUP);
      out.push_back((r.ki.dwFlags & KEYEVENTF_UNICODE) ? std::wstring(1, static_cast<wchar_t>(r.ki.wScan))
                                                      : std::to_wstring(r.ki.wVk));
    }
    return out;
  };
  const std::wstring ctrl = std::to_wstring(VK_CONTROL);
  const std::wstring o = std::to_wstring('O');
  const struct {
    std::size_t sent;
    std::vector<std::wstring> released;
  } cases[] = {
      {0, {}}, {1, {ctrl}}, {2, {o, ctrl}}, {3, {ctrl}}, {4, {}}, {5, {L"x"}}, {6, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    EXPECT_EQ(keysOf(win32::ReleasesFor(*inputs, c.sent)), c.released);
  }
}

TEST(Win32WindowSystem, WindowsOfOneProcessByTitle) {
  TempDir dir;
  Process other = Process::Launch(BinDir() + L"\\focusthief.exe", L"60000 \"" + (dir / L"k.txt") + L"\" 印刷 behind");
  const HWND theirs = WaitForTopLevel(L"VelmokFocusThief", L"印刷", 10s);
  ASSERT_TRUE(theirs);
  const HWND ours = CreateWindowExW(0, L"STATIC", L"印刷", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(ours);
  win32::Win32WindowSystem windows;
  EXPECT_EQ(windows.FindTopLevelByTitleOf(GetCurrentProcessId(), "印刷"), Id(ours));
  EXPECT_EQ(windows.FindTopLevelByTitleOf(other.Id(), "印刷"), Id(theirs));
  EXPECT_EQ(windows.FindTopLevelByTitleOf(other.Id(), "警告"), platform::kNoWindow);
  EXPECT_EQ(windows.FindTopLevelByTitleOf(GetCurrentProcessId() + 4000, "印刷"), platform::kNoWindow);
  DestroyWindow(ours);
  other.Kill();
}

TEST(Win32AnsiPaths, WhatAnAnsiProgramCanReadAndShortNames) {
  ASSERT_EQ(GetACP(), 932u);
  win32::Win32AnsiPaths paths;
  // Windows' worldwide-language option makes UTF-8 the ANSI code page: every character has its
  // form, only the length can fail.
  win32::Win32AnsiPaths utf8Paths(WindowsUtf8Encoding());
  const struct {
    std::string path;
    bool readable;
    bool readableInUtf8;
  } cases[] = {
      {"C:\\書類\\見積 (案) ｸﾗﾘｽ.cwj", true, true},
      {"C:\\d\\b_Müller.cwj", false, true},  // no ü in code page 932, and no look-alike may stand in
      {"C:\\d\\c_한글.cwj", false, true},
      {"C:\\d\\①②.cwj", true, true},        // in Microsoft's code page 932
      {"C:\\" + std::string(250, 'x') + "\\a.cwj", true, true},         // 259 bytes, 260 with the NUL
      {"C:\\" + std::string(251, 'x') + "\\a.cwj", false, false},
      {"C:\\" + std::string(245, 'x') + "\\見積書.cwj", true, false},   // 259 bytes in 932, 262 in UTF-8
      {"C:\\" + std::string(246, 'x') + "\\見積書.cwj", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 40));
    EXPECT_EQ(paths.ReachesAnsiProgram(c.path), c.readable);
    EXPECT_EQ(utf8Paths.ReachesAnsiProgram(c.path), c.readableInUtf8);
  }

  TempDir dir;
  const std::wstring file = dir / L"c_한글.cwj";
  WriteTextFile(file, "doc");
  const std::string shortForm = paths.ShortForm(U8(file));
  ASSERT_FALSE(shortForm.empty());
  EXPECT_TRUE(paths.ReachesAnsiProgram(shortForm)) << shortForm;
  EXPECT_NE(GetFileAttributesW(W(shortForm).c_str()), INVALID_FILE_ATTRIBUTES) << "names the same file";
  EXPECT_EQ(paths.ShortForm(U8(dir / L"gone.cwj")), "");

  // A path longer than MAX_PATH has a short form too.
  std::wstring deep = dir.Path();
  for (int i = 0; i < 6; ++i) {
    deep += L"\\" + std::wstring(50, L'ü');
    CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
  }
  const std::wstring deepFile = deep + L"\\한.cwj";
  const HANDLE h = CreateFileW((L"\\\\?\\" + deepFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  const std::string deepShort = paths.ShortForm(U8(deepFile));
  EXPECT_TRUE(paths.ReachesAnsiProgram(deepShort)) << deepShort;
  EXPECT_LT(deepShort.size(), 200u);
}

}  // namespace
}  // namespace velmok::testing
