#include <gtest/gtest.h>

#include <optional>

#include "diagnostics/frm_about_logic.h"
#include "diagnostics/system_info.h"
#include "fakes/diagnostics_fakes.h"
#include "fakes/fakes.h"
#include "fakes/memory_file_system.h"

namespace velmok {
namespace {

TEST(AboutTexts, VersionFromTheFileVersionAndCaption) {
  const struct {
    std::uint32_t ms, ls;
    ProgramVersion version;
    const char* text;
  } cases[] = {
      {0x0002'0000, 0x0000'0031, {2, 0, 49}, "version 2.0.49"},    // FILEVERSION 2,0,0,49
      {0x000A'000C, 0x0003'0004, {10, 12, 4}, "version 10.12.4"},  // the third number is not shown
      {0xFFFF'FFFF, 0xFFFF'FFFF, {65535, 65535, 65535}, "version 65535.65535.65535"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(VersionFromFileVersion(c.ms, c.ls), c.version);
    EXPECT_EQ(VersionText(c.version), c.text);
  }
  EXPECT_EQ(AboutCaption(), "ベルモックのバージョン情報");
}

TEST(StartSysInfo, RunsTheRegisteredToolOrSaysItIsUnavailable) {
  const std::string tool = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
  const struct {
    const char* name;
    std::optional<std::string> path;    // ...\Shared Tools\MSINFO "PATH"
    std::optional<std::string> folder;  // ...\Shared Tools Location "MSINFO"
    bool folderHoldsTool, startFails;
    std::optional<std::string> started;
    std::size_t reads;
  } cases[] = {
      {"registered path, run without a test", tool, {}, false, false, tool, 1},
      {"registered path wins over the folder", tool, "C:\\Tools", true, false, tool, 1},
      {"registered path that does not start", "C:\\gone.exe", {}, false, true, "C:\\gone.exe", 1},
      {"folder holding the tool", {}, "C:\\Tools", true, false, "C:\\Tools\\MSINFO32.EXE", 2},
      {"folder without the tool", {}, "C:\\Tools", false, false, {}, 2},
      {"folder whose tool does not start", {}, "C:\\Tools", true, true, "C:\\Tools\\MSINFO32.EXE", 2},
      {"nothing registered", {}, {}, false, false, {}, 2},
  };
  constexpr auto kMachine = platform::RegistryRoot::LocalMachine;
  const fakes::FakeRegistry::Value pathValue{kMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"};
  const fakes::FakeRegistry::Value folderValue{kMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::FakeRegistry registry;
    fakes::MemoryFileSystem files;
    fakes::FakeProgramLauncher launcher;
    fakes::FakeMessageBoxes messages;
    if (c.path) registry.values[pathValue] = *c.path;
    if (c.folder) registry.values[folderValue] = *c.folder;
    if (c.folderHoldsTool) files.AddFolder("C:\\Tools").files.push_back({"MSINFO32.EXE", 1000, 0});
    launcher.fails = c.startFails;

    StartSysInfo({registry, files, launcher, messages});

    const std::vector<fakes::FakeRegistry::Value> bothReads{pathValue, folderValue};
    EXPECT_EQ(registry.reads, decltype(bothReads)(bothReads.begin(), bothReads.begin() + c.reads));
    using Started = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(launcher.started, (c.started ? Started{{*c.started, 1}} : Started{}));
    if (!c.started || c.startFails) {
      using Shown = std::vector<std::pair<std::string, platform::MessageBoxes::Icon>>;
      EXPECT_EQ(messages.shown, (Shown{{"現時点ではシステム情報を使用できません", platform::MessageBoxes::Icon::None}}));
    } else {
      EXPECT_TRUE(messages.shown.empty());
    }
  }
}

}  // namespace
}  // namespace velmok
