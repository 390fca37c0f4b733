// The about box's system information button with the tool registered by its path, by its folder,
// and not at all. A copy of this test program plays the tool (see kStartedAsStandIn).

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/win32_test_support.h"
#include "win32/diagnostics_test_support.h"

namespace velmok::testing {
namespace {

constexpr wchar_t kStandInVariable[] = L"VELMOK_SYSINFO_STANDIN";
constexpr wchar_t kReleaseEvent[] = L"Local\\VELMOK.test.SysInfoRelease";

// Started with VELMOK_SYSINFO_STANDIN set, this program stands in for the system information tool:
// it writes its process id and path to the file that the variable names, waits until the test
// releases it and ends without running a test.
[[maybe_unused]] const bool kStartedAsStandIn = [] {
  wchar_t marker[MAX_PATH * 2] = {}, self[MAX_PATH * 2] = {};
  const DWORD n = GetEnvironmentVariableW(kStandInVariable, marker, MAX_PATH * 2);
  if (n == 0 || n >= MAX_PATH * 2) return false;
  GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  const std::wstring partial = std::wstring(marker) + L".partial";
  WriteTextFile(partial, std::to_string(GetCurrentProcessId()) + "\n" + U8(self) + "\n");
  MoveFileW(partial.c_str(), marker);
  if (HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, kReleaseEvent)) WaitForSingleObject(release, 30000);
  ExitProcess(0);
}();

// Clicks the button; a message box that the click shows is read, and answered, from another
// thread. Returns its text when it had no icon, only an OK button and the about box as owner.
std::optional<std::wstring> ClickAnsweringMessage(HWND button) {
  std::atomic<bool> clicked{false};
  std::optional<std::wstring> seen;
  std::thread answer([&] {
    HWND box = nullptr;
    WaitUntil([&] { return clicked || (box = FindTopLevel(L"#32770", L"ベルモック")) != nullptr; }, 15s);
    if (!box) return;
    const bool okOnly = WindowText(ChildByClass(box, L"Button")) == L"OK" && !ChildByClass(box, L"Button", 1);
    seen = (okOnly && !MessageBoxHasIcon(box) && GetWindow(box, GW_OWNER) == GetParent(button))
               ? MessageBoxText(box)
               : L"(wrong kind of message box) " + MessageBoxText(box);
    PressMessageBoxOk(box);
  });
  SendMessageW(button, BM_CLICK, 0, 0);
  clicked = true;
  answer.join();
  return seen;
}

TEST(AboutSysInfo, RunsTheRegisteredToolWithoutWaitingOrSaysItIsUnavailable) {
  enum Tool { None, StandIn, FolderTool, Missing };
  const struct {
    const char* name;
    Tool path;         // ...\Shared Tools\MSINFO "PATH"
    bool folder;       // ...\Shared Tools Location "MSINFO"
    bool folderHoldsTool;
    Tool runs;         // None: the message instead
  } cases[] = {
      {"registered path", StandIn, false, false, StandIn},
      {"registered path before the folder", StandIn, true, true, StandIn},
      {"registered path to no file", Missing, false, false, None},
      {"folder holding MSINFO32.EXE", None, true, true, FolderTool},
      {"folder without MSINFO32.EXE", None, true, false, None},
      {"nothing registered", None, false, false, None},
  };
  TempDir dir;
  const std::wstring self = BinDir() + L"\\win32_tests.exe";
  MakeFolder(dir / L"stand in");
  MakeFolder(dir / L"MSInfo");
  const std::wstring tools[] = {L"", dir / L"stand in\\sys info.exe", dir / L"MSInfo\\MSINFO32.EXE", dir / L"gone.exe"};
  ASSERT_TRUE(CopyFileW(self.c_str(), tools[StandIn].c_str(), FALSE));
  const std::wstring marker = dir / L"started.txt";
  SetEnvironmentVariableW(kStandInVariable, marker.c_str());  // inherited by the tool
  win32::ScopedHandle release(CreateEventW(nullptr, TRUE, FALSE, kReleaseEvent));

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedRegistryValue path(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH",
                             c.path == None ? std::nullopt : std::optional(tools[c.path]));
    ScopedRegistryValue folder(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO",
                               c.folder ? std::optional(dir / L"MSInfo") : std::nullopt);
    DeleteFileW(tools[FolderTool].c_str());
    if (c.folderHoldsTool) CopyFileW(self.c_str(), tools[FolderTool].c_str(), FALSE);
    DeleteFileW(marker.c_str());
    ResetEvent(release.Get());
    const auto main = MainWindowStandIn();
    AboutBoxWorld world;
    ASSERT_TRUE(world.about.Open());

    const auto message = ClickAnsweringMessage(world.about.SysInfoButton());
    EXPECT_TRUE(world.about.IsOpen()) << "the box stays open";
    if (c.runs == None) {
      EXPECT_EQ(message.value_or(L"(none)"), L"現時点ではシステム情報を使用できません");
      EXPECT_FALSE(ReadTextFile(marker).has_value()) << "nothing was run";
    } else {
      EXPECT_FALSE(message.has_value()) << U8(message.value_or(L""));
      ASSERT_TRUE(WaitUntil([&] { return ReadLines(marker).size() == 2; }, 20s)) << "the tool was not run";
      const auto lines = ReadLines(marker);
      EXPECT_EQ(_wcsicmp(lines[1].c_str(), tools[c.runs].c_str()), 0) << U8(lines[1]);
      // The click has returned while the tool still runs: nobody waits for it.
      win32::ScopedHandle tool(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::stoul(U8(lines[0])))));
      EXPECT_EQ(WaitForSingleObject(tool.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
      SetEvent(release.Get());
      WaitUntil([&] { return WaitForSingleObject(tool.Get(), 0) == WAIT_OBJECT_0; }, 20s);
    }
  }
  SetEnvironmentVariableW(kStandInVariable, nullptr);
}

}  // namespace
}  // namespace velmok::testing
