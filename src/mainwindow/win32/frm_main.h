#pragma once

#include <windows.h>

namespace velmok::win32 {

class FrmMain {
 public:
  explicit FrmMain(HINSTANCE instance) : instance_(instance) {}
  bool Create(int show);
  static int RunMessageLoop();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
};

}  // namespace velmok::win32
