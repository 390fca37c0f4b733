// The main window with 100,000 entries under Wine: showing them, sorting, selecting, the command
// states, switching views, scrolling and deleting half, each through the window's own commands
// and followed by a repaint of the list. The baseline is one repaint of the list.
//
//   list_view_bench.exe [windows7]    (windows7: without any function newer than Windows 7, so the
//                                      window takes the system's scaling)

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <optional>
#include <string>

#include "bench/bench_fakes.h"
#include "bench/bench_util.h"
#include "core/debug_log.h"
#include "intake/print_list.h"
#include "mainwindow/win32/frm_main.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/settings_store_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/text_collation_win32.h"
#include "resource.h"

namespace {

using velmok::bench::BestMs;
using velmok::bench::NoClipboard;
using velmok::bench::NoHandlers;
using velmok::bench::NoLogFile;
using velmok::bench::Report;

constexpr int kEntries = 100000;

// The process's private bytes. Windows reports them twice, as PrivateUsage and as PagefileUsage;
// Wine fills only the second.
std::size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

void Fill(velmok::PrintList& list) {
  velmok::PrintList::Batch batch(list);
  for (int i = 0; i < kEntries; ++i) {
    const std::string name = "文書_" + std::to_string((i * 7919) % kEntries) + ".cwj";
    const std::string key = "\\\\server\\共有\\部署" + std::to_string(i % 37) + "\\フォルダ" + std::to_string(i / 100) +
                            "\\" + name;
    char modified[32];
    std::snprintf(modified, sizeof modified, "%04d/%02d/%02d %02d:%02d", 1990 + i % 36, 1 + i % 12, 1 + i % 28,
                  i % 24, i % 60);
    list.Add(velmok::PrintListEntry(key, name.size(), modified, std::to_string((i * 31) % 5000) + " KB"));
  }
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool windows7 = argc > 1 && std::wstring(argv[1]) == L"windows7";
  std::optional<velmok::win32::ScopedNewerWindows> system;
  if (windows7) system.emplace(velmok::win32::NewerWindows::AsWindows7());
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VelmokBench");

  const velmok::win32::Win32TextCollation collation;
  velmok::PrintList list(collation);
  NoLogFile logFile;
  velmok::win32::Win32DebuggerOutput debugger;
  velmok::win32::Win32Clock clock;
  velmok::DebugLog log(logFile, debugger, clock);
  velmok::win32::RegistrySettingsStore settings(L"Software\\VelmokBench");
  NoClipboard clipboard;
  NoHandlers handlers;
  velmok::win32::FrmMain frm(GetModuleHandleW(nullptr), {list, settings, clipboard}, handlers);
  if (!frm.Create(SW_SHOWNORMAL)) return 1;
  HWND hlist = frm.ListHandle();
  auto& logic = frm.Logic();
  auto repaint = [&] {
    InvalidateRect(hlist, nullptr, TRUE);
    UpdateWindow(hlist);
  };
  Pump();

  std::printf("main window under Wine, %d entries%s\n", kEntries, windows7 ? ", as on Windows 7 (system DPI)" : "");
  const double show = BestMs(
      3, [&] { list.Clear(); logic.View().ListChanged(); Fill(list); },
      [&] {
        logic.View().ListChanged();
        logic.RefreshMenus();
        repaint();
      });
  const double base = BestMs(10, nullptr, repaint);
  Report("show 100,000 entries", show, "one repaint of the list", base, "instant");

  for (int key = 0; key < 4; ++key) {
    static const char* const kColumns[] = {"name", "modified", "size", "folder"};
    const double ms = BestMs(3, nullptr, [&] {
      logic.Execute(IDM_VIEW_SORTORDER0 + key);
      repaint();
    });
    Report(std::string("sort by ") + kColumns[key], ms, "one repaint of the list", base, "< 300 ms");
  }
  const double selectAll = BestMs(5, [&] { list.SetAllSelected(false); logic.View().ListChanged(); },
                                  [&] {
                                    logic.Execute(IDM_EDIT_ALLSELECT);
                                    repaint();
                                  });
  Report("select all", selectAll, "one repaint of the list", base, "< 50 ms");
  const double invert = BestMs(5, nullptr, [&] {
    logic.Execute(IDM_EDIT_CHANGE);
    repaint();
  });
  Report("invert the selection", invert, "one repaint of the list", base, "< 50 ms");
  const double refresh = BestMs(50, nullptr, [&] { logic.RefreshMenus(); });
  Report("RefreshMenus", refresh, "one repaint of the list", base, "< 5 ms");
  for (int view = 0; view < 4; ++view) {
    static const char* const kViews[] = {"large icons", "small icons", "list", "details"};
    const double ms = BestMs(3, nullptr, [&] {
      logic.Execute(IDM_VIEW_CHANGEVIEW0 + view);
      repaint();
    });
    Report(std::string("switch to ") + kViews[view], ms, "one repaint of the list", base, "instant");
  }
  const double scroll = BestMs(3, nullptr, [&] {
    for (int i = 0; i < 10; ++i) {
      SendMessageW(hlist, WM_VSCROLL, SB_PAGEDOWN, 0);
      UpdateWindow(hlist);
    }
  });
  Report("scroll ten pages", scroll, "one repaint of the list", base, "instant");
  const double remove = BestMs(
      3,
      [&] {
        list.Clear();
        Fill(list);
        for (int i = 0; i < kEntries; i += 2) list.SetSelected(static_cast<std::size_t>(i), true);
        logic.View().ListChanged();
        logic.RefreshMenus();
      },
      [&] {
        logic.Execute(IDM_EDIT_DELETE);
        repaint();
      });
  Report("delete 50,000 selected of 100,000", remove, "one repaint of the list", base, "< 500 ms");

  // The model alone: the user's language's order against the order of character codes, what its
  // keys cost to make and to hold, and what an entry costs to hold.
  {
    velmok::PrintList japanese(collation);
    velmok::PrintList codes;
    const std::size_t before = PrivateBytes();
    Fill(japanese);
    const std::size_t perEntry = (PrivateBytes() - before) / kEntries;
    Fill(codes);
    for (int key : {0, 3}) {
      const char* column = key == 0 ? "names" : "folders";
      const double ms = BestMs(3, nullptr, [&] { japanese.ChangeSortOrder(key); });
      const double codeMs = BestMs(3, nullptr, [&] { codes.ChangeSortOrder(key); });
      Report(std::string("sort 100,000 ") + column + " (Japanese, model)", ms,
             std::string("by character codes"), codeMs, "< 300 ms");
      std::string keys;
      std::size_t made = 0;
      std::string_view previous;
      const double keyMs = BestMs(1, nullptr, [&] {
        for (std::size_t i = 0; i < japanese.Count(); ++i) {
          const std::string_view text = japanese.At(i).Column(key);
          if (i > 0 && text == previous) continue;  // as the sort does: one key per run of equal texts
          collation.AppendSortKey(text, keys);
          previous = text;
          ++made;
        }
      });
      Report(std::string("  make the keys of ") + column, keyMs, "sort by character codes", codeMs, "part of the sort");
      std::printf("  %zu keys, %zu bytes in all, %.1f bytes each, held only while sorting\n", made, keys.size(),
                  made ? static_cast<double>(keys.size()) / static_cast<double>(made) : 0.0);
    }
    std::printf("memory per entry: %zu bytes (target < 1024)\n", perEntry);
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VelmokBench");
  return 0;
}
