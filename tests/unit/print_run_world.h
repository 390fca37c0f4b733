#pragma once
// The print run against the scripted ClarisWorks, in virtual time: the world every print run test
// starts from.

#include <string>
#include <vector>

#include "fakes/scripted_claris.h"
#include "printing/print_run.h"

namespace velmok::fakes {

inline const std::string kTimeoutText = "\r\nタイムアウトしました。\r\n";
inline const std::string kStopText = "\r\n中断要求が発生しました。\r\n";

inline bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

struct RunWorld {
  FakeWindowSystem windows;
  FakeClock clock;
  FakeKeyboard keyboard;
  ScriptedClaris claris{windows, clock, keyboard};
  FakeShell shell;
  ScriptedQueue queue;
  RecordingDisplay display;
  FakePump pump{clock};
  ProgressServices progress{display, pump, clock};
  ClarisProbes probes{windows};
  PrintRun run{{probes, keyboard, shell, queue, clock, progress, 555, "C:\\Program Files\\VELMOK"}};

  RunWorld() {
    shell.onOpen = [this](const std::string& file) { claris.Launch(file); };
    clock.now = {2026, 12, 7, 9, 5, 3, 0};
  }
  // Answers everything at once; printing takes one poll.
  void Prompt() {
    claris.launchMs = claris.dialogMs = claris.openMs = claris.closeMs = claris.quitMs = 0;
    claris.printMs = 50;
  }
  // Requests the emergency stop once the virtual clock has reached `ms`.
  void StopAt(std::int64_t ms) {
    pump.onPump = [this, ms] {
      if (clock.sleptMs >= ms) progress.SetCancelRequested(true);
    };
  }
  bool Run(const std::vector<std::string>& targets, std::size_t listCount = 3,
           const std::vector<std::string>& clarisPaths = {}) {
    return run.PrintSub(listCount, targets, clarisPaths);
  }
  // Keys that went out while a window of another process was in front.
  std::vector<std::string> KeysOutsideClaris() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < keyboard.sent.size(); ++i)
      if (keyboard.receiverProcesses[i] != ScriptedClaris::kProcess) out.push_back(keyboard.sent[i].notation);
    return out;
  }
};

}  // namespace velmok::fakes
