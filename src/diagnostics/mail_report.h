#pragma once
// The mail report: a new message in the user's mail program, addressed to support, whose text
// asks the user to attach the debug log. Nothing is sent and nothing attached by the program.

#include <string>
#include <string_view>

#include "diagnostics/shell_open.h"

namespace velmok {

// "mailto:" address "?subject=VELMOK&body=" and the body text as it stands: no percent-encoding.
std::string MailLink(std::string_view supportAddress);

// Hands the mail link to the shell's "open" with the main window as owner. Whether logging is on
// or the log file exists does not matter; what the shell answers is not examined.
void mnuDebug_SendMail_Click(const ShellServices& services, platform::WindowId mainWindow,
                             std::string_view supportAddress);

}  // namespace velmok
