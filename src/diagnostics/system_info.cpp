#include "diagnostics/system_info.h"

#include "core/texts.h"
#include "platform/shell.h"

namespace velmok {

bool GetKeyValue(platform::Registry& registry, platform::RegistryRoot keyRoot, std::string_view keyName,
                 std::string_view subKeyRef, std::string& keyVal) {
  auto value = registry.ReadString(keyRoot, keyName, subKeyRef);
  keyVal = value ? std::move(*value) : std::string();
  return value.has_value();
}

void StartSysInfo(const SysInfoServices& services) {
  constexpr auto machine = platform::RegistryRoot::LocalMachine;
  std::string tool;
  if (!GetKeyValue(services.registry, machine, kSysInfoKey, kSysInfoPathValue, tool)) {
    std::string folder;
    if (!GetKeyValue(services.registry, machine, kSharedToolsLocationKey, kSysInfoFolderValue, folder) ||
        services.files.Kind(folder + std::string(kSysInfoFileName)) != platform::PathKind::File) {
      services.messages.ShowOk(texts::kSysInfoUnavailable, platform::MessageBoxes::Icon::None);
      return;
    }
    tool = folder + std::string(kSysInfoFileName);
  }
  if (!services.launcher.Start(tool, platform::kShowNormal))
    services.messages.ShowOk(texts::kSysInfoUnavailable, platform::MessageBoxes::Icon::None);
}

}  // namespace velmok
