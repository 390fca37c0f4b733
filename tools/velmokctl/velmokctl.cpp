// velmokctl: drives a running VELMOK.exe from the command line, for the demo and for scripts.
//
//   velmokctl status                 prints the status line
//   velmokctl wait-main [seconds]    waits for the main window, prints the status line
//   velmokctl print-all [seconds]    presses F5's command, waits for the outcome, answers the
//                                    closing message, prints the progress report and the status
//   velmokctl close                  closes the main window (settings are saved)
//   velmokctl post <command id>      gives the main window a command (res/resource.h), as its menu
//   velmokctl wait-window <class> [seconds]   waits for a top-level window of that class
//   velmokctl close-window <class>   asks the top-level window of that class to close
//
// Output is UTF-8. Exit code 0 on success, 1 on failure, 2 on bad usage.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

#include "resource.h"

namespace {

constexpr wchar_t kMainClass[] = L"VELMOK.frmMain";
constexpr wchar_t kProgressClass[] = L"VELMOK.frmProgress";
constexpr wchar_t kTitle[] = L"ベルモック";

void Print(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  for (char& c : bytes)
    if (c == '\r') c = ' ';
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::wstring Text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  text.resize(copied);
  return text;
}

template <typename Condition>
bool WaitFor(Condition condition, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(50);
  }
  return true;
}

HWND MainWindow() { return FindWindowW(kMainClass, nullptr); }
HWND StatusBar(HWND main) { return FindWindowExW(main, nullptr, L"msctls_statusbar32", nullptr); }
HWND MessageBox() { return FindWindowW(L"#32770", kTitle); }

int StatusCommand() {
  HWND main = MainWindow();
  if (!main) return 1;
  Print(Text(StatusBar(main)));
  return 0;
}

int WaitMain(double seconds) {
  if (!WaitFor([] { return MainWindow() && IsWindowVisible(MainWindow()); }, seconds)) return 1;
  return StatusCommand();
}

int PrintAll(double seconds) {
  HWND main = MainWindow();
  if (!main) return 1;
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  if (!WaitFor([] { return FindWindowW(kProgressClass, nullptr) != nullptr; }, 10)) {
    Print(L"(no print run started)");
    return StatusCommand() == 0 ? 1 : 1;
  }
  std::wstring report;
  HWND box = nullptr;
  bool failed = false;
  WaitFor(
      [&] {
        if (HWND progress = FindWindowW(kProgressClass, nullptr)) {
          if (HWND edit = FindWindowExW(progress, nullptr, L"Edit", nullptr)) report = Text(edit);
          if (HWND button = FindWindowExW(progress, nullptr, L"Button", nullptr))
            failed = Text(button) == std::wstring(L"閉じる(&X)");
          if (failed) return true;
        }
        return (box = MessageBox()) != nullptr;
      },
      seconds);
  Print(L"--- 自動操作処理中 ---");
  Print(report);
  if (failed) {
    HWND progress = FindWindowW(kProgressClass, nullptr);
    PostMessageW(progress, WM_COMMAND, MAKEWPARAM(10, BN_CLICKED),
                 reinterpret_cast<LPARAM>(FindWindowExW(progress, nullptr, L"Button", nullptr)));
  } else if (box) {
    if (HWND text = GetDlgItem(box, 0xFFFF)) Print(L"メッセージ: " + Text(text));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  } else {
    Print(L"(the run did not end in time)");
    return 1;
  }
  WaitFor([] { return MessageBox() == nullptr && FindWindowW(kProgressClass, nullptr) == nullptr; }, 10);
  Sleep(200);
  Print(L"--- ステータス ---");
  StatusCommand();
  return failed ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  const double seconds = argc > 2 ? _wtof(argv[2]) : 60.0;
  if (command == L"status") return StatusCommand();
  if (command == L"wait-main") return WaitMain(seconds);
  if (command == L"print-all") return PrintAll(seconds);
  if (command == L"post" && argc > 2) {
    HWND main = MainWindow();
    if (!main) return 1;
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(_wtoi(argv[2]), 0), 0);
    return 0;
  }
  if (command == L"wait-window" && argc > 2) {
    const std::wstring cls = argv[2];
    const double wait = argc > 3 ? _wtof(argv[3]) : 30.0;
    return WaitFor([&] { return FindWindowW(cls.c_str(), nullptr) != nullptr; }, wait) ? 0 : 1;
  }
  if (command == L"close-window" && argc > 2) {
    HWND w = FindWindowW(argv[2], nullptr);
    if (!w) return 1;
    PostMessageW(w, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == L"close") {
    HWND main = MainWindow();
    if (!main) return 1;
    PostMessageW(main, WM_CLOSE, 0, 0);
    return WaitFor([] { return MainWindow() == nullptr; }, seconds) ? 0 : 1;
  }
  return 2;
}
