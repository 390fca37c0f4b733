#pragma once
// frmAbout without the window: the caption and the version label set at load, and the three
// buttons — the maker's web page, the system information tool, close.

#include <cstdint>
#include <string>
#include <string_view>

#include "diagnostics/shell_open.h"
#include "diagnostics/system_info.h"

namespace velmok {

// The about box's texts: the window's as it is created and those its load and the logic set.
namespace about_texts {
inline constexpr std::string_view kCaptionAsCreated = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr std::string_view kCaptionSuffix = "のバージョン情報";
inline constexpr std::string_view kVersionPrefix = "version ";
inline constexpr std::string_view kDescription = "ｱﾌﾟﾘｹｰｼｮﾝの説明";
inline constexpr std::string_view kWWWButton = "WWW(&W)...";
inline constexpr std::string_view kSysInfoButton = "システム情報(&S)...";
inline constexpr std::string_view kOKButton = "OK";
}  // namespace about_texts

struct ProgramVersion {
  int major = 0;
  int minor = 0;
  int revision = 0;
  friend bool operator==(const ProgramVersion&, const ProgramVersion&) = default;
};

// The version as a file's fixed version information holds it (FILEVERSION a,b,c,d gives
// MS = a:b and LS = c:d): major a, minor b, revision d.
ProgramVersion VersionFromFileVersion(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS);
// "version 2.0.49": each number in decimal without leading zeros.
std::string VersionText(const ProgramVersion& version);
// "ベルモックのバージョン情報"
std::string AboutCaption();

class AboutView {
 public:
  virtual ~AboutView() = default;
  virtual void SetCaption(std::string_view text) = 0;
  virtual void SetVersionText(std::string_view text) = 0;
  // Closes and unloads the box.
  virtual void Close() = 0;
};

struct AboutServices {
  const ShellServices& shell;
  std::string webAddress;
  SysInfoServices sysInfo;
  ProgramVersion version;
};

class FrmAboutLogic {
 public:
  FrmAboutLogic(AboutView& view, AboutServices services) : view_(view), services_(std::move(services)) {}

  void Form_Load();
  void cmdOK_Click() { view_.Close(); }
  // Opens the maker's web page and closes the box, whether or not a browser takes the address.
  void cmdWWW_Click();
  // The box stays open.
  void cmdSysInfo_Click() { StartSysInfo(services_.sysInfo); }

 private:
  AboutView& view_;
  AboutServices services_;
};

}  // namespace velmok
