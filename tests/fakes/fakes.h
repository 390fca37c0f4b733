#pragma once
// Fakes of the platform interfaces for the portable tests. Time is virtual: Sleep advances the
// clock at once, so a wait of 401 polls runs in microseconds.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/debugger_output.h"
#include "platform/instance_lock.h"
#include "platform/key_notation.h"
#include "platform/keyboard.h"
#include "platform/log_file.h"
#include "platform/message_box.h"
#include "platform/session_duties.h"
#include "platform/settings_store.h"
#include "platform/window_system.h"

namespace velmok::fakes {

// A clipboard that holds the given file list, or none.
class ListedClipboard final : public platform::ClipboardFiles {
 public:
  std::optional<std::vector<std::string>> files;
  bool OffersFileList() override { return files.has_value(); }
  std::optional<std::vector<std::string>> FileList() override { return files; }
};

class FakeClock final : public platform::Clock {
 public:
  platform::LocalDateTime now{2026, 12, 6, 6, 21, 32, 450'000};
  std::int64_t sleptMs = 0;
  int sleeps = 0;
  std::function<void(int)> onSleep;  // runs after each sleep, for scripted worlds

  platform::LocalDateTime Now() override { return now; }
  std::int64_t SteadyMs() override { return sleptMs; }
  void Sleep(int milliseconds) override {
    sleptMs += milliseconds;
    ++sleeps;
    if (onSleep) onSleep(milliseconds);
  }
};

class FakeDebuggerOutput final : public platform::DebuggerOutput {
 public:
  std::vector<std::string> lines;
  void Write(std::string_view text) override { lines.emplace_back(text); }
};

// The log file on NTFS: a file created within 15 s of the deletion of its namesake gets the
// deleted file's creation time back (name tunnelling). `clock`, when given, dates creations and
// deletions; without it a new file is created on 2026-12-06.
class FakeLogFile final : public platform::LogFile {
 public:
  std::vector<std::string> lines;
  // The lines' texts without their stamps.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& line : lines)
      if (line.size() > 25) out.push_back(line.substr(25));
    return out;
  }
  std::optional<platform::LocalDate> created;
  int deletes = 0;
  int stamps = 0;
  bool undeletable = false;
  FakeClock* clock = nullptr;

  bool AppendLine(std::string_view line) override {
    const bool creating = !created.has_value();
    if (creating) {
      const auto now = Now();
      created = deleted_ && Seconds(now) - Seconds(deletedAt_) <= 15 ? tunnelled_ : now.Date();
    }
    lines.emplace_back(line);
    return creating;
  }
  std::optional<platform::LocalDate> CreationDate() override { return created; }
  void SetCreationTime(const platform::LocalDateTime& when) override {
    ++stamps;
    if (created) created = when.Date();
  }
  void Delete() override {
    ++deletes;
    if (undeletable || !created) return;
    deleted_ = true;
    deletedAt_ = Now();
    tunnelled_ = *created;
    created.reset();
    lines.clear();
  }

