#pragma once
// The real VELMOK.exe as a black box: a private copy in a scratch folder (so its log file and
// everything beside it belong to the test), started with a command line, watched through its
// windows.

#include <map>
#include <string>

#include "support/win32_test_support.h"

namespace velmok::testing {

inline constexpr wchar_t kMainWindowClass[] = L"VELMOK.frmMain";
inline constexpr wchar_t kAppTitle[] = L"ベルモック";

class VelmokApp {
 public:
  // Copies VELMOK.exe (or the named build of it) into `folder`. With VELMOK_TEST_WINDOWS7=1 in the
  // environment (the pass of the tier that plays Windows 7), the copy named VELMOK.exe is the test
  // build, which alone can be told to do without every function newer than Windows 7 and, without
  // a queue folder, is VELMOK.exe in all else; the variable reaches it through the environment.
  explicit VelmokApp(const std::wstring& folder, const std::wstring& exeName = L"VELMOK.exe");
  ~VelmokApp();

  const std::wstring& Exe() const { return exe_; }
  std::wstring LogPath() const { return exe_.substr(0, exe_.size() - 4) + L".log"; }

  void Start(const std::wstring& args = {}, const std::map<std::wstring, std::wstring>& env = {});
  Process& Proc() { return process_; }
  // The main window of this process, waiting for it up to `timeout`.
  HWND WaitMainWindow(Millis timeout = 20s);
  // Asks the main window to close (as the user would) and waits for the process to end.
  bool Close(Millis timeout = 10s);

 private:
  std::wstring folder_;
  std::wstring exe_;
  Process process_;
};

// Removes the program's per-user settings, so a test starts as on a first run.
void ClearVelmokSettings();

}  // namespace velmok::testing
