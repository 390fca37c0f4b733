#include "diagnostics/shell_open.h"

namespace velmok {

void OpenWithShell(const ShellServices& services, std::string_view target) {
  services.shell.Execute(services.desktopWindow, "", target, "", services.programFolder, platform::kShowNormal);
}

}  // namespace velmok
