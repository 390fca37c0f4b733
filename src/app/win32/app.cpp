#include "app/win32/app.h"

#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <optional>

#include "app/startup.h"
#include "core/texts.h"
#include "app/main_window_log_levels.h"
#include "app/win32/app_commands.h"
#include "intake/intake.h"
#include "intake/print_list.h"
#include "mainwindow/win32/frm_main.h"
#include "platform/win32/ansi_paths_win32.h"
#include "platform/win32/clipboard_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/keyboard_win32.h"
#include "platform/win32/log_file_win32.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/session_duties_win32.h"
#include "platform/win32/session_lock_win32.h"
#include "platform/win32/settings_store_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/text_collation_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_system_win32.h"
#include "printing/folder_print_queue.h"
#include "printing/print_commands.h"
#include "printing/print_run.h"
#include "printing/run_session_hold.h"
#include "printing/win32/frm_progress.h"
#include "printing/win32/print_queue_win32.h"
#include "app/win32/print_session_win32.h"

namespace velmok::win32 {

int RunVelmok(HINSTANCE instance, int show, const AppOptions& options) {
  std::optional<ScopedNewerWindows> olderWindows;
  if (options.asWindows7) olderWindows.emplace(NewerWindows::AsWindows7());
  // Before anything loads a library: a DLL placed beside the program (a portable copy on a shared
  // or downloaded folder) must never be loaded in place of the system's.
  RunningWindows().LimitDllSearch();
  Win32Clock clock;
  Win32DebuggerOutput debugger;
  Win32LogFile logFile(DefaultLogFilePath());
  DebugLog log(logFile, debugger, clock);
  InstallDebugLog(&log);

  Win32WindowSystem windows;
  SessionLock sessionLock;
  Win32Keyboard keyboard(&sessionLock);
  ClarisProbes probes(windows);
  Win32InstanceLock instanceLock(L"Local\\VELMOK.SingleInstance");
  Win32MessageBoxes messages(texts::kAppTitle);

  if (Main({log, instanceLock, probes, messages}) != StartupOutcome::ShowMainWindow) return 0;

  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);

  Win32TextCollation collation;
  PrintList list(collation);
  RegistrySettingsStore settings(L"Software\\" + Widen(texts::kAppTitle));
  Win32ClipboardFiles clipboard;
  Win32FileSystem files;
  Win32Shell shell;
  std::unique_ptr<PrintQueue> queue;
  if (options.queueFolder)
    queue = std::make_unique<FolderPrintQueue>(*options.queueFolder);
  else
    queue = std::make_unique<Win32PrintQueue>();

  AppCommands commands;
  FrmMain frmMain(instance, {list, settings, clipboard}, commands);
  Intake intake(list, frmMain, [&frmMain] { frmMain.Logic().RefreshMenus(); }, files, log, messages);

  PrintState printState;
  // While a run is under way the machine stays awake and both windows refuse the session's end.
  Win32SessionDuties sessionDuties;
  RunSessionHold runSession(sessionDuties);
  // ClarisWorks is started in the program's own folder.
  const std::string programFolder = Narrow(ProgramFolder());
  FrmProgress frmProgress(instance, clock, printState, runSession, [&](FrmProgress& window, int& printed) {
    PrintRun run({probes, keyboard, shell, *queue, clock, window.Services(),
                  reinterpret_cast<platform::WindowId>(window.Handle()), programFolder});
    const bool ok = run.PrintSub(list.Count(), printState.TargetFiles, printState.ClarisPaths);
    printed = run.PrintedCount();
    return ok;
  });
  frmProgress.WatchSession(&sessionLock);
  keyboard.GiveUpWaitingWhen([&frmProgress] { return frmProgress.StopPressWaiting(); });
  Win32PrintSession session(frmMain, frmProgress);
  Win32AnsiPaths ansiPaths;
  PrintCommands print(list, probes, files, ansiPaths, messages, session, printState);

  DiagnosticsCommands diagnostics(instance, shell, files);

  MainWindowLogLevels logLevelItems(frmMain, settings);
  LogLevelMenu logLevels(logLevelItems);
  commands.Wire({&intake, &clipboard, &frmMain, &print, &runSession, &diagnostics, &logLevels, &log});

  const std::string arguments(ArgumentsOf(Narrow(GetCommandLineW())));
  const bool created = frmMain.Create(
      show,
      [&] {
        messages.SetOwner(frmMain.Handle());  // the command line's intake may have something to tell
        intake.CommandLineIntake(arguments);
      },
      [&](const std::optional<std::vector<std::string>>& dropped) { intake.DropFiles(dropped); });
  messages.SetOwner(frmMain.Handle());
  runSession.AddWindow(reinterpret_cast<platform::WindowId>(frmMain.Handle()));
  const int code = created ? frmMain.RunMessageLoop() : 1;
  InstallDebugLog(nullptr);
  OleUninitialize();
  return code;
}

}  // namespace velmok::win32
