// The program's entry.

#include <windows.h>

#include "app/win32/app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  return velmok::win32::RunVelmok(instance, show, {});
}
