// The composition root: wires the real Windows services into the program's logic, runs the
// start-up checks and the main window's message loop.

#include <windows.h>

#include "core/startup.h"
#include "mainwindow/win32/frm_main.h"
#include "platform/win32/keyboard_win32.h"
#include "platform/win32/log_file_win32.h"
#include "platform/win32/system_win32.h"
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

  win32::FrmMain frmMain(instance);
  if (!frmMain.Create(show)) return 1;
  return win32::FrmMain::RunMessageLoop();
}