 private:
  platform::LocalDateTime Now() const {
    return clock ? clock->now : platform::LocalDateTime{2026, 12, 6, 6, 21, 32, 0};
  }
  // Seconds since an arbitrary epoch; months as 31 days are enough to compare nearby times.
  static std::int64_t Seconds(const platform::LocalDateTime& t) {
    const std::int64_t days = (static_cast<std::int64_t>(t.year) * 12 + t.month) * 31 + t.day;
    return ((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
  }

  bool deleted_ = false;
  platform::LocalDateTime deletedAt_{};
  platform::LocalDate tunnelled_{};
};

struct FakeWindow {
  std::string className;
  std::string title;
  std::uint32_t process = 0;
};

class FakeWindowSystem final : public platform::WindowSystem {
 public:
  std::map<platform::WindowId, FakeWindow> windows;
  platform::WindowId foreground = platform::kNoWindow;
  platform::WindowId nextId = 100;
  int findCalls = 0;
  // Runs at the start of every question asked of the desktop: the world may change between any
  // two of them (another program takes the foreground, a window comes or goes).
  std::function<void()> onCall;

  platform::WindowId Add(FakeWindow w) {
    windows[nextId] = std::move(w);
    return nextId++;
  }
  void Remove(platform::WindowId id) {
    windows.erase(id);
    if (foreground == id) foreground = platform::kNoWindow;
  }

  platform::WindowId FindTopLevelByClass(std::string_view className) override;
  platform::WindowId FindTopLevelByTitle(std::string_view title) override;
  platform::WindowId FindTopLevelByTitleOf(std::uint32_t process, std::string_view title) override;
  std::string WindowTitle(platform::WindowId window, std::size_t maxChars) override;
  std::uint32_t ProcessOfWindow(platform::WindowId window) override;
  platform::WindowId ForegroundWindow() override {
    Called();
    return foreground;
  }

 private:
  void Called() {
    if (onCall) onCall();
  }
};

// Keys go to the foreground window of `desk` (when one is given), as SendInput's do.
class FakeKeyboard final : public platform::Keyboard {
 public:
  struct Sent {
    std::string notation;
    Wait wait;
    friend bool operator==(const Sent&, const Sent&) = default;
  };
  std::vector<Sent> sent;                     // every batch that went out (a part of one: what went)
  std::vector<platform::WindowId> receivers;  // the window in front as each of them went out
  std::vector<std::uint32_t> receiverProcesses;  // and its process
  std::function<void(const Sent&)> onSend;    // the keys arrive
  std::function<void()> beforeSend;           // the world, right as the keys are to go
  std::function<void()> afterSend;            // the world, once they were taken
  FakeWindowSystem* desk = nullptr;
  bool modifiersHeld = false;
  bool locked = false;                        // the session is locked: nothing reaches any window
  std::optional<Outcome> fault;               // Refused or Failed: nothing is delivered
  // The session is locked as a batch goes, after this many of its keystrokes (nullopt: not now):
  // those take effect, the rest does not, and the screen stays locked.
  std::function<std::optional<std::size_t>(std::string_view notation)> lockAfter;

  std::function<void(platform::WindowId front, std::string_view notation, Outcome)> onAttempt;  // for traces

  Delivery SendKeysTo(platform::WindowId front, std::string_view notation, Wait wait) override {
    const Delivery delivery = Deliver(front, notation, wait);
    if (onAttempt) onAttempt(front, notation, delivery.outcome);
    return delivery;
  }
  bool Locked() override { return locked; }

 private:
  Delivery Deliver(platform::WindowId front, std::string_view notation, Wait wait) {
    if (beforeSend) beforeSend();
    if (desk && front != platform::kNoWindow && desk->foreground != front) return {Outcome::NotInFront};
    if (locked) return {Outcome::Locked};
    if (modifiersHeld) return {Outcome::ModifiersHeld};
    if (fault) return {*fault};
    const auto strokes = ParseKeyNotation(notation);
    const std::size_t count = strokes ? strokes->size() : 0;
    if (lockAfter)
      if (const auto taken = lockAfter(notation); taken && *taken < count) {
        locked = true;
        if (*taken > 0) Take(FormatKeyStrokes({strokes->begin(), strokes->begin() + static_cast<std::ptrdiff_t>(*taken)}), wait);
        return {Outcome::Locked, *taken};
      }
    Take(std::string(notation), wait);
    if (afterSend) afterSend();
    if (desk && front != platform::kNoWindow && desk->foreground != front) return {Outcome::ForegroundChanged, count};
    return {Outcome::Sent, count};
  }

  void Take(std::string notation, Wait wait) {
    sent.push_back({std::move(notation), wait});
    receivers.push_back(desk ? desk->foreground : platform::kNoWindow);
    receiverProcesses.push_back(0);
    if (desk)
      if (const auto it = desk->windows.find(desk->foreground); it != desk->windows.end())
        receiverProcesses.back() = it->second.process;
    if (onSend) onSend(sent.back());
  }
};

// What the system is asked to hold: the machine awake, and each window's reason for refusing the
// session's end.
class FakeSessionDuties final : public platform::SessionDuties {
 public:
  bool awake = false;
  int awakeCalls = 0;   // KeepAwake(true)
  int asleepCalls = 0;  // KeepAwake(false)
  std::map<platform::WindowId, std::string> reasons;
  void KeepAwake(bool on) override {
    awake = on;
    ++(on ? awakeCalls : asleepCalls);
  }
  void SetShutdownReason(platform::WindowId window, std::string_view reason) override {
    reasons[window] = std::string(reason);
  }
  void ClearShutdownReason(platform::WindowId window) override { reasons.erase(window); }
};

class FakeMessageBoxes final : public platform::MessageBoxes {
 public:
  std::vector<std::pair<std::string, Icon>> shown;
  std::function<void()> onShow;  // while the box would be up
  void ShowOk(std::string_view text, Icon icon) override {
    shown.emplace_back(std::string(text), icon);
    if (onShow) onShow();
  }
};

class FakeInstanceLock final : public platform::InstanceLock {
 public:
  bool heldElsewhere = false;
  // The system's answer, when a test gives one (it then rules over heldElsewhere).
  std::optional<platform::TokenAnswer> answer;
  bool TryAcquire() override { return answer ? !platform::AnotherInstanceRuns(*answer) : !heldElsewhere; }
};

class FakeSettingsStore final : public platform::SettingsStore {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::optional<std::string> Read(std::string_view section, std::string_view key) override {
    const auto it = values.find({std::string(section), std::string(key)});
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    values[{std::string(section), std::string(key)}] = std::string(value);
  }
};

}  // namespace velmok::fakes
