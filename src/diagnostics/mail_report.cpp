#include "diagnostics/mail_report.h"

#include "core/texts.h"

namespace velmok {

std::string MailLink(std::string_view supportAddress) {
  std::string link = "mailto:";
  link += supportAddress;
  link += "?subject=";
  link += texts::kMailSubject;
  link += "&body=";
  link += texts::kMailBody;
  return link;
}

void mnuDebug_SendMail_Click(const ShellServices& services, platform::WindowId mainWindow,
                             std::string_view supportAddress) {
  services.shell.Execute(mainWindow, "open", MailLink(supportAddress), "", services.programFolder,
                         platform::kShowNormal);
}

}  // namespace velmok
