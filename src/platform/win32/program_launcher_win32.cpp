#include "platform/win32/program_launcher_win32.h"

#include <windows.h>

#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

bool Win32ProgramLauncher::Start(std::string_view path, int show) {
  if (path.empty()) return false;
  const std::wstring program = Widen(path);
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{sizeof startup};
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  // The program runs on its own: nobody waits for it.
  ScopedHandle thread(process.hThread);
  ScopedHandle handle(process.hProcess);
  return true;
}

}  // namespace velmok::win32
