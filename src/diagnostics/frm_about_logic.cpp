#include "diagnostics/frm_about_logic.h"

#include "core/texts.h"

namespace velmok {

ProgramVersion VersionFromFileVersion(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS) {
  return {static_cast<int>(fileVersionMS >> 16), static_cast<int>(fileVersionMS & 0xFFFF),
          static_cast<int>(fileVersionLS & 0xFFFF)};
}

std::string VersionText(const ProgramVersion& version) {
  return std::string(about_texts::kVersionPrefix) + std::to_string(version.major) + "." +
         std::to_string(version.minor) + "." + std::to_string(version.revision);
}

std::string AboutCaption() { return std::string(texts::kAppTitle) + std::string(about_texts::kCaptionSuffix); }

void FrmAboutLogic::Form_Load() {
  view_.SetCaption(AboutCaption());
  view_.SetVersionText(VersionText(services_.version));
}

void FrmAboutLogic::cmdWWW_Click() {
  OpenWithShell(services_.shell, services_.webAddress);
  view_.Close();
}

}  // namespace velmok
