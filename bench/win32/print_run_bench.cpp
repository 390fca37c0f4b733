// The print run under Wine, the real VELMOK.exe against a simulator that answers at once:
//  - three documents: the run's time against the sum of its pauses and poll slices (each pause
//    21 slices of 50 ms; each poll that did not find its window one slice), both from this run;
//  - the emergency stop, pressed at twenty moments of a run that keeps sending keys (pauses, waits,
//    right after a step's text): from the press to the stop text, against one 50 ms slice, and
//    how many keys reached the simulator after the press (the target is none);
//  - the emergency stop pressed while a long path is being typed into the Open dialog, as one of
//    its pieces of eight characters arrives: from the press to the stop text, and what reached the
//    simulator afterwards (at most the piece on its way as the button was pressed, never the Enter).

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "e2e/velmok_app.h"
#include "resource.h"
#include "support/win32_test_support.h"

namespace {

using namespace velmok::testing;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kProgressClass[] = L"VELMOK.frmProgress";

HWND Progress() { return FindTopLevel(kProgressClass, L""); }
std::wstring ProgressText() {
  HWND p = Progress();
  return p ? WindowText(ChildByClass(p, L"Edit")) : std::wstring();
}

std::map<std::wstring, std::wstring> Knobs(const TempDir& dir, const std::wstring& openDelay) {
  return {{L"CLW4SIM_JOURNAL", dir / L"printed.txt"}, {L"CLW4SIM_KEYLOG", dir / L"keys.txt"},
          {L"CLW4SIM_OPEN_DELAY_MS", openDelay},       {L"CLW4SIM_DIALOG_DELAY_MS", L"0"},
          {L"CLW4SIM_PRINT_MS", L"50"},                {L"CLW4SIM_CLOSE_DELAY_MS", L"0"},
          {L"CLW4SIM_QUIT_DELAY_MS", L"0"}};
}

HWND StartWithDocuments(TempDir& dir, VelmokApp& app, int documents, const std::wstring& openDelay) {
  MakeFolder(dir / L"docs");
  for (int i = 1; i <= documents; ++i) WriteTextFile(dir / (L"docs\\文書" + std::to_wstring(i) + L".cwj"), "doc");
  app.Start(L"\"" + (dir / L"docs") + L"\"", Knobs(dir, openDelay));
  return app.WaitMainWindow();
}

void Cleanup() {
  KillProcessesNamed(L"VELMOK.exe");
  KillProcessesNamed(L"clw4sim.exe");
  ClearVelmokSettings();
  // The windows of an ended simulator may linger a moment on a busy machine: the next print would
  // then be refused, with ClarisWorks seen running.
  WaitUntil([] { return !FindTopLevel(L"CLW4MainClass", L"", true); }, std::chrono::seconds(10));
}

// Presses the stop button of the progress window and returns the milliseconds until its stop text
// shows, watched closely (every millisecond), so that the figure is the program's, not the watcher's.
double PressStopAndWaitForItsText() {
  const std::wstring stopText = L"\r\n中断要求が発生しました。\r\n";
  HWND button = ChildByClass(Progress(), L"Button");
  PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  const auto pressed = Clock::now();
  const auto deadline = pressed + std::chrono::seconds(10);
  for (;;) {
    const std::wstring text = ProgressText();
    if (text.size() >= stopText.size() && text.compare(text.size() - stopText.size(), stopText.size(), stopText) == 0)
      break;
    if (Clock::now() > deadline) break;
    Sleep(1);
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
}

// `windows7`: the test build of the program, doing without every function newer than Windows 7.
int RunTime(bool windows7) {
  _wputenv(windows7 ? L"VELMOK_TEST_WINDOWS7=1" : L"VELMOK_TEST_WINDOWS7=");
  Cleanup();
  TempDir dir;
  MakeFolder(dir / L"app");
  VelmokApp app(dir / L"app");
  const char* system = windows7 ? " as on Windows 7" : "";
  HWND main = StartWithDocuments(dir, app, 3, L"0");
  if (!main) {
    std::printf("print run under Wine%s: the program did not show its main window\n", system);
    return 1;
  }
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
  const auto start = Clock::now();
  // The status text is replaced for each document: keep its last form per document.
  std::map<std::wstring, std::wstring> lastText;
  HWND box = nullptr;
  WaitUntil(
      [&] {
        const std::wstring text = ProgressText();
        if (!text.empty()) lastText[text.substr(0, text.find(L'\r'))] = text;
        return (box = FindTopLevel(L"#32770", kAppTitle)) != nullptr;
      },
      std::chrono::minutes(3));
  const double actual = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  if (!box) {
    std::printf("print run under Wine%s: no closing message within 3 minutes; the run shows:\n%s\n", system,
                U8(ProgressText()).c_str());
    return 1;
  }
  PressMessageBoxOk(box);

  long long polls = 0;
  const std::wregex counter(L"Cnt=([0-9]+)");
  for (const auto& [header, text] : lastText)
    for (auto it = std::wsregex_iterator(text.begin(), text.end(), counter); it != std::wsregex_iterator(); ++it)
      polls += std::stoll((*it)[1].str());
  const int pauses = 6 + 8 * 2 + 1;
  const double expected = pauses * 21 * 50.0 + static_cast<double>(polls) * 50.0;
  std::printf("print run under Wine%s: 3 documents, %d pauses, %lld poll slices\n", system, pauses, polls);
  velmok::bench::Report("three documents, F5 to the closing message", actual, "sum of pauses and slices", expected,
                        "<= 1.05");
  app.Close();
  _wputenv(L"VELMOK_TEST_WINDOWS7=");
  return 0;
}

int StopLatency() {
  constexpr int kPresses = 20;
  std::vector<double> latencies;
  std::size_t keysAfter = 0;
  for (int i = 0; i < kPresses; ++i) {
    Cleanup();
    TempDir dir;
    MakeFolder(dir / L"app");
    VelmokApp app(dir / L"app");
    HWND main = StartWithDocuments(dir, app, 2, i % 4 == 0 ? L"3000" : L"0");
    if (!main) return 1;
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
    WaitUntil([] { return ProgressText().find(L"ファイルオープン待ちしています...") != std::wstring::npos; },
              std::chrono::seconds(30));
    Sleep(137 * i);  // somewhere in the run: a pause, a wait, the moment a key is due
    const std::size_t keysAtPress = ReadLines(dir / L"keys.txt").size();
    latencies.push_back(PressStopAndWaitForItsText());
    std::printf("  press %2d at %4d ms into the wait for the Open dialog: %.1f ms\n", i + 1, 137 * i, latencies.back());
    Sleep(1500);  // anything still on its way to the simulator has arrived by now
    keysAfter += ReadLines(dir / L"keys.txt").size() - keysAtPress;
  }
  std::sort(latencies.begin(), latencies.end());
  velmok::bench::Report("emergency stop, press to stop text (worst of 20)", latencies.back(), "one slice", 50.0,
                        "<= 50 ms");
  velmok::bench::Report("emergency stop, press to stop text (median)", latencies[latencies.size() / 2], "one slice",
                        50.0, "<= 50 ms");
  std::printf("keys that reached the simulator after the press, in %d presses: %zu (target 0)\n", kPresses,
              keysAfter);
  Cleanup();
  return 0;
}

// The characters typed into the Open dialog, and whether its Enter came, by the simulator's journal.
struct Typed {
  std::size_t characters = 0;
  bool enter = false;
};
Typed TypedIntoOpenDialog(const std::wstring& journal) {
  Typed t;
  for (const auto& line : ReadLines(journal)) {
    if (line.find(L"\t開く\t") == std::wstring::npos) continue;
    if (line.find(L"\tchar\t") != std::wstring::npos) ++t.characters;
    if (line.find(L"\tdown\tRETURN\t") != std::wstring::npos) t.enter = true;
  }
  return t;
}

int StopWhileTyping() {
  constexpr int kPresses = 8;
  constexpr std::size_t kPieceChars = 8;
  std::vector<double> latencies;
  std::size_t worstAfter = 0;
  int enters = 0;
  for (int i = 0; i < kPresses; ++i) {
    Cleanup();
    TempDir dir;
    MakeFolder(dir / L"app");
    // The second document lies deep: its path goes out in some fifteen pieces.
    std::wstring deep = dir / L"docs";
    MakeFolder(deep);
    WriteTextFile(deep + L"\\文書1.cwj", "doc");
    for (const wchar_t* folder : {L"\\二〇二六年度の報告書", L"\\営業部の月次資料とその控え", L"\\十二月分の見積書"}) {
      deep += folder;
      MakeFolder(deep);
    }
    WriteTextFile(deep + L"\\取引先あての見積書その二.cwj", "doc");
    VelmokApp app(dir / L"app");
    app.Start(L"\"" + (dir / L"docs") + L"\"", Knobs(dir, L"0"));
    HWND main = app.WaitMainWindow();
    if (!main) return 1;
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_PRINT_ALLPRINT, 0), 0);
    // Pressed as piece 1, 3, 5 ... of the path arrives.
    const std::size_t pressAt = kPieceChars * static_cast<std::size_t>(1 + 2 * (i % 4)) - (i / 4) * 3;
    const auto giveUp = Clock::now() + std::chrono::seconds(60);
    while (TypedIntoOpenDialog(dir / L"keys.txt").characters < pressAt && Clock::now() < giveUp) Sleep(1);
    const Typed atPress = TypedIntoOpenDialog(dir / L"keys.txt");
    if (atPress.characters < pressAt) {
      std::printf("  press %d: the path was not typed; the run shows:\n%s\n", i + 1, U8(ProgressText()).c_str());
      return 1;
    }
    latencies.push_back(PressStopAndWaitForItsText());
    Sleep(1500);
    const Typed after = TypedIntoOpenDialog(dir / L"keys.txt");
    const std::size_t typedAfter = after.characters - atPress.characters;
    worstAfter = std::max(worstAfter, typedAfter);
    enters += after.enter ? 1 : 0;
    std::printf("  press %d with %zu characters typed: %.1f ms, %zu characters after it%s\n", i + 1,
                atPress.characters, latencies.back(), typedAfter, after.enter ? ", and the Enter" : "");
  }
  std::sort(latencies.begin(), latencies.end());
  velmok::bench::Report("emergency stop while a path is typed, press to stop text (worst of 8)", latencies.back(),
                        "one slice", 50.0, "<= 50 ms");
  std::printf("characters after the press, at the most: %zu (the piece on its way: <= %zu); Enters after the "
              "press: %d (target 0)\n",
              worstAfter, kPieceChars, enters);
  Cleanup();
  return 0;
}

}  // namespace

int wmain() {
  const int a = RunTime(false);
  const int windows7 = RunTime(true);
  const int b = StopLatency();
  const int c = StopWhileTyping();
  return a | windows7 | b | c;
}
