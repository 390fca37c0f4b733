// clw4sim.exe — stands in for ClarisWorks 4.0 (Japanese edition) wherever VELMOK is run or tested
// without it. It keeps the driven application's contract: the main window of class "CLW4MainClass"
// titled "ｸﾗﾘｽﾜｰｸｽ 4.0" (with " - [name]" while a document is open), the dialogs "開く", "印刷" and
// "警告", the printing window "クラリスワークス印刷", and the keys Ctrl+O, Ctrl+P, Ctrl+W, Ctrl+N,
// Ctrl+Q, Enter and Esc in the states where the real program takes them. Every other key is ignored,
// and every key is journalled.
//
//   clw4sim.exe ["C:\path\document.cwj"]      (the shell's "open" of a .cwj document)
//
// Knobs: environment variables, read once at start (a shell launch passes them on). Times are
// milliseconds; a document number n is the 1-based ordinal of the document in the order this
// process opened documents. A value that cannot be read is reported in the event log and ignored.
//
//   CLW4SIM_JOURNAL           print journal: the whole path of every printed document, appended
//                             (UTF-8, CR LF) when it is handed to the spooler.
//                             Default %TEMP%\clw4sim-journal.txt
//   CLW4SIM_KEYLOG            key journal: one line per key received (format in key_journal.h).
//                             Default %TEMP%\clw4sim-keys.txt
//   CLW4SIM_LOG               event log (human-readable, UTF-8). Default: none
//   CLW4SIM_SPOOL_DIR         when set, every printed document also leaves a job file
//                             job-<tick>-<pid>-<n>.spl (its number and path) in this folder
//   CLW4SIM_START_DELAY_MS    before the main window appears (default 0)
//   CLW4SIM_FOREGROUND_DELAY_MS  how long the new main window stays visible but in the background
//                             before it takes the foreground (default 0: it is in the foreground
//                             before it becomes visible); keys typed meanwhile do not reach it
//   CLW4SIM_OPEN_DELAY_MS     from the open request to the document's title (default 300)
//   CLW4SIM_DIALOG_DELAY_MS   from Ctrl+O / Ctrl+P to the "開く" / "印刷" dialog (default 100)
//   CLW4SIM_PRINT_MS          how long the printing window stays (default 600)
//   CLW4SIM_CLOSE_DELAY_MS    from Ctrl+W (or Ctrl+N in the save warning) to the close (default 100)
//   CLW4SIM_QUIT_DELAY_MS     from Ctrl+Q to the end of the program (default 100)
//   CLW4SIM_WARNING_AGAIN_MS  before the read-only warning comes back (default 150)
//   CLW4SIM_READONLY          file names ("|"-separated, "*" = all) that raise the read-only
//                             warning "警告" on opening; files with the read-only attribute do too
//   CLW4SIM_READONLY_REPEAT   how many more times that warning comes back after Enter (default 0)
//   CLW4SIM_MODIFIED          file names ("|"-separated, "*" = all) that raise the save warning
//                             "警告" on Ctrl+W / Ctrl+Q (Ctrl+N: don't save, Esc: cancel, Enter: save)
//   CLW4SIM_CRASH_AT          <step>:<n> — the process ends at once (exit code 3, windows gone)
//   CLW4SIM_HANG_AT           <step>:<n> — the user-interface thread stops answering for good
//                             step: open (the open begins), opened (the title names the document),
//                             printdialog ("印刷" shown), printing (printing window shown),
//                             close (Ctrl+W or the quit starts closing the document)
//   CLW4SIM_NO_DIALOG         open:<n> or print:<n> — that dialog never appears for document n
//                             (the key that would open it is journalled as ignored)
//   CLW4SIM_STEAL_FOCUS       <step>:<n>:<ms> — at that moment focusthief.exe (beside this program)
//                             takes the foreground for <ms>, then gives it back
//   CLW4SIM_THIEF_KEYLOG      key journal of focusthief.exe. Default %TEMP%\focusthief-keys.txt
//   CLW4SIM_CLOSE_BLOCK_MS    while a document closes, the program does not answer for this long
//                             (as when it writes its files); keys typed meanwhile are taken after
//   CLW4SIM_HIDE_BEFORE_END_MS  after Ctrl+Q the main window is hidden this long before the
//                             program ends (default: it stays until the end)
//   CLW4SIM_WARNING_BEFORE_FRAME_MS  a read-only document given at start raises "警告" before the
//                             main window is shown; the main window comes this long after Enter
//   CLW4SIM_SINGLE_INSTANCE   1 (default): a start with a document while the program already runs
//                             hands the document to the running program and ends, as the real
//                             program does; 0: every start is a program of its own
//   CLW4SIM_ANSI              1: an ANSI program, as ClarisWorks 4.0 is: ANSI windows and message
//                             loop; its command line and the path typed into "開く" reach it through
//                             the ANSI code page, so a character outside it arrives as '?'
//
// Keys that come while the program is busy (a dialog on its way, a document opening, printing or
// closing) wait and are taken once it is done, in whatever state it is then. Ctrl+N outside the
// save warning makes a new document "名称未設定 n"; Enter or text typed into a document modifies
// it. Both are journalled as "stray".

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string_view>
#include <vector>
#include <string>

