// Intake of a file server under Wine: a tree of 100,000 documents in 1,000 folders taken into the
// print list, against a bare walk of the same tree with FindFirstFileExW (basic information, large
// fetch, no other work), both measured in this run, in turns. Then the same tree dropped again
// (nothing new), and the memory the list holds per entry. The intake and the file layer's walk are
// measured twice: with the listing class of Windows 8 and later, and with Windows 7's, on a system
// handed to the program as Windows 7 (which refuses the newer class at the first folder). Then a
// folder of 100,000 documents pasted as a file list (a file manager's select all and copy), against
// the folder itself pasted, both through the real clipboard and the main window.
//
//   intake_bench.exe <tree> <folder>     (both are made by scripts/bench.sh)

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <string>
#include <vector>

#include "bench/bench_fakes.h"
#include "bench/bench_util.h"
#include "core/debug_log.h"
#include "core/texts.h"
#include "mainwindow/win32/frm_main.h"
#include "platform/win32/settings_store_win32.h"
#include "intake/intake.h"
#include "platform/win32/clipboard_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/log_file_win32.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"
#include "support/file_list_block.h"

namespace {

using velmok::bench::Measure;
using velmok::bench::NoClipboard;
using velmok::bench::NoHandlers;
using velmok::bench::NoLogFile;
using velmok::bench::Report;
using velmok::bench::TimeInTurns;

// The walk every intake has to make: every name of every folder, depth first.
std::size_t BareWalk(const std::wstring& root) {
  std::size_t files = 0;
  std::vector<std::wstring> pending{root};
  while (!pending.empty()) {
    const std::wstring folder = pending.back();
    pending.pop_back();
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      if (data.cFileName[0] == L'.' && (data.cFileName[1] == 0 || (data.cFileName[1] == L'.' && !data.cFileName[2])))
        continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        pending.push_back(folder + L"\\" + data.cFileName);
      else
        ++files;
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  return files;
}




// The bytes the program's own allocations hold (counted by the operators below while counting is
// on: the count costs time, so the timed runs go without it).
std::atomic<long long> g_liveBytes{0};
std::atomic<bool> g_counting{false};
std::size_t PrivateBytes() { return static_cast<std::size_t>(g_liveBytes.load()); }

// The names of a folder's files, as the file manager lists them.
std::vector<std::wstring> FilesOf(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(folder + L"\\" + data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

}  // namespace

void* operator new(std::size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  if (g_counting) g_liveBytes += static_cast<long long>(_msize(p));
  return p;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  if (g_counting) g_liveBytes -= static_cast<long long>(_msize(p));
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: intake_bench <tree> <folder>\n");
    return 2;
  }
  InitCommonControls();
  const std::wstring root = argv[1];
  BareWalk(root);  // warm the caches once

  velmok::win32::Win32FileSystem fileSystem;
  velmok::win32::Win32Clock clock;
  velmok::win32::Win32DebuggerOutput debugger;
  NoLogFile logFile;
  velmok::DebugLog log(logFile, debugger, clock);
  velmok::win32::Win32MessageBoxes messages(velmok::texts::kAppTitle);
  const std::string path = velmok::win32::Narrow(root);

  // The intake as the program makes it: through the main window, its status line and its list.
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VelmokBench");
  velmok::win32::RegistrySettingsStore settings(L"Software\\VelmokBench");
  NoClipboard clipboard;
  NoHandlers handlers;
  velmok::PrintList shown;
  velmok::win32::FrmMain frm(GetModuleHandleW(nullptr), {shown, settings, clipboard}, handlers);
  if (!frm.Create(SW_SHOWNORMAL)) return 1;
  velmok::MainView& view = frm;
  const auto follow = [&frm] { frm.Logic().RefreshMenus(); };

  std::size_t files = 0;
  Measure walk{nullptr, [&] { files = BareWalk(root); }};

  std::size_t listed = 0;
  Measure intake{[&] {
                   shown.Clear();
                   view.ListChanged();
                 },
                 [&] {
                   velmok::Intake in(shown, view, follow, fileSystem, log, messages);
                   in.AddClarisFile(path);
                   listed = shown.Count();
                 }};
  // The same tree again, onto the full list: nothing is added.
  Measure again{nullptr, [&] {
                  velmok::Intake in(shown, view, follow, fileSystem, log, messages);
                  in.AddClarisFile(path);
                }};
  // Where the time goes: the file layer's own walk (names converted, sizes and times kept)...
  auto layerWalk = [&] {
    std::vector<std::string> pending{path};
    velmok::platform::FolderListing listing;
    while (!pending.empty()) {
      const std::string folder = pending.back();
      pending.pop_back();
      fileSystem.ListFolder(folder, listing);
      for (const auto& sub : listing.subfolders) pending.push_back(folder + "\\" + sub.name);
    }
  };
  Measure layer{nullptr, layerWalk};
  // ... the same on Windows 7, and the intake there.
  const velmok::win32::NewerWindows windows7 = velmok::win32::NewerWindows::AsWindows7();
  Measure layer7{nullptr, [&] {
                   velmok::win32::ScopedNewerWindows system(windows7);
                   layerWalk();
                 }};
  std::size_t listed7 = 0;
  Measure intake7{[&] {
                    shown.Clear();
                    view.ListChanged();
                  },
                  [&] {
                    velmok::win32::ScopedNewerWindows system(windows7);
                    velmok::Intake in(shown, view, follow, fileSystem, log, messages);
                    in.AddClarisFile(path);
                    listed7 = shown.Count();
                  }};
  // ... and the same intake without the status bar's repaints.
  velmok::bench::SilentView silent;
  velmok::PrintList scratch;
  silent.list = &scratch;
  Measure quiet{[&] { scratch.Clear(); }, [&] {
                  velmok::Intake in(scratch, silent, silent.CommandsFollow(), fileSystem, log, messages);
                  in.AddClarisFile(path);
                }};
  TimeInTurns(15, {&walk, &intake, &again, &layer, &quiet, &layer7, &intake7});

  std::printf("intake under Wine: %zu files\n", files);
  const std::string baseline = "bare FindFirstFileExW walk";
  Report("intake of the tree (AddClarisFile)", intake.bestMs, baseline, walk.bestMs, "<= 1.1");
  Report("  the file layer's walk alone", layer.bestMs, baseline, walk.bestMs, "-");
  Report("  the same without status repaints", quiet.bestMs, baseline, walk.bestMs, "-");
  Report("the same tree dropped again (adds nothing)", again.bestMs, baseline, walk.bestMs, "<= 1.3");
  Report("intake on Windows 7 (FILE_ID_BOTH_DIR_INFO)", intake7.bestMs, baseline, walk.bestMs, "<= 1.1");
  Report("  file layer, FileFullDirectoryInfo (8+)", layer.bestMs, baseline, walk.bestMs, "-");
  Report("  file layer, FileIdBothDirectoryInfo (7)", layer7.bestMs, baseline, walk.bestMs, "-");
  // The memory the entries hold, counted in one more intake of its own.
  shown.Clear();
  g_liveBytes = 0;
  g_counting = true;
  const std::size_t memoryBefore = PrivateBytes();
  velmok::Intake(shown, view, follow, fileSystem, log, messages).AddClarisFile(path);
  const std::size_t memoryAfter = PrivateBytes();
  g_counting = false;
  std::printf("%-44s %10zu entries, %.0f bytes per entry   target < 1024\n",
              "memory of the list (heap held by the entries)", listed,
              listed ? static_cast<double>(memoryAfter > memoryBefore ? memoryAfter - memoryBefore : 0) /
                           static_cast<double>(listed)
                     : 0.0);

  // A folder of 100,000 documents pasted as a file list, and the folder itself, in turns.
  const std::wstring flat = argv[2];
  const std::vector<std::wstring> fileList = FilesOf(flat);
  velmok::win32::Win32ClipboardFiles realClipboard;
  std::size_t pastedFiles = 0;
  std::size_t pastedFolder = 0;
  auto fresh = [&] {
    shown.Clear();
    view.ListChanged();
  };
  Measure asFiles{[&] {
                    fresh();
                    velmok::testing::PutOnClipboard(velmok::testing::FileListBlock(fileList));
                  },
                  [&] {
                    velmok::Intake(shown, view, follow, fileSystem, log, messages).PasteFiles(realClipboard);
                    pastedFiles = shown.Count();
                  }};
  Measure asFolder{[&] {
                     fresh();
                     velmok::testing::PutOnClipboard(velmok::testing::FileListBlock({flat}));
                   },
                   [&] {
                     velmok::Intake(shown, view, follow, fileSystem, log, messages).PasteFiles(realClipboard);
                     pastedFolder = shown.Count();
                   }};
  TimeInTurns(7, {&asFolder, &asFiles});
  std::printf("a folder of %zu documents pasted: %zu listed as a file list, %zu as the folder\n", fileList.size(),
              pastedFiles, pastedFolder);
  Report("paste of its file list", asFiles.bestMs, "paste of the folder", asFolder.bestMs, "<= 1.5");
  // A command line as long as one may be, of one-letter words that each name a file of the current
  // folder (a folder of their own, none a document): taken apart with a bounded number of questions,
  // every word taken in.
  {
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    const std::wstring folder = flat + L".words";
    CreateDirectoryW(folder.c_str(), nullptr);
    SetCurrentDirectoryW(folder.c_str());
    for (char c = 'a'; c <= 'z'; ++c) {
      const std::wstring name(1, static_cast<wchar_t>(c));
      CloseHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    std::string line;
    int words = 0;
    for (; line.size() + 2 <= 32000; ++words) line += std::string(1, static_cast<char>('a' + words % 26)) + " ";
    velmok::bench::SilentView quietView;
    velmok::PrintList none;
    quietView.list = &none;
    Measure commandLine{nullptr, [&] { velmok::Intake(none, quietView, quietView.CommandsFollow(), fileSystem, log, messages).CommandLineIntake(line); }};
    TimeInTurns(3, {&commandLine});
    for (char c = 'a'; c <= 'z'; ++c) DeleteFileW(std::wstring(1, static_cast<wchar_t>(c)).c_str());
    SetCurrentDirectoryW(before);
    RemoveDirectoryW(folder.c_str());
    std::printf("%-44s %10.3f ms   %d words, none a document                                    target < 1000 ms\n",
                "a command line of one-letter words", commandLine.bestMs, words);
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VelmokBench");
  return listed == files && listed7 == files && pastedFiles == fileList.size() && pastedFolder == fileList.size() ? 0 : 1;
}
