#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "diagnostics/mail_report.h"
#include "diagnostics/shell_open.h"
#include "fakes/scripted_claris.h"

namespace velmok {
namespace {

TEST(MailReport, LinkIsHandedOverAsItStands) {
  EXPECT_EQ(MailLink("support@velmok.example.com"),
            "mailto:support@velmok.example.com?subject=VELMOK&body="
            "※プログラムフォルダにVELMOK.LOGファイルがあれば、このメールに添付してください。");
}

TEST(ShellCalls, OwnerOperationFolderAndShowState) {
  using Call = std::tuple<platform::WindowId, std::string, std::string, std::string, std::string, int>;
  constexpr platform::WindowId kMain = 0x1234, kDesktop = 0x10010;
  const std::string folder = "C:\\Program Files\\ベルモック";
  const struct {
    const char* name;
    std::function<void(const ShellServices&)> act;
    Call expected;  // owner, operation, file, parameters, working folder, show state
  } cases[] = {
      {"mail report: the main window owns an open of the link",
       [](const ShellServices& s) { mnuDebug_SendMail_Click(s, kMain, "support@velmok.example.com"); },
       {kMain, "open", MailLink("support@velmok.example.com"), "", folder, 1}},
      {"web page: the desktop owns the default action",
       [](const ShellServices& s) { OpenWithShell(s, "https://www.velmok.example.com/"); },
       {kDesktop, "", "https://www.velmok.example.com/", "", folder, 1}},
      {"document: the path unchanged, spaces and all",
       [](const ShellServices& s) { OpenWithShell(s, "C:\\書類\\見積 2.cwj"); },
       {kDesktop, "", "C:\\書類\\見積 2.cwj", "", folder, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::FakeShell shell;
    shell.result = 2;  // nothing registered: the answer is not looked at
    c.act({shell, kDesktop, folder});
    ASSERT_EQ(shell.calls.size(), 1u);
    const auto& call = shell.calls[0];
    EXPECT_EQ(Call(call.owner, call.operation, call.file, call.parameters, call.directory, call.show), c.expected);
  }
}

}  // namespace
}  // namespace velmok
