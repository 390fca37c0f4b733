#pragma once
// The whole road under Wine: the real VELMOK.exe prints through the real simulator, started by
// the shell's ".cwj" association. Every case is checked through the simulator's journals (what it
// printed, every key it received), the progress window's texts and the status line.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "e2e/velmok_app.h"
#include "resource.h"
#include "support/win32_test_support.h"

namespace velmok::testing {

inline constexpr wchar_t kProgressClass[] = L"VELMOK.frmProgress";
inline const std::wstring kTimeoutText = L"\r\nタイムアウトしました。\r\n";
inline const std::wstring kStopText = L"\r\n中断要求が発生しました。\r\n";

struct Outcome {
  bool finished = false;     // "印刷が終了しました。" was shown
  std::wstring progress;     // the progress window's status text at the end
  std::wstring status;       // the main window's status line afterwards
};

class PrintE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    KillProcessesNamed(L"clw4sim.exe");
    KillProcessesNamed(L"focusthief.exe");
    KillProcessesNamed(L"VELMOK.exe");
    ClearVelmokSettings();
    MakeFolder(Docs());
    MakeFolder(dir_ / L"app");
  }
  void TearDown() override {
    app_.reset();
    KillProcessesNamed(L"VELMOK.exe");
    KillProcessesNamed(L"VELMOK_queuetest.exe");
    KillProcessesNamed(L"clw4sim.exe");
    KillProcessesNamed(L"focusthief.exe");
  }

  std::wstring Docs() const { return dir_ / L"docs"; }
  std::wstring Doc(const std::wstring& name) const { return Docs() + L"\\" + name; }
  void MakeDocs(const std::vector<std::wstring>& names) {
    for (const auto& n : names) WriteTextFile(Doc(n), "ClarisWorks 4.0 test document\r\n");
  }

  // Quick simulator delays and journals in the scratch folder; `extra` adds knobs.
  std::map<std::wstring, std::wstring> Knobs(const std::map<std::wstring, std::wstring>& extra = {}) const {
    std::map<std::wstring, std::wstring> env = {
        {L"CLW4SIM_JOURNAL", dir_ / L"printed.txt"},     {L"CLW4SIM_KEYLOG", dir_ / L"keys.txt"},
        {L"CLW4SIM_THIEF_KEYLOG", dir_ / L"thief.txt"},  {L"CLW4SIM_OPEN_DELAY_MS", L"100"},
        {L"CLW4SIM_DIALOG_DELAY_MS", L"50"},             {L"CLW4SIM_PRINT_MS", L"300"},
        {L"CLW4SIM_CLOSE_DELAY_MS", L"50"},              {L"CLW4SIM_QUIT_DELAY_MS", L"50"},
    };
    for (const auto& [k, v] : extra) env[k] = v;
    return env;
  }

  HWND Start(const std::wstring& args, const std::map<std::wstring, std::wstring>& env,
             const wchar_t* exe = L"VELMOK.exe") {
    app_ = std::make_unique<VelmokApp>(dir_ / L"app", exe);
    app_->Start(args, env);
    HWND main = app_->WaitMainWindow();
    EXPECT_TRUE(main) << "the main window did not come";
    return main;
  }

  static HWND Progress() { return FindTopLevel(kProgressClass, L""); }
  static std::wstring ProgressText() {
    HWND p = Progress();
    return p ? WindowText(ChildByClass(p, L"Edit")) : std::wstring();
  }
  static HWND StopButton() {
    HWND p = Progress();
    return p ? ChildByClass(p, L"Button") : nullptr;
  }
  static void Click(HWND button) {
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  }
  static std::wstring StatusLine(HWND main) { return WindowText(ChildByClass(main, L"msctls_statusbar32")); }

  // Gives a command and follows the run to its end: answers the closing message, or closes the
  // report of a failed run with its 閉じる button.
  Outcome Print(HWND main, int command, Millis timeout = 240s) {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    EXPECT_TRUE(WaitUntil([] { return Progress() != nullptr; }, 15s)) << "no progress window";
    EXPECT_FALSE(IsWindowVisible(main)) << "the main window is hidden during the run";
    return FollowRun(main, timeout);
  }

  Outcome FollowRun(HWND main, Millis timeout) {
    Outcome o;
    HWND box = nullptr;
    const bool ended = WaitUntil(
        [&] {
          if (HWND b = StopButton(); b && WindowText(b) == L"閉じる(&X)") return true;
          return (box = FindTopLevel(L"#32770", kAppTitle)) != nullptr;
        },
        timeout);
    EXPECT_TRUE(ended) << "the run did not end: " << U8(ProgressText());
    if (box) {
      o.finished = MessageBoxText(box) == L"印刷が終了しました。";
      PressMessageBoxOk(box);
    } else if (HWND b = StopButton()) {
      o.progress = ProgressText();
      EXPECT_EQ(WindowText(ChildByClass(Progress(), L"Static")), L"※処理が中断されました。");
      EXPECT_TRUE(IsWindowVisible(Progress())) << "the report stays until it is closed";
      EXPECT_FALSE(IsWindowVisible(main));
      Click(b);
    }
    EXPECT_TRUE(WaitUntil([&] { return !Progress() && IsWindowVisible(main) && !FindTopLevel(L"#32770", kAppTitle); },
                          15s));
    WaitUntil([&] { return !StatusLine(main).empty(); }, 2s);
    o.status = StatusLine(main);
    return o;
  }

  std::vector<std::wstring> Printed() const { return ReadLines(dir_ / L"printed.txt"); }
  // Key journal lines whose status is "ignored" or "stray": keys that arrived where they do
  // nothing, or did what nobody printing documents would want.
  std::vector<std::wstring> IgnoredKeys() const {
    std::vector<std::wstring> out;
    for (const auto& line : ReadLines(dir_ / L"keys.txt"))
      if (line.find(L"\tignored\t") != std::wstring::npos || line.find(L"\tstray\t") != std::wstring::npos)
        out.push_back(line);
    return out;
  }
  // Puts `window` in front, again until it stays there: a program that was just started may
  // still take the foreground itself a moment later.
  static bool BringToFront(HWND window) {
    return WaitUntil(
        [&] {
          if (GetForegroundWindow() != window) SetForegroundWindow(window);
          return GetForegroundWindow() == window;
        },
        5s);
  }
  std::vector<std::wstring> ThiefKeys() const { return ReadLines(dir_ / L"thief.txt"); }
  static std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

  TempDir dir_;
  std::unique_ptr<VelmokApp> app_;
};

inline std::wstring Joined(const std::vector<std::wstring>& lines) {
  std::wstring out;
  for (const auto& l : lines) out += l + L"\n";
  return out;
}

}  // namespace velmok::testing
