// Paste and the clipboard watch with the real clipboard, filled by another process as a file
// manager would fill it.

#include <gtest/gtest.h>
#include <shlobj.h>

#include <chrono>
#include <thread>

#include "platform/win32/clipboard_win32.h"
#include "support/file_list_block.h"
#include "resource.h"
#include "win32/main_window_harness.h"

namespace velmok::testing {
namespace {

constexpr wchar_t kFilesVariable[] = L"VELMOK_TEST_CLIPBOARD_FILES";  // paths separated by "|"
constexpr wchar_t kTextVariable[] = L"VELMOK_TEST_CLIPBOARD_TEXT";
constexpr wchar_t kFilledEvent[] = L"Local\\VelmokTestClipboardFilled";  // set once the data are there

std::wstring Variable(const wchar_t* name) {
  wchar_t value[32768] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
  return n ? std::wstring(value, n) : std::wstring();
}

// Not a test: the body of the helper process that the tests below start. It owns the clipboard
// the way a file manager does when files are copied (or a text editor when text is), then ends.
TEST(DISABLED_ClipboardOwner, Fill) {
  const std::wstring files = Variable(kFilesVariable);
  const std::wstring text = Variable(kTextVariable);
  if (files.empty() && text.empty()) GTEST_SKIP() << "started without anything to put on the clipboard";
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (!files.empty()) {
    std::vector<std::wstring> paths;
    for (std::size_t start = 0; start <= files.size();) {
      auto bar = files.find(L'|', start);
      if (bar == std::wstring::npos) bar = files.size();
      paths.push_back(files.substr(start, bar - start));
      start = bar + 1;
    }
    ASSERT_TRUE(SetClipboardData(CF_HDROP, FileListBlock(paths)));
  } else {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* out = static_cast<wchar_t*>(GlobalLock(block));
    text.copy(out, text.size());
    out[text.size()] = L'\0';
    GlobalUnlock(block);
    ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, block));
  }
  CloseClipboard();
  if (HANDLE filled = OpenEventW(EVENT_MODIFY_STATE, FALSE, kFilledEvent)) {
    SetEvent(filled);
    CloseHandle(filled);
  }
}

// Starts the helper above in a process of its own, its output thrown away.
class ClipboardOwnerProcess {
 public:
  explicit ClipboardOwnerProcess(const std::map<std::wstring, std::wstring>& env) {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring line = std::wstring(L"\"") + exe +
                        L"\" --gtest_also_run_disabled_tests --gtest_filter=DISABLED_ClipboardOwner.Fill --gtest_brief=1";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW si{sizeof si};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul;
    for (const auto& [name, value] : env) SetEnvironmentVariableW(name.c_str(), value.c_str());
    started_ = CreateProcessW(exe, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi_) != FALSE;
    for (const auto& [name, value] : env) SetEnvironmentVariableW(name.c_str(), nullptr);
    CloseHandle(nul);
  }
  ~ClipboardOwnerProcess() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 99);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  ClipboardOwnerProcess(const ClipboardOwnerProcess&) = delete;
  ClipboardOwnerProcess& operator=(const ClipboardOwnerProcess&) = delete;

  // Waits for the helper to end; true when it ended well.
  bool Finish() {
    if (!started_) return false;
    if (!WaitUntil([&] { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; }, 20s)) return false;
    DWORD code = 1;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code == 0;
  }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

void FillClipboardFromAnotherProcess(const std::map<std::wstring, std::wstring>& env) {
  ClipboardOwnerProcess helper(env);
  ASSERT_TRUE(helper.Finish()) << "the helper process failed";
}

class ClipboardIntake : public ::testing::Test {
 protected:
  win32::Win32ClipboardFiles clipboard_;
  TempDir dir_;
  ScratchSettings settings_;
};

