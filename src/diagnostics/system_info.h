#pragma once
// The system information tool, found through the registry and started from the about box.

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/program_launcher.h"
#include "platform/registry.h"

namespace velmok {

// Where the tool is registered: first its full path, then the folder that holds MSINFO32.EXE.
inline constexpr std::string_view kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view kSysInfoPathValue = "PATH";
inline constexpr std::string_view kSharedToolsLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view kSysInfoFolderValue = "MSINFO";
inline constexpr std::string_view kSysInfoFileName = "\\MSINFO32.EXE";

struct SysInfoServices {
  platform::Registry& registry;
  platform::FileSystem& files;
  platform::ProgramLauncher& launcher;
  platform::MessageBoxes& messages;
};

// Reads the string value `subKeyRef` of `keyName` under `keyRoot` into `keyVal`; on failure
// `keyVal` is emptied and the answer is false.
bool GetKeyValue(platform::Registry& registry, platform::RegistryRoot keyRoot, std::string_view keyName,
                 std::string_view subKeyRef, std::string& keyVal);

// Starts the tool without waiting for it. A registered path is run as it stands; a registered
// folder only when it holds MSINFO32.EXE. With no tool, or when it does not start, the message
// "現時点ではシステム情報を使用できません" (OK only, no icon).
void StartSysInfo(const SysInfoServices& services);

}  // namespace velmok
