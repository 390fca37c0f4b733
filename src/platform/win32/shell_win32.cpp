#include "platform/win32/shell_win32.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/wide.h"

namespace velmok::win32 {

std::intptr_t Win32Shell::Execute(platform::WindowId owner, std::string_view operation, std::string_view file,
                                  std::string_view parameters, std::string_view directory, int show) {
  const std::wstring op = Widen(operation);
  const std::wstring target = Widen(file);
  const std::wstring params = Widen(parameters);
  const std::wstring folder = Widen(directory);
  const HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(owner), op.empty() ? nullptr : op.c_str(),
                                         target.c_str(), params.c_str(), folder.empty() ? nullptr : folder.c_str(),
                                         show);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace velmok::win32
