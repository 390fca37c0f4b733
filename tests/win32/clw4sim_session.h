#pragma once
// Driving the real clw4sim.exe from a test: starting it (directly or through the shell's "open" of a
// .cwj document) with quick knobs and journals in a scratch folder, typing into it with the
// program's own keyboard, finding its windows and reading its journals.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "clw4sim/key_journal.h"
#include "platform/win32/keyboard_win32.h"
#include "platform/win32/scoped.h"
#include "support/win32_test_support.h"

namespace velmok::testing {

// Titles of the driven application, as the program knows them.
std::wstring ClarisTitle(const std::wstring& documentName = {});
std::wstring OpenTitle();
std::wstring PrintTitle();
std::wstring PrintingTitle();
std::wstring WarningTitle();

// Sets environment variables of this process for the lifetime of the object (a shell launch passes
// them on), then puts the old values back.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::map<std::wstring, std::wstring>& values);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::map<std::wstring, std::optional<std::wstring>> saved_;
};

// Points ".cwj" at this build's clw4sim.exe for the current user while the object lives.
class ScopedCwjAssociation {
 public:
  ScopedCwjAssociation();
  ~ScopedCwjAssociation();
  ScopedCwjAssociation(const ScopedCwjAssociation&) = delete;
  ScopedCwjAssociation& operator=(const ScopedCwjAssociation&) = delete;
};

class SimSession {
 public:
  // Quick delays, journals in a scratch folder; `knobs` adds or overrides.
  explicit SimSession(std::initializer_list<std::pair<std::wstring, std::wstring>> knobs = {});
  ~SimSession();
  SimSession(const SimSession&) = delete;
  SimSession& operator=(const SimSession&) = delete;

  const std::map<std::wstring, std::wstring>& Knobs() const { return knobs_; }
  // Before the launch.
  void SetKnob(const std::wstring& name, const std::wstring& value) { knobs_[name] = value; }
  std::wstring Folder() const { return dir_.Path(); }
  // Writes a document file into the scratch folder (sub-folders are made) and returns its path.
  std::wstring MakeDocument(const std::wstring& relativePath);

  // Starts clw4sim.exe (with `document` as its argument when given) and waits for its main window.
  bool Launch(const std::wstring& document = {});
  // Opens `document` through the shell, as the print run does, and waits for the main window.
  bool LaunchThroughShell(const std::wstring& document);

  HWND Main() const { return main_; }
  DWORD ProcessId() const { return processId_; }
  std::wstring Title() const;
  bool WaitForTitle(const std::wstring& title, Millis timeout = 5s) const;
  // A visible top-level window of the simulator's process with this title, or nullptr.
  HWND FindWindowTitled(const std::wstring& title) const;
  HWND WaitForWindow(const std::wstring& title, Millis timeout = 5s) const;
  bool WaitForNoWindow(const std::wstring& title, Millis timeout = 5s) const;
  bool WaitForForeground(HWND window, Millis timeout = 5s) const;
  bool WaitExit(Millis timeout = 5s) const;
  std::optional<DWORD> ExitCode() const;
  bool Running() const;
  void Kill();

  // Types key notation into the foreground window and waits until it has been taken.
  bool Send(std::string_view notation);
  // Types `text` literally.
  bool Type(std::wstring_view text);

  std::vector<clw4sim::KeyRecord> Keys() const;
  std::vector<clw4sim::KeyRecord> ThiefKeys() const;
  std::vector<std::wstring> Printed() const;
  // Polls the key journal until `predicate` holds for one of its records.
  bool WaitForKey(const std::function<bool(const clw4sim::KeyRecord&)>& predicate, Millis timeout = 5s) const;

 private:
  bool Attach(Millis timeout);

  TempDir dir_;
  std::map<std::wstring, std::wstring> knobs_;
  win32::ScopedHandle process_;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
  win32::Win32Keyboard keyboard_;
};

// Every test starts and ends with no simulator and no focus thief running.
class Clw4SimTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// The last component of a Windows path.
std::wstring NameOf(const std::wstring& path);
std::wstring ClassOf(HWND window);
// The windows a user would see (Wine gives every thread a hidden IME window too).
std::vector<HWND> VisibleWindowsOf(DWORD processId);
// "down P", "char U+0010": what a key journal record says about the key itself.
std::string KeySummary(const clw4sim::KeyRecord& record);

// The text typed into the Open dialog, one entry per Enter that submitted it (from the key journal).
std::vector<std::wstring> TypedPaths(const std::vector<clw4sim::KeyRecord>& keys);
// The records with status "ignored".
std::vector<clw4sim::KeyRecord> IgnoredKeys(const std::vector<clw4sim::KeyRecord>& keys);
std::string Describe(const std::vector<clw4sim::KeyRecord>& keys);

}  // namespace velmok::testing
