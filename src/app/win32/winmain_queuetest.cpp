// The test build of the program: the same program, but its print queue is the folder named by
// VELMOK_TEST_QUEUE_DIR (one file per waiting job), since Wine's spooler always reports none, and
// with VELMOK_TEST_WINDOWS7=1 it does without every function newer than Windows 7 (Wine has them
// all, whatever version its prefix reports).

#include <windows.h>

#include <cstdlib>
#include <cwchar>

#include "app/win32/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  velmok::win32::AppOptions options;
  if (const wchar_t* folder = _wgetenv(L"VELMOK_TEST_QUEUE_DIR")) options.queueFolder = folder;
  if (const wchar_t* windows7 = _wgetenv(L"VELMOK_TEST_WINDOWS7")) options.asWindows7 = wcscmp(windows7, L"1") == 0;
  return velmok::win32::RunVelmok(instance, show, options);
}
