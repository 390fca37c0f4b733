#pragma once

#include <windows.h>

#include <functional>

#include "printing/print_commands.h"
#include "printing/win32/frm_progress.h"

namespace velmok::win32 {

// The main window hidden while the modal progress window holds the run.
class Win32PrintSession final : public PrintSession {
 public:
  Win32PrintSession(std::function<HWND()> mainWindow, FrmProgress& progress)
      : mainWindow_(std::move(mainWindow)), progress_(progress) {}

  void HideMainWindow() override { ShowWindow(mainWindow_(), SW_HIDE); }
  void ShowProgressModal() override { progress_.ShowModal(); }
  void ShowMainWindow() override {
    HWND main = mainWindow_();
    ShowWindow(main, SW_SHOW);
    SetForegroundWindow(main);
  }

 private:
  std::function<HWND()> mainWindow_;
  FrmProgress& progress_;
};

}  // namespace velmok::win32