TEST_F(ClipboardIntake, PastesAFileListPutThereByAnotherProgram) {
  HarnessOptions options;
  options.clipboard = &clipboard_;
  MainWindowHarness w(settings_, options);
  ASSERT_TRUE(w.Created());
  // Ten documents: Japanese names, and names that code page 932 cannot hold.
  const std::wstring names[] = {L"見積書.cwj",         L"請求書 12月分.cwj", L"ｸﾗﾘｽ半角.cwj",  L"résumé.cwj",
                                L"한국어 문서.cwj",   L"Ελληνικά.cwj",      L"emoji😀.cwj",  L"会議(第3回).CWJ",
                                L"予算案+補正.Cwj", L"名簿.cwj"};
  std::wstring joined;
  for (const auto& name : names) {
    WriteTextFile(dir_ / name, "document");
    joined += (joined.empty() ? L"" : L"|") + (dir_ / name);
  }
  for (int i = 0; i < 4; ++i) w.Add(dir_ / names[i]);  // four already listed
  ASSERT_EQ(w.ItemCount(), 4);

  FillClipboardFromAnotherProcess({{kFilesVariable, joined}});
  ASSERT_TRUE(w.PumpUntil([&] { return w.MenuBarEnabled(IDM_EDIT_PASTE); }, 2s));
  EXPECT_TRUE(w.PopupEnabled(IDM_POPUP_PASTE));
  EXPECT_TRUE(w.ButtonEnabled(IDT_PASTE));

  w.Command(IDM_EDIT_PASTE);
  EXPECT_EQ(w.ItemCount(), 10) << "six added";
  std::vector<std::wstring> listed = w.ColumnTexts(0);
  for (const auto& name : names) EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end()) << U8(name);
  // Each path is an intake of its own: the status reports the last one.
  EXPECT_EQ(w.StatusText(), L"1 個のファイルをリストに追加しました。");

  // The pop-up's paste performs the same command: everything is listed now.
  w.Command(IDM_POPUP_PASTE);
  EXPECT_EQ(w.ItemCount(), 10);
  EXPECT_EQ(w.StatusText(), L"印刷可能なファイルが見つかりませんでした。");
}

// The three paste elements follow the clipboard within about one tick of the 100 ms watch.
TEST_F(ClipboardIntake, PasteElementsFollowTheClipboard) {
  HarnessOptions options;
  options.clipboard = &clipboard_;
  MainWindowHarness w(settings_, options);
  WriteTextFile(dir_ / L"a.cwj", "document");
  auto pasteState = [&] {
    const bool menu = w.MenuBarEnabled(IDM_EDIT_PASTE);
    EXPECT_EQ(w.PopupEnabled(IDM_POPUP_PASTE), menu);
    EXPECT_EQ(w.ButtonEnabled(IDT_PASTE), menu);
    return menu;
  };
  struct Step {
    const char* what;
    std::map<std::wstring, std::wstring> env;
    bool enabled;
  };
  const Step steps[] = {
      {"files copied", {{kFilesVariable, dir_ / L"a.cwj"}}, true},
      {"text copied", {{kTextVariable, L"見積書"}}, false},
      {"files copied again", {{kFilesVariable, dir_ / L"a.cwj"}}, true},
  };
  HANDLE filled = CreateEventW(nullptr, FALSE, FALSE, kFilledEvent);
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    ClipboardOwnerProcess helper(s.env);
    // The time runs from the moment the other program has closed the clipboard.
    ASSERT_TRUE(w.PumpUntil([&] { return WaitForSingleObject(filled, 0) == WAIT_OBJECT_0; }, 20s));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(w.PumpUntil([&] { return pasteState() == s.enabled; }, 1s));
    const auto took = std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - start);
    EXPECT_LE(took.count(), 200) << "the watch took " << took.count() << " ms";
    EXPECT_TRUE(helper.Finish());
  }
  CloseHandle(filled);
}

