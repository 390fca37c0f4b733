#pragma once
// A host for the simulator that records what it is asked for, and the fixture of its unit tests.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "clw4sim/simulator.h"

namespace clw4sim::testing {

using Phase = Simulator::Phase;

// Records what the simulator asks for as short lines; timers wait until the test lets them elapse.
class FakeHost final : public Host {
 public:
  void Show(Surface surface, const Document* document) override {
    calls.push_back("show " + Name(surface) + (document ? " " + document->name : ""));
  }
  void Hide(Surface surface) override { calls.push_back("hide " + Name(surface)); }
  void ShowFrame(bool shown) override { calls.push_back(shown ? "show frame" : "hide frame"); }
  void ShowDocument(const Document* document) override {
    calls.push_back("document " + (document ? document->name : std::string("-")));
  }
  void ShowStatus(std::string_view) override {}
  void StartTimer(Timer timer, unsigned ms) override {
    timers[timer] = ms;
    calls.push_back("timer " + std::to_string(static_cast<int>(timer)) + " " + std::to_string(ms));
  }
  std::string OpenDialogText() override { return typed; }
  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  bool FileIsReadOnly(const std::string& path) override { return readOnlyFiles.count(path) > 0; }
  void AppendPrintJournal(const std::string& path) override { journal.push_back(path); }
  void WriteSpoolJob(const Document& document) override { calls.push_back("spool " + document.name); }
  void Log(std::string_view) override {}
  void Beep() override { calls.push_back("beep"); }
  void StartFocusThief(unsigned holdMs) override { calls.push_back("thief " + std::to_string(holdMs)); }
  void Block(unsigned ms) override { calls.push_back("block " + std::to_string(ms)); }
  void Crash() override { calls.push_back("crash"); }
  void Hang() override { calls.push_back("hang"); }
  void Quit() override { calls.push_back("quit"); }

  static std::string Name(Surface surface) {
    switch (surface) {
      case Surface::OpenDialog: return "open";
      case Surface::PrintDialog: return "print";
      case Surface::ReadOnlyWarning: return "readonly";
      case Surface::SaveWarning: return "save";
      case Surface::Printing: return "printing";
      default: return "?";
    }
  }

  std::vector<std::string> calls;
  std::map<Timer, unsigned> timers;
  std::set<std::string> files;
  std::set<std::string> readOnlyFiles;
  std::vector<std::string> journal;
  std::string typed;
};

inline KeyEvent Ctrl(char letter) { return {KeyKind::Down, static_cast<std::uint32_t>(letter), kCtrl}; }
inline KeyEvent Down(std::uint32_t key, unsigned modifiers = 0) { return {KeyKind::Down, key, modifiers}; }
inline KeyEvent Char(std::uint32_t unit, unsigned modifiers = 0) { return {KeyKind::Char, unit, modifiers}; }
inline const KeyEvent kEnter = Down(vk::kReturn);
inline const KeyEvent kEscape = Down(vk::kEscape);

inline constexpr const char* kDoc1 = "C:\\書類\\見積 (案).cwj";
inline constexpr const char* kDoc2 = "C:\\書類\\請求 {4}+[控].cwj";

class SimulatorTest : public ::testing::Test {
 protected:
  SimulatorTest() {
    host.files = {kDoc1, kDoc2};
    knobs.openDelayMs = 300;
    knobs.dialogDelayMs = 100;
    knobs.printMs = 600;
    knobs.closeDelayMs = 50;
    knobs.quitDelayMs = 70;
    knobs.warningAgainMs = 150;
  }

  Simulator& Sim() {
    if (!simulator) simulator = std::make_unique<Simulator>(knobs, host);
    return *simulator;
  }

  KeyVerdict Press(Surface surface, const KeyEvent& key) {
    const KeyVerdict verdict = Sim().Classify(surface, key);
    Sim().Perform(verdict.command);
    return verdict;
  }

  void Elapse(Timer timer) {
    ASSERT_TRUE(host.timers.count(timer)) << "timer " << static_cast<int>(timer) << " was not started";
    host.timers.erase(timer);
    Sim().OnTimer(timer);
  }

  // Opens `path` through Ctrl+O and the Open dialog, as the print run does.
  void OpenByDialog(const std::string& path) {
    ASSERT_EQ(Press(Surface::Main, Ctrl('O')).status, KeyStatus::Used);
    Elapse(Timer::OpenDialogDue);
    host.typed = path;
    ASSERT_EQ(Press(Surface::OpenDialog, kEnter).command, Command::SubmitOpen);
    Elapse(Timer::OpenDone);
  }

  void Print() {
    ASSERT_EQ(Press(Surface::Main, Ctrl('P')).status, KeyStatus::Used);
    Elapse(Timer::PrintDialogDue);
    ASSERT_EQ(Press(Surface::PrintDialog, kEnter).command, Command::StartPrint);
    Elapse(Timer::PrintDone);
  }

  Knobs knobs;
  FakeHost host;
  std::unique_ptr<Simulator> simulator;
};

}  // namespace clw4sim::testing