#include "clw4sim/application_win32.h"
#include "clw4sim/knobs.h"
#include "clw4sim/main_window_win32.h"
#include "clw4sim/texts.h"
#include "clw4sim/window_win32.h"
#include "platform/win32/wide.h"

namespace {

using velmok::win32::Narrow;
using velmok::win32::Widen;

std::optional<std::string> EnvironmentValue(std::string_view name) {
  const std::wstring wideName = Widen(name);
  const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
  value.resize(length);
  return Narrow(value);
}

std::string TempFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, path);
  return Narrow(path);
}

// The first argument of an ANSI command line, as an ANSI program reads it ("" when none), and the
// number of arguments with the program.
std::string AnsiCommandLineDocument(int& argumentCount) {
  std::string_view line(GetCommandLineA());
  std::vector<std::string> arguments;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string argument;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
      if (line[i] == '"')
        quoted = !quoted;
      else
        argument += line[i];
    }
    arguments.push_back(argument);
  }
  argumentCount = static_cast<int>(arguments.size());
  return arguments.size() > 1 ? clw4sim::FromAnsi(arguments[1]) : std::string();
}

// The document named on the command line (the first argument), or an empty string.
std::string CommandLineDocument(int& argumentCount) {
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &argumentCount);
  std::string document;
  if (arguments && argumentCount > 1) document = Narrow(arguments[1]);
  if (arguments) LocalFree(arguments);
  return document;
}

// Hands the document to the program already running; true when it took it.
bool HandOver(HWND running, const std::string& document) {
  const std::wstring path = Widen(document);
  COPYDATASTRUCT data{};
  data.dwData = clw4sim::kHandOverTag;
  data.cbData = static_cast<DWORD>(path.size() * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(path.data());
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                             &answer) &&
         answer == TRUE;
}

int RunMessageLoop(clw4sim::Application& application, bool ansi) {
  MSG msg;
  for (;;) {
    const BOOL got = ansi ? GetMessageA(&msg, nullptr, 0, 0) : GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 1;
    if (application.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    if (ansi)
      DispatchMessageA(&msg);
    else
      DispatchMessageW(&msg);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  clw4sim::Knobs knobs = clw4sim::ReadKnobs(EnvironmentValue, TempFolder());
  clw4sim::UseAnsiWindows(knobs.ansi);
  int argumentCount = 0;
  const std::string document = knobs.ansi ? AnsiCommandLineDocument(argumentCount) : CommandLineDocument(argumentCount);

  if (knobs.singleInstance) {
    if (HWND running = FindWindowW(Widen(clw4sim::texts::kMainClass).c_str(), nullptr)) {
      if (document.empty()) {
        SetForegroundWindow(running);
        return 0;
      }
      // A running program that does not take the document (it hangs) leaves the start without effect.
      return HandOver(running, document) ? 0 : 2;
    }
  }
  if (knobs.startDelayMs > 0) Sleep(knobs.startDelayMs);

  clw4sim::Application application(std::move(knobs));
  if (argumentCount > 2) application.Log("arguments after the first are ignored");
  if (!application.Start(document)) return 1;
  const bool ansi = clw4sim::AnsiWindows();
  return RunMessageLoop(application, ansi);
}