// While another program holds the clipboard open, a paste finds nothing and shows nothing.
TEST_F(ClipboardIntake, PasteWhileTheClipboardIsHeldElsewhereAddsNothing) {
  HarnessOptions options;
  options.clipboard = &clipboard_;
  MainWindowHarness w(settings_, options);
  WriteTextFile(dir_ / L"a.cwj", "document");
  FillClipboardFromAnotherProcess({{kFilesVariable, dir_ / L"a.cwj"}});
  ASSERT_TRUE(w.PumpUntil([&] { return w.MenuBarEnabled(IDM_EDIT_PASTE); }, 2s));
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    // A program that opens the clipboard for a window of its own, as programs do.
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (OpenClipboard(owner)) {
      SetEvent(opened);
      WaitForSingleObject(release, 10000);
      CloseClipboard();
    }
    DestroyWindow(owner);
    SetEvent(opened);
  });
  WaitForSingleObject(opened, 5000);
  const std::wstring status = w.StatusText();
  w.Command(IDM_EDIT_PASTE);
  EXPECT_EQ(w.ItemCount(), 0);
  EXPECT_EQ(w.StatusText(), status);
  SetEvent(release);
  holder.join();
  CloseHandle(opened);
  CloseHandle(release);
  w.Command(IDM_EDIT_PASTE);
  EXPECT_EQ(w.ItemCount(), 1) << "and once it is free again, the paste works";
}

// A block whose names run past its end, or start outside it, is not read at all.
TEST_F(ClipboardIntake, MalformedFileListOnTheClipboardAddsNothing) {
  HarnessOptions options;
  options.clipboard = &clipboard_;
  MainWindowHarness w(settings_, options);
  WriteTextFile(dir_ / L"a.cwj", "document");
  const std::wstring path = dir_ / L"a.cwj";
  // The names without the final empty name, and cut off inside the last name.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + path.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  path.copy(reinterpret_cast<wchar_t*>(drop + 1), path.size());
  GlobalUnlock(block);
  ASSERT_TRUE(PutOnClipboard(block));
  ASSERT_TRUE(w.PumpUntil([&] { return w.MenuBarEnabled(IDM_EDIT_PASTE); }, 2s));
  const std::wstring status = w.StatusText();
  w.Command(IDM_EDIT_PASTE);
  EXPECT_EQ(w.ItemCount(), 0);
  EXPECT_EQ(w.StatusText(), status) << "a paste of nothing shows nothing";
  EXPECT_EQ(w.Handlers().calls, std::vector<std::string>{"Paste"});
}

// A file list is read whole in one pass: 50,000 names (a file manager's select all; the shell's
// DragQueryFileW walks the list from its start for each name), and an ANSI list's names in the
// system's code page.
TEST(ClipboardFileList, FiftyThousandNamesAndAnAnsiListAreReadWhole) {
  std::vector<std::wstring> names;
  for (int i = 0; i < 50000; ++i) names.push_back(L"C:\\書類\\見積書_" + std::to_wstring(i) + L".cwj");
  ASSERT_TRUE(PutOnClipboard(FileListBlock(names)));
  win32::Win32ClipboardFiles clipboard;
  const auto start = std::chrono::steady_clock::now();
  const auto read = clipboard.FileList();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("50,000 names read in %.1f ms\n", ms);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), names.size());
  for (std::size_t i = 0; i < names.size(); i += 997) EXPECT_EQ((*read)[i], U8(names[i]));
  EXPECT_EQ(read->back(), U8(names.back()));

  const std::string ansi = "C:\\\x8f\x91\x97\xde\\\x8c\xa9\x90\xcf.cwj";  // C:\書類\見積.cwj in code page 932
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + ansi.size() + 2);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  ansi.copy(reinterpret_cast<char*>(drop + 1), ansi.size());
  GlobalUnlock(block);
  ASSERT_TRUE(PutOnClipboard(block));
  EXPECT_EQ(clipboard.FileList(), std::vector<std::string>{"C:\\書類\\見積.cwj"});
}

}  // namespace
}  // namespace velmok::testing
