// The composition root: wires the real Windows services into the program's logic, runs the
// start-up checks and the main window's message loop.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "core/startup.h"
#include "core/win32/app_commands.h"
#include "intake/intake.h"
#include "intake/print_list.h"
#include "mainwindow/win32/frm_main.h"
#include "platform/win32/clipboard_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/keyboard_win32.h"
#include "platform/win32/log_file_win32.h"
#include "platform/win32/settings_store_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/window_system_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  using namespace velmok;
  win32::Win32Clock clock;
  win32::Win32DebuggerOutput debugger;
  win32::Win32LogFile logFile(win32::DefaultLogFilePath());
  DebugLog log(logFile, debugger, clock);
  InstallDebugLog(&log);

  win32::Win32WindowSystem windows;
  win32::Win32Keyboard keyboard;
  ClarisProbes probes(windows, keyboard);
  win32::Win32InstanceLock instanceLock(L"Local\\VELMOK.SingleInstance");
  win32::Win32MessageBoxes messages;

  if (Main({log, instanceLock, probes, messages}) != StartupOutcome::ShowMainWindow) return 0;

  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);

  PrintList list;
  win32::RegistrySettingsStore settings(win32::DefaultSettingsRoot());
  win32::Win32ClipboardFiles clipboard;
  win32::Win32FileSystem files;
  win32::AppCommands commands;
  win32::FrmMain frmMain(instance, {list, log, settings, clipboard}, commands);
  Intake intake(list, frmMain.Logic().View(), files, log);
  commands.Wire({&intake, &clipboard, &frmMain});

  const std::string arguments(ArgumentsOf(win32::Narrow(GetCommandLineW())));
  const bool created = frmMain.Create(
      show, [&] { intake.CommandLineIntake(arguments); },
      [&](const std::optional<std::vector<std::string>>& dropped) { intake.DropFiles(dropped); });
  const int code = created ? frmMain.RunMessageLoop() : 1;
  OleUninitialize();
  return code;
}
