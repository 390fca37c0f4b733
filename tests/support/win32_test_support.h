#pragma once
// Helpers for the tests that run under Wine: processes, windows found by class and title with
// deadlines (polling, never fixed sleeps), window texts, message boxes, scratch folders, journals.

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/scoped.h"

#include "platform/win32/wide.h"

namespace velmok::testing {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// Polls `condition` every 20 ms until it holds or `timeout` has passed; pumps this thread's
// messages meanwhile. True when the condition held.
bool WaitUntil(const std::function<bool()>& condition, Millis timeout);

// The folder that holds the running test program (the build's bin folder).
std::wstring BinDir();

class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  // Starts `exe` with the raw argument text `args`. `env` adds or replaces environment variables.
  static Process Launch(const std::wstring& exe, const std::wstring& args,
                        const std::map<std::wstring, std::wstring>& env = {}, const std::wstring& workDir = {});

  bool Valid() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }
  bool WaitExit(Millis timeout);
  std::optional<DWORD> ExitCode() const;
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Runs the current test once more in a child process of this program, started while the system's
// scaling is `dpi` (Wine reads it when a process starts), and checks that it passes there. True in
// that child, where the test goes on; false in the test itself, which then has nothing more to do.
bool InChildAtSystemDpi(UINT dpi);

// Ends every process whose executable has this file name (for example L"clw4sim.exe").
void KillProcessesNamed(const std::wstring& exeName);
bool AnyProcessNamed(const std::wstring& exeName);

// Top-level windows (of any process) by class and/or title; an empty string matches anything.
// Only visible windows count unless `includeHidden`.
HWND FindTopLevel(const std::wstring& className, const std::wstring& title, bool includeHidden = false);
HWND WaitForTopLevel(const std::wstring& className, const std::wstring& title, Millis timeout);
bool WaitForNoTopLevel(const std::wstring& className, const std::wstring& title, Millis timeout);
std::vector<HWND> TopLevelWindowsOf(DWORD processId);

// WM_GETTEXT, which works across processes (for a status bar: the text of its first part).
std::wstring WindowText(HWND window);
HWND ChildByClass(HWND parent, const std::wstring& className, int index = 0);

// A standard message box titled `title`; its text; pressing its OK button.
HWND WaitForMessageBox(const std::wstring& title, Millis timeout);
std::wstring MessageBoxText(HWND box);
// Whether the box shows an icon (a visible icon control holding one).
bool MessageBoxHasIcon(HWND box);
void PressMessageBoxOk(HWND box);

// A scratch folder, deleted with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

void WriteTextFile(const std::wstring& path, const std::string& utf8);
void MakeFolder(const std::wstring& path);
std::optional<std::string> ReadTextFile(const std::wstring& path);
// The lines of a UTF-8 text file (CR LF or LF), without their line ends; empty when missing.
std::vector<std::wstring> ReadLines(const std::wstring& path);
// Sets creation, last access and last write time to the given local time.
bool SetFileTimesLocal(const std::wstring& path, const SYSTEMTIME& local);
void DeleteTree(const std::wstring& path);

// A mutex whose access list grants nothing, as a first copy running elevated or as another user in
// the session leaves it to this one.
velmok::win32::ScopedHandle MutexOutOfReach(const std::wstring& name);

std::wstring W(std::string_view utf8);
std::string U8(std::wstring_view wide);

// UTF-8 as the ANSI code page, with WideCharToMultiByte as Windows has it: Windows refuses any
// flag but WC_ERR_INVALID_CHARS (ERROR_INVALID_FLAGS) and a default character (ERROR_INVALID_PARAMETER)
// for UTF-8, where Wine takes both. Wine keeps the ANSI code page of its locale, so this is how a
// test meets Windows' worldwide-language option.
win32::AnsiEncoding WindowsUtf8Encoding();

}  // namespace velmok::testing
