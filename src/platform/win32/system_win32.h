#pragma once
// Small Windows services: the clock, the debugger output, message boxes, the single-instance token.

#include <windows.h>

#include <string>

#include "platform/clock.h"
#include "platform/debugger_output.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"
#include "platform/win32/scoped.h"

namespace velmok::win32 {

class Win32Clock final : public platform::Clock {
 public:
  platform::LocalDateTime Now() override;
  void Sleep(int milliseconds) override;
  std::int64_t SteadyMs() override;
};

class Win32DebuggerOutput final : public platform::DebuggerOutput {
 public:
  void Write(std::string_view text) override;
};

class Win32MessageBoxes final : public platform::MessageBoxes {
 public:
  // `title` is the caption of every box.
  explicit Win32MessageBoxes(std::string_view title, HWND owner = nullptr) : title_(title), owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  void ShowOk(std::string_view text, Icon icon) override;

 private:
  std::string title_;
  HWND owner_;
};

// A named mutex in the user's session. A first copy running elevated, or as another user in the
// session, keeps it out of this copy's reach: opening it is refused, and that too means it exists.
class Win32InstanceLock final : public platform::InstanceLock {
 public:
  explicit Win32InstanceLock(std::wstring name) : name_(std::move(name)) {}
  bool TryAcquire() override;

 private:
  std::wstring name_;
  ScopedHandle mutex_;
};

// The folder that holds the running program, without a trailing separator, and the program's
// file name without its extension.
std::wstring ProgramFolder();
std::wstring ProgramBaseName();
// The folder of the system's own programs (C:\Windows\system32).
std::wstring SystemFolder();

// Whether the program runs under Wine rather than on Windows.
bool RunningUnderWine();

}  // namespace velmok::win32
