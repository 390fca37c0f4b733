// The test build of the program: the same program, but its print queue is the folder named by
// VELMOK_TEST_QUEUE_DIR (one file per waiting job), since Wine's spooler always reports none.

#include <windows.h>

#include <cstdlib>

#include "app/win32/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  velmok::win32::AppOptions options;
  if (const wchar_t* folder = _wgetenv(L"VELMOK_TEST_QUEUE_DIR")) options.queueFolder = folder;
  return velmok::win32::RunVelmok(instance, show, options);
}
