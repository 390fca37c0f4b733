// The mail report and the maker's web page reach the desktop's mail program and browser. Under
// Wine both go through winebrowser, which runs the Unix programs listed under
// HKCU\Software\Wine\WineBrowser; the test lists there the recording script that
// scripts/wine-env.sh provides, which appends each argument it gets as a line to a file.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "diagnostics/win32/diagnostics_commands.h"
#include "support/win32_test_support.h"
#include "win32/diagnostics_test_support.h"

namespace velmok::testing {
namespace {

TEST(DiagnosticsShell, MailReportAndWebPageReachTheDesktopsPrograms) {
  if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) GTEST_SKIP() << "Wine's winebrowser only";
  wchar_t recorder[1024] = {};
  const DWORD n = GetEnvironmentVariableW(L"VELMOK_SHELL_RECORDER", recorder, 1024);
  ASSERT_TRUE(n > 3 && n < 1024) << "VELMOK_SHELL_RECORDER is not set: run through scripts/test.sh or scripts/wine-run";
  ScopedRegistryValue mailers(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Mailers", recorder);
  ScopedRegistryValue browsers(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Browsers", recorder);
  std::wstring record = L"Z:" + std::wstring(recorder, n - 3) + L".txt";  // beside the script, for ".sh"
  for (wchar_t& c : record) c = c == L'/' ? L'\\' : c;

  win32::Win32Shell shell;
  win32::Win32FileSystem files;
  win32::DiagnosticsCommands commands(GetModuleHandleW(nullptr), shell, files);
  const auto main = MainWindowStandIn();
  const struct {
    const char* name;
    std::function<void()> act;
    std::wstring received;
  } cases[] = {
      {"mail report", [&] { commands.SendMail(main.Get()); },
       L"mailto:support@velmok.example.com?subject=VELMOK&body="
       L"※プログラムフォルダにVELMOK.LOGファイルがあれば、このメールに添付してください。"},
      {"web page (Inet)", [&] { commands.OpenMakersWebPage(); }, L"https://www.velmok.example.com/"},
      {"about box, WWW button",
       [&] {
         AboutBoxWorld world;
         ASSERT_TRUE(world.about.Open());
         SendMessageW(world.about.WWWButton(), BM_CLICK, 0, 0);
         EXPECT_FALSE(world.about.IsOpen()) << "the box closes once the page is handed on";
       },
       L"https://www.velmok.example.com/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileW(record.c_str());
    c.act();
    WaitUntil([&] { return ReadTextFile(record).value_or("").ends_with('\n'); }, 20s);
    EXPECT_EQ(ReadLines(record), std::vector<std::wstring>{c.received});
  }
  DeleteFileW(record.c_str());
}

}  // namespace
}  // namespace velmok::testing
