// The intake over the real file system under Wine: long paths, hidden and system folders, a link
// that leads back up, the texts of the entries, and the listing of Windows 7.

#include "platform/win32/file_system_win32.h"

#include <gtest/gtest.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/ansi_paths_win32.h"
#include "platform/win32/newer_windows.h"
#include "printing/claris_paths.h"

#include "resource.h"
#include "win32/main_window_harness.h"

namespace velmok::testing {
namespace {

class IntakeOnWine : public ::testing::Test {
 protected:
  TempDir dir_;
  ScratchSettings settings_;
  MainWindowHarness window_{settings_};
};

TEST_F(IntakeOnWine, PathsLongerThanMaxPathAreWalkedAndListed) {
  std::wstring folder = dir_.Path();
  const std::wstring part = L"長いフォルダ名の階層_" + std::wstring(40, L'x');
  while (folder.size() < 400) {
    folder += L"\\" + part;
    ASSERT_TRUE(CreateDirectoryW(win32::ExtendedPath(folder).c_str(), nullptr)) << GetLastError();
  }
  const std::wstring deep = folder + L"\\深い文書.cwj";
  HANDLE h = CreateFileW(win32::ExtendedPath(deep).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, std::string(2500, 'x').data(), 2500, &written, nullptr);
  CloseHandle(h);

  window_.Add(dir_.Path());
  ASSERT_EQ(window_.ItemCount(), 1);
  EXPECT_EQ(window_.ItemText(0, 0), L"深い文書.cwj");
  EXPECT_EQ(window_.ItemText(0, 2), L"2 KB");
  EXPECT_EQ(window_.ItemText(0, 3), folder);
  EXPECT_EQ(window_.Model().At(0).Key(), U8(deep));

  // The document named directly.
  window_.Command(IDM_FILE_NEW);
  window_.Add(deep);
  ASSERT_EQ(window_.ItemCount(), 1);
  EXPECT_EQ(window_.ItemText(0, 3), folder);

  // A deep tree's removal needs the long form too.
  for (std::wstring f = folder; f.size() > dir_.Path().size(); f = f.substr(0, f.rfind(L'\\'))) {
    if (f == folder) DeleteFileW(win32::ExtendedPath(deep).c_str());
    RemoveDirectoryW(win32::ExtendedPath(f).c_str());
  }
}

TEST_F(IntakeOnWine, HiddenAndSystemFoldersAreEntered) {
  struct Case {
    const wchar_t* name;
    DWORD attributes;
  };
  const Case cases[] = {{L"隠し", FILE_ATTRIBUTE_HIDDEN},
                        {L"システム", FILE_ATTRIBUTE_SYSTEM},
                        {L"両方", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}};
  for (const Case& c : cases) {
    MakeFolder(dir_ / c.name);
    WriteTextFile(dir_ / (std::wstring(c.name) + L"\\中.cwj"), "d");
    MakeFolder(dir_ / (std::wstring(c.name) + L"\\.下"));
    WriteTextFile(dir_ / (std::wstring(c.name) + L"\\.下\\.隠し文書.cwj"), "d");
    ASSERT_TRUE(SetFileAttributesW((dir_ / c.name).c_str(), c.attributes));
    ASSERT_EQ(GetFileAttributesW((dir_ / c.name).c_str()) & c.attributes, c.attributes) << "attributes kept";
  }
  window_.Add(dir_.Path());
  EXPECT_EQ(window_.ItemCount(), 6);
  for (const Case& c : cases) SetFileAttributesW((dir_ / c.name).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Wine's mount manager makes Linux symbolic links for the shell folders (as winecfg asks it to);
// a test may ask the same. With an empty target the link at `link` is replaced by an empty folder.
bool DefineUnixLink(const std::wstring& link, const std::string& unixTarget) {
  struct ShellFolder {  // struct mountmgr_shell_folder
    BOOL createBackup;
    ULONG folderOffset;
    ULONG folderSize;
    ULONG symlinkOffset;
  };
  const DWORD kDefineShellFolder = CTL_CODE(0x6D, 34, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
  const std::wstring ntName = L"\\??\\" + link;
  std::vector<char> request(sizeof(ShellFolder) + ntName.size() * sizeof(wchar_t) + unixTarget.size() + 1);
  ShellFolder header{FALSE, sizeof(ShellFolder), static_cast<ULONG>(ntName.size() * sizeof(wchar_t)), 0};
  header.symlinkOffset = header.folderOffset + header.folderSize;
  std::memcpy(request.data(), &header, sizeof header);
  std::memcpy(request.data() + header.folderOffset, ntName.data(), header.folderSize);
  std::memcpy(request.data() + header.symlinkOffset, unixTarget.c_str(), unixTarget.size() + 1);
  HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  DWORD returned = 0;
  const BOOL ok = DeviceIoControl(manager, kDefineShellFolder, request.data(), static_cast<DWORD>(request.size()),
                                  nullptr, 0, &returned, nullptr);
  CloseHandle(manager);
  return ok != FALSE;
}

// A Linux symbolic link at `link` to the folder `target`, as Wine shows it: a folder.
bool MakeUnixSymlink(const std::wstring& target, const std::wstring& link) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return false;
  char* unixTarget = toUnix(target.c_str());
  if (!unixTarget) return false;
  const std::string linkTo(unixTarget);
  HeapFree(GetProcessHeap(), 0, unixTarget);
  return DefineUnixLink(link, linkTo) && GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(IntakeOnWine, LinkLeadingBackUpIsNotWalkedInCircles) {
  MakeFolder(dir_ / L"上");
  MakeFolder(dir_ / L"上\\下");
  WriteTextFile(dir_ / L"上\\a.cwj", "d");
  WriteTextFile(dir_ / L"上\\下\\b.cwj", "d");
  if (!MakeUnixSymlink(dir_ / L"上", dir_ / L"上\\下\\戻る")) GTEST_SKIP() << "no Linux symbolic link could be made";
  ASSERT_TRUE(GetFileAttributesW((dir_ / L"上\\下\\戻る\\下\\b.cwj").c_str()) != INVALID_FILE_ATTRIBUTES)
      << "the link leads back up";
  window_.Add(dir_ / L"上");
  // Each document once, under the path by which the walk first met it.
  EXPECT_EQ(window_.ColumnTexts(0), (std::vector<std::wstring>{L"a.cwj", L"b.cwj"}));
  EXPECT_EQ(window_.StatusText(), L"2 個のファイルをリストに追加しました。");
  EXPECT_TRUE(DefineUnixLink(dir_ / L"上\\下\\戻る", ""));  // an empty folder again, for the clean-up
}

TEST_F(IntakeOnWine, EntryTextsShowLocalTimeAndThousandsOfBytes) {
  struct Case {
    const wchar_t* name;
    std::size_t bytes;
    SYSTEMTIME local;
    const wchar_t* time;
    const wchar_t* size;
  };
  const Case cases[] = {
      {L"空.cwj", 0, {1999, 3, 0, 7, 21, 5, 0, 0}, L"1999/03/07 21:05", L"0 KB"},
      {L"999.cwj", 999, {2001, 2, 0, 3, 4, 5, 59, 0}, L"2001/02/03 04:05", L"0 KB"},
      {L"1000.cwj", 1000, {2024, 12, 0, 31, 23, 59, 0, 0}, L"2024/12/31 23:59", L"1 KB"},
      {L"1999.cwj", 1999, {2010, 7, 0, 15, 0, 0, 0, 0}, L"2010/07/15 00:00", L"1 KB"},
      {L"大きい.cwj", 1234567, {2020, 8, 0, 1, 12, 30, 0, 0}, L"2020/08/01 12:30", L"1234 KB"},
  };
  for (const Case& c : cases) {
    WriteTextFile(dir_ / c.name, std::string(c.bytes, 'x'));
    ASSERT_TRUE(SetFileTimesLocal(dir_ / c.name, c.local));
    window_.Add(dir_ / c.name);
  }
  ASSERT_EQ(window_.ItemCount(), static_cast<int>(std::size(cases)));
  for (int i = 0; i < window_.ItemCount(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(U8(c.name));
    EXPECT_EQ(window_.ItemText(i, 0), c.name);
    EXPECT_EQ(window_.ItemText(i, 1), c.time);
    EXPECT_EQ(window_.ItemText(i, 2), c.size);
    EXPECT_EQ(window_.ItemText(i, 3), dir_.Path());
  }
}

// A folder named "Data." beside "Data" is read as itself (Windows' rules would read "Data" for it),
// and its document goes to ClarisWorks by a short name that names that very file, or not at all.
// A path comes in its one form: without "\\?\" where the rest is ordinary, with long names for
// short ones (a short REPORT~1.CWJ may be report.cwjx, which is no document).
TEST_F(IntakeOnWine, DataBesideDataDotAndTheOneFormOfAPath) {
  const std::wstring exact = L"\\\\?\\" + dir_.Path();
  ASSERT_TRUE(CreateDirectoryW((exact + L"\\Data").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((exact + L"\\Data.").c_str(), nullptr));
  WriteTextFile(exact + L"\\Data\\a.cwj", "a");
  WriteTextFile(exact + L"\\Data.\\b.cwj", std::string(2000, 'b'));
  window_.Add(dir_.Path());
  ASSERT_EQ(window_.ItemCount(), 2);
  EXPECT_EQ(window_.ColumnTexts(0), (std::vector<std::wstring>{L"a.cwj", L"b.cwj"}));
  EXPECT_EQ(window_.ColumnTexts(3), (std::vector<std::wstring>{dir_ / L"Data", exact + L"\\Data."}));
  win32::Win32AnsiPaths ansi;
  const auto handed = PathForClaris(ansi, window_.Model().At(1).Key());
  EXPECT_TRUE(handed) << "Wine keeps a short name for every name";
  if (handed) {
    EXPECT_EQ(handed->find('?'), std::string::npos) << "ClarisWorks types no \\\\?\\ path: " << *handed;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(W(*handed).c_str(), GetFileExInfoStandard, &data)) << *handed;
    EXPECT_EQ(data.nFileSizeLow, 2000u) << "the short name names the document in Data., not Data's";
  }

  WriteTextFile(dir_ / L"report.cwjx", "x");
  wchar_t shortName[MAX_PATH];
  ASSERT_NE(GetShortPathNameW((dir_ / L"report.cwjx").c_str(), shortName, MAX_PATH), 0u);
  win32::Win32FileSystem files;
  const struct {
    std::wstring given;
    std::wstring full;
  } forms[] = {
      {exact + L"\\Data\\a.cwj", dir_ / L"Data\\a.cwj"},
      {exact + L"\\Data.\\b.cwj", exact + L"\\Data.\\b.cwj"},
      {shortName, dir_ / L"report.cwjx"},
  };
  for (const auto& f : forms) EXPECT_EQ(files.FullPath(U8(f.given)), U8(f.full)) << U8(f.given);
  window_.Add(shortName);
  EXPECT_EQ(window_.ItemCount(), 2) << "no document";
}

// A document directly in a drive's root folder shows the drive designator as its folder.
TEST_F(IntakeOnWine, DocumentInADriveRootShowsTheDriveAsItsFolder) {
  const std::wstring path = L"C:\\velmok-root-" + std::to_wstring(GetCurrentProcessId()) + L".cwj";
  WriteTextFile(path, "d");
  window_.Add(path);
  DeleteFileW(path.c_str());
  ASSERT_EQ(window_.ItemCount(), 1);
  EXPECT_EQ(window_.ItemText(0, 3), L"C:");
}

// Windows 7 lists a folder in another information class than Windows 8 and later; the listing
// learns that the system lacks the newer one from the call's own refusal. All three ways give the
// same entries: names (long, Japanese), sizes, times, subfolders and links, over several batches.
TEST(Win32FileSystem, TheWindows7ListingGivesWhatTheNewerOneGives) {
  TempDir dir;
  for (int i = 0; i < 700; ++i) {  // more than one batch of 64 KiB of entries
    const std::wstring name = L"文書の名前がとても長い場合_" + std::to_wstring(i) + std::wstring(i % 40, L'x') + L".cwj";
    WriteTextFile(dir / name, std::string(static_cast<std::size_t>(i * 37 % 5000), 'x'));
    const SYSTEMTIME local{static_cast<WORD>(1995 + i % 30), static_cast<WORD>(1 + i % 12), 0,
                           static_cast<WORD>(1 + i % 28), static_cast<WORD>(i % 24), static_cast<WORD>(i % 60), 0, 0};
    ASSERT_TRUE(SetFileTimesLocal(dir / name, local));
  }
  MakeFolder(dir / L"下のフォルダ");
  MakeFolder(dir / L"隠し");
  ASSERT_TRUE(SetFileAttributesW((dir / L"隠し").c_str(), FILE_ATTRIBUTE_HIDDEN));
  const bool linked = MakeUnixSymlink(dir / L"下のフォルダ", dir / L"リンク");

  auto listed = [&](const win32::NewerWindows& system) {
    win32::ScopedNewerWindows scope(system);
    win32::Win32FileSystem files;
    platform::FolderListing listing;
    EXPECT_EQ(files.ListFolder(U8(dir.Path()), listing), platform::ListOutcome::Complete);
    std::vector<std::string> lines;
    for (const auto& f : listing.files)
      lines.push_back(f.name + " " + std::to_string(f.size.value_or(0)) + " " + std::to_string(f.modifiedUtc.value_or(-1)));
    for (const auto& s : listing.subfolders) lines.push_back(s.name + (s.link ? " link" : " folder"));
    std::sort(lines.begin(), lines.end());
    return lines;
  };
  const win32::NewerWindows newer;
  ASSERT_TRUE(newer.Has(win32::NewerPart::FullDirectoryInfo));
  const std::vector<std::string> expected = listed(newer);
  ASSERT_EQ(expected.size(), 702u + (linked ? 1 : 0));
  if (linked) {
    EXPECT_TRUE(std::count(expected.begin(), expected.end(), "リンク link"));
  }

  EXPECT_EQ(listed(win32::NewerWindows({win32::NewerPart::FullDirectoryInfo})), expected) << "known to lack it";
  win32::NewerWindows windows7 = win32::NewerWindows::AsWindows7();
  {
    win32::ScopedNewerWindows scope(windows7);
    win32::Win32FileSystem files;
    platform::FolderListing listing;
    files.ListFolder(U8(dir.Path()), listing);
    EXPECT_FALSE(win32::RunningWindows().Has(win32::NewerPart::FullDirectoryInfo)) << "the refusal is remembered";
  }
  EXPECT_EQ(listed(windows7), expected) << "refused by the call";
  if (linked) {
    EXPECT_TRUE(DefineUnixLink(dir / L"リンク", ""));
  }
}

// The file layer keeps the local offset of the quarter hours it meets. A night of documents
// modified over decades must not grow it, and an offset kept for one quarter must never be given
// to another: a zone with summer time tells.
TEST(Win32FileSystem, LocalTimesStayRightWhileTheOffsetsKeptStayBounded) {
  TIME_ZONE_INFORMATION zone{};
  zone.Bias = 480;  // UTC-8, summer time from the second Sunday of March to the first of November
  zone.StandardDate = {0, 11, 0, 1, 2, 0, 0, 0};
  zone.DaylightDate = {0, 3, 0, 2, 2, 0, 0, 0};
  zone.DaylightBias = -60;
  win32::Win32FileSystem files(zone);
  auto expected = [&zone](std::int64_t ticks) {
    const FILETIME ft{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{}, local{};
    FileTimeToSystemTime(&ft, &utc);
    SystemTimeToTzSpecificLocalTime(&zone, &utc, &local);
    return platform::LocalDateTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, 0};
  };
  constexpr std::int64_t kMinute = 60LL * 10'000'000;
  const std::int64_t start = 125'000'000'000'000'000LL;  // 1997
  int wrong = 0;
  // Twenty years of documents, one every 16 minutes and 7 seconds, and then the first ones again.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::int64_t i = 0; i < 660'000; i += pass == 0 ? 1 : 97) {
      const std::int64_t ticks = start + i * (16 * kMinute + 7 * 10'000'000);
      const auto local = files.ToLocalTime(ticks);
      const auto want = expected(ticks);
      if (!local || local->year != want.year || local->month != want.month || local->day != want.day ||
          local->hour != want.hour || local->minute != want.minute || local->second != want.second)
        ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_LE(files.OffsetsKept(), win32::Win32FileSystem::kOffsetsKept);
}

}  // namespace
}  // namespace velmok::testing
