#include "platform/win32/log_file_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/debug_log.h"
#include "core/texts.h"
#include "platform/win32/system_win32.h"
#include "support/win32_test_support.h"

namespace velmok::win32 {
namespace {

using velmok::testing::ReadTextFile;
using velmok::testing::TempDir;

TEST(Win32LogFile, AppendsAnsiLinesWithCrLfAndCreatesTheFile) {
  TempDir dir;
  Win32LogFile file(dir / L"VELMOK.log");
  EXPECT_FALSE(file.CreationDate().has_value());
  EXPECT_TRUE(file.AppendLine(" 1 26/12/06 06:21:32.045 FILE=C:\\書類\\ｸﾗﾘｽ.cwj"));
  EXPECT_FALSE(file.AppendLine(""));
  const auto bytes = ReadTextFile(dir / L"VELMOK.log");
  ASSERT_TRUE(bytes.has_value());
  // Code page 932: 書類 is two double-byte characters, the half-width katakana one byte each.
  EXPECT_EQ(*bytes, " 1 26/12/06 06:21:32.045 FILE=C:\\\x8f\x91\x97\xde\\\xb8\xd7\xd8\xbd.cwj\r\n\r\n");
  const auto created = file.CreationDate();
  ASSERT_TRUE(created.has_value());
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(*created, (platform::LocalDate{now.wYear, now.wMonth, now.wDay}));
  file.Delete();
  EXPECT_FALSE(file.CreationDate().has_value());
}

TEST(Win32LogFile, NamesAreWrittenWithoutLookAlikesInEitherAnsiCodePage) {
  // Code page 932 as Wine has it, and UTF-8, the code page of Windows' worldwide-language option.
  const struct {
    AnsiEncoding encoding;
    const char* bytes;
  } cases[] = {
      // "ü" has no form in code page 932: a '?', not the "u" of another file's name; "①" has one.
      {SystemAnsiEncoding(), "FILE=C:\\b_M?ller \x87\x40\r\n"},
      {velmok::testing::WindowsUtf8Encoding(), "FILE=C:\\b_M\xc3\xbcller \xe2\x91\xa0\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.encoding.codePage);
    TempDir dir;
    Win32LogFile file(dir / L"VELMOK.log", c.encoding);
    ASSERT_TRUE(file.AppendLine("FILE=C:\\b_Müller ①"));
    EXPECT_EQ(ReadTextFile(dir / L"VELMOK.log").value_or(""), c.bytes);
  }
}

TEST(Win32LogFile, CreationTimeCanBeSet) {
  TempDir dir;
  Win32LogFile file(dir / L"VELMOK.log");
  ASSERT_TRUE(file.AppendLine("x"));
  const auto before = file.CreationDate();
  file.SetCreationTime({2025, 3, 4, 23, 59, 58, 0});  // late in the local day: no slip to the next
  if (file.CreationDate() == before) {
    GTEST_SKIP() << "this file system does not keep a settable creation time (Wine keeps none on Linux)";
  }
  EXPECT_EQ(file.CreationDate(), (platform::LocalDate{2025, 3, 4}));
  file.SetCreationTime({2026, 12, 6, 0, 0, 1, 0});
  EXPECT_EQ(file.CreationDate(), (platform::LocalDate{2026, 12, 6}));
}

bool CanAppend(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

// The log is passed over while something stands in its way: what is there stays as it was, the
// debugger lines still go out, and once the way is clear the next line is written.
TEST(Win32LogFile, UnwritableLogIsPassedOverSilently) {
  using velmok::testing::MakeFolder;
  using velmok::testing::WriteTextFile;
  struct Case {
    const char* name;
    const wchar_t* file;  // in the scratch folder
    void (*block)(const std::wstring& path);
    void (*clear)(const std::wstring& path);
    const char* kept;  // what the file holds once the way is clear, before the next line
  };
  const Case cases[] = {
      {"read-only file", L"VELMOK.log",
       [](const std::wstring& p) {
         WriteTextFile(p, "x\r\n");
         SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_READONLY);
       },
       [](const std::wstring& p) { SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL); }, "x\r\n"},
      {"directory in its place", L"VELMOK.log", [](const std::wstring& p) { CreateDirectoryW(p.c_str(), nullptr); },
       [](const std::wstring& p) { RemoveDirectoryW(p.c_str()); }, ""},
      {"missing folder", L"gone\\VELMOK.log", [](const std::wstring&) {},
       [](const std::wstring& p) { MakeFolder(p.substr(0, p.rfind(L'\\'))); }, ""},
  };
  struct RecordingDebugger final : platform::DebuggerOutput {
    std::vector<std::string> lines;
    void Write(std::string_view text) override { lines.emplace_back(text); }
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::wstring path = dir / c.file;
    c.block(path);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const auto content = ReadTextFile(path);
    // Wine run by root writes to a read-only file all the same, as root ignores permission bits.
    const bool heldByTheSystem = !CanAppend(path);
    Win32LogFile file(path);
    RecordingDebugger debugger;
    Win32Clock clock;
    DebugLog log(file, debugger, clock);
    log.InitDebugLog(1);
    log.WriteDebugLog("Check=C:\\a.cwj");
    log.InitLogFile();
    EXPECT_EQ(GetFileAttributesW(path.c_str()), attributes) << "what stands there is left as it was";
    if (heldByTheSystem) EXPECT_EQ(ReadTextFile(path), content);
    EXPECT_EQ(debugger.lines,
              (std::vector<std::string>{" 1 " + std::string(texts::kLogInitialised) + "1", " 1 Check=C:\\a.cwj"}));

    c.clear(path);
    log.WriteDebugLog("Next=C:\\b.cwj");
    const std::string written = ReadTextFile(path).value_or("");
    const std::string kept = c.kept;
    EXPECT_EQ(written.substr(0, kept.size()), kept);
    EXPECT_TRUE(written.ends_with(" Next=C:\\b.cwj\r\n")) << written;
  }
}

TEST(Win32LogFile, FileLockedByAnotherHandleIsPassedOver) {
  TempDir dir;
  const std::wstring path = dir / L"VELMOK.log";
  HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Win32LogFile file(path);
  file.AppendLine("locked");
  file.Delete();
  CloseHandle(lock);
  EXPECT_EQ(ReadTextFile(path).value_or("?"), "");
}

}  // namespace
}  // namespace velmok::win32
