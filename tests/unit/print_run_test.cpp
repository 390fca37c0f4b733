#include "printing/print_run.h"

#include <gtest/gtest.h>

#include "unit/print_run_world.h"

namespace velmok {
namespace {

using fakes::FakeKeyboard;
using platform::Keyboard;

constexpr const char* kCrLf = "\r\n";
const std::string& kTimeout = fakes::kTimeoutText;
const std::string& kStopped = fakes::kStopText;
using fakes::RunWorld;

// The counters below follow from the delays: a pause is 21 slices of 50 ms (1050 ms), and a
// wait's poll k comes k * 50 ms after it starts.
TEST(PrintRun, ThreeDocumentsShowEveryStepAndPrintInOrder) {
  RunWorld w;
  w.claris.launchMs = 300;
  w.claris.openMs = 1050 + 17 * 50;   // W2: Cnt=17 after the typed path (44 after the launch)
  w.claris.dialogMs = 1050 + 3 * 50;  // W1 and W3: Cnt=3
  w.claris.printMs = 61 * 50;         // W5: Cnt=61
  w.claris.closeMs = 1050 + 5 * 50;   // W6: Cnt=5
  w.claris.quitMs = 2 * 50;
  const std::vector<std::string> targets = {"C:\\書類\\a.cwj", "C:\\書類\\report.cwj", "D:\\見積 (案)+1.cwj"};

  ASSERT_TRUE(w.Run(targets));
  EXPECT_EQ(w.run.PrintedCount(), 3);
  EXPECT_EQ(w.claris.printed, targets);
  EXPECT_TRUE(w.claris.strayKeys.empty());

  ASSERT_EQ(w.display.replaced.size(), 4u);
  EXPECT_EQ(w.display.replaced[0], "");
  EXPECT_EQ(w.display.replaced[1],
            std::string("自動操作中はマウス・キーボードに触れないでください。\r\n処理を開始します : 2026/12/07 9:05:03\r\n"));
  EXPECT_EQ(w.display.replaced[2],
            std::string("ファイル 1 / 3 ( a.cwj )\r\n\r\n") +
                "クラリスワークスの起動中... Ret=42\r\n"
                "ファイルオープン待ちしています... ファイルオープン検知 Cnt=44\r\n"
                "CTRL+Pを送信しています... 印刷ダイアログ検知 Cnt=3\r\n"
                "ENTERを送信しています... 印刷中検知 Cnt=0 印刷終了検知 Cnt=61\r\n"
                "CTRL+Wを送信しています... ファイルクローズ検知 Cnt=5\r\n");
  EXPECT_EQ(w.display.replaced[3],
            std::string("ファイル 2 / 3 ( report.cwj )\r\n\r\n") +
                "ファイルを開いています... 開くダイアログ検知 Cnt=3\r\n"
                "ファイルオープン待ちしています... ファイルオープン検知 Cnt=17\r\n"
                "CTRL+Pを送信しています... 印刷ダイアログ検知 Cnt=3\r\n"
                "ENTERを送信しています... 印刷中検知 Cnt=0 印刷終了検知 Cnt=61\r\n"
                "CTRL+Wを送信しています... ファイルクローズ検知 Cnt=5\r\n");
  const std::string last = w.display.text;
  EXPECT_EQ(last.substr(0, last.find(kCrLf)), "ファイル 3 / 3 ( 見積 (案)+1.cwj )");
  EXPECT_EQ(last.substr(last.rfind("CTRL+W")),
            "CTRL+Wを送信しています... ファイルクローズ検知 Cnt=5\r\n"
            "クラリスワークスを閉じています... クラリスワークス終了検知 Cnt=0\r\n");

  ASSERT_EQ(w.display.progress.size(), 3u);
  EXPECT_DOUBLE_EQ(w.display.progress[0], 100.0 / 3);
  EXPECT_DOUBLE_EQ(w.display.progress[1], 200.0 / 3);
  EXPECT_DOUBLE_EQ(w.display.progress[2], 100.0);

  ASSERT_EQ(w.shell.calls.size(), 1u);
  const auto& launch = w.shell.calls[0];
  EXPECT_EQ(launch.owner, 555u);
  EXPECT_EQ(launch.operation, "open");
  EXPECT_EQ(launch.file, targets[0]);
  EXPECT_EQ(launch.parameters, "");
  EXPECT_EQ(launch.directory, "C:\\Program Files\\VELMOK") << "the program's own folder";
  EXPECT_EQ(launch.show, 1);

  using W = Keyboard::Wait;
  const std::vector<FakeKeyboard::Sent> expectedKeys = {
      {"^p", W::UntilProcessed}, {"{ENTER}", W::UntilProcessed}, {"^w", W::UntilProcessed},
      {"^o", W::UntilProcessed}, {"C:\\書類\\re", W::UntilProcessed}, {"port.cwj", W::UntilProcessed},
      {"{ENTER}", W::No},
      {"^p", W::UntilProcessed}, {"{ENTER}", W::UntilProcessed}, {"^w", W::UntilProcessed},
      {"^o", W::UntilProcessed}, {"D:\\見積 {(}案", W::UntilProcessed}, {"{)}{+}1.cwj", W::UntilProcessed},
      {"{ENTER}", W::No},
      {"^p", W::UntilProcessed}, {"{ENTER}", W::UntilProcessed}, {"^w", W::UntilProcessed},
      {"^q", W::UntilProcessed},
  };
  EXPECT_EQ(w.keyboard.sent, expectedKeys);
}

TEST(PrintRun, PausesAndSlicesAreTheWholeCostOfAPromptRun) {
  RunWorld w;
  w.Prompt();
  ASSERT_TRUE(w.Run({"C:\\a.cwj", "C:\\b.cwj"}));
  // Document 1: six pauses; document 2: eight; the quit: one. Every wait succeeds at poll 0 but
  // the end of printing, at poll 1.
  EXPECT_EQ(w.clock.sleptMs, (6 + 8 + 1) * 1050 + 2 * 50);
  EXPECT_NE(w.display.text.find("クラリスワークス終了検知 Cnt=0"), std::string::npos);
}

TEST(PrintRun, EdgeCasesOfTheListAndTargets) {
  {
    SCOPED_TRACE("empty print list");
    RunWorld w;
    EXPECT_FALSE(w.Run({"C:\\a.cwj"}, 0));
    EXPECT_TRUE(w.display.replaced.empty());
    EXPECT_TRUE(w.display.progress.empty());
    EXPECT_TRUE(w.keyboard.sent.empty());
    EXPECT_TRUE(w.shell.calls.empty());
  }
  {
    SCOPED_TRACE("empty targets, ClarisWorks not running");
    RunWorld w;
    EXPECT_TRUE(w.Run({}, 3));
    EXPECT_EQ(w.run.PrintedCount(), 0);
    EXPECT_TRUE(w.keyboard.sent.empty()) << "nobody to send Ctrl+Q to: nothing is typed anywhere";
    EXPECT_NE(w.display.text.find("クラリスワークスを閉じています... クラリスワークス終了検知 Cnt=0\r\n"),
              std::string::npos);
  }
  {
    SCOPED_TRACE("one document: no Open dialog");
    RunWorld w;
    w.Prompt();
    EXPECT_TRUE(w.Run({"no-separator.cwj"}));
    for (const auto& k : w.keyboard.sent) EXPECT_NE(k.notation, "^o");
    EXPECT_EQ(w.display.text.rfind("ファイル 1 / 1 ( no-separator.cwj )\r\n", 0), 0u);
    EXPECT_EQ(w.display.progress, std::vector<double>{100.0});
  }
}

// Each wait in turn never sees its condition: the run ends after poll 400 with the timeout text.
TEST(PrintRun, EveryWaitTimesOutAfter401Polls) {
  struct Case {
    const char* fault;
    const char* lastStep;  // the step message the timeout follows
    int printed;
  };
  const Case cases[] = {
      {"opendialog", "ファイルを開いています...", 1},
      {"open", "ファイルオープン待ちしています...", 0},
      {"printdialog", "CTRL+Pを送信しています...", 0},
      {"printing", "ENTERを送信しています...", 0},
      {"close", "CTRL+Wを送信しています...", 0},
      {"quit", "クラリスワークスを閉じています...", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    RunWorld w;
    w.Prompt();
    w.claris.neverAnswers.insert(c.fault);
    if (std::string(c.fault) == "opendialog") w.claris.faultDocument = 2;  // the second document's
    EXPECT_FALSE(w.Run({"C:\\a.cwj", "C:\\b.cwj"}));
    EXPECT_EQ(w.run.PrintedCount(), c.printed);
    const std::string& text = w.display.text;
    ASSERT_GE(text.size(), kTimeout.size());
    EXPECT_EQ(text.substr(text.size() - kTimeout.size()), kTimeout);
    const std::string tail = text.substr(text.rfind(c.lastStep));
    EXPECT_EQ(tail.find("Cnt="), std::string::npos) << "a wait that times out shows no success text: " << tail;
  }
}

TEST(PrintRun, APrintingWindowMissedBetweenTwoPollsTimesOut) {
  RunWorld w;
  w.Prompt();
  w.claris.printingBlink = true;
  EXPECT_FALSE(w.Run({"C:\\a.cwj"}));
  EXPECT_EQ(w.claris.printed.size(), 1u) << "ClarisWorks printed it, the run did not see it";
  EXPECT_NE(w.display.text.find("ENTERを送信しています...\r\nタイムアウトしました。"), std::string::npos);
}

TEST(PrintRun, WarningsAreAnsweredInEveryPollTheyAreFound) {
  RunWorld w;
  w.Prompt();
  w.claris.readOnly = {"ro.cwj"};
  w.claris.readOnlyRepeats = 2;
  w.claris.warningRepeatMs = 100;
  w.claris.modified = {"ro.cwj"};
  w.claris.dialogMs = 100;
  ASSERT_TRUE(w.Run({"C:\\ro.cwj"}));
  const std::string& text = w.display.replaced.empty() ? w.display.text : w.display.text;
  // The warning is there at poll 0, answered (two pauses of 21 slices) and back 100 ms later.
  const std::string expectedOpen =
      "ファイルオープン待ちしています... リードオンリー警告検知 Cnt=0 リードオンリー警告検知 Cnt=1 "
      "リードオンリー警告検知 Cnt=2 ファイルオープン検知 Cnt=3\r\n";
  EXPECT_NE(text.find(expectedOpen), std::string::npos) << text;
  EXPECT_NE(text.find("CTRL+Wを送信しています... 要保存警告検知 Cnt=0 ファイルクローズ検知 Cnt=1\r\n"),
            std::string::npos)
      << text;
  int enters = 0;
  for (const auto& k : w.keyboard.sent) enters += k.notation == "{ENTER}";
  EXPECT_EQ(enters, 3 + 1) << "three warnings and the print dialog";
  EXPECT_TRUE(w.claris.strayKeys.empty());
}

TEST(PrintRun, QueueHoldsTheNextDocumentWhileSevenOrMoreJobsWait) {
  struct Case {
    std::vector<std::uint32_t> jobs;
    std::string expected;  // what the queue check adds
    bool ok;
  };
  const std::vector<Case> cases = {
      {{6}, "", true},                                                    // 5 waiting: go on
      {{7, 7, 7, 6}, "プリンタジョブが満杯のため待機中...\x2e\x2e\r\n", true},  // 6 waiting, then 5
      {{0}, "", true},
      {{7}, "プリンタジョブが満杯のため待機中..." + std::string(301, '.') + kTimeout, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.jobs.front());
    RunWorld w;
    w.Prompt();
    w.queue.jobs = c.jobs;
    EXPECT_EQ(w.Run({"C:\\a.cwj"}), c.ok);
    const std::string& text = w.display.text;
    const std::string closed = "ファイルクローズ検知 Cnt=0\r\n";
    const std::string after = text.substr(text.find(closed) + closed.size());
    if (c.ok)
      EXPECT_EQ(after, c.expected + "クラリスワークスを閉じています... クラリスワークス終了検知 Cnt=0\r\n");
    else
      EXPECT_EQ(after, c.expected);
    EXPECT_EQ(w.queue.opens, w.queue.closes) << "the printer is closed after every question";
  }
}

TEST(PrintRun, EmergencyStopInEveryKindOfStep) {
  struct Case {
    const char* name;
    std::int64_t at;        // virtual ms of the request
    int openMs;
    std::vector<std::uint32_t> jobs;
    const char* precedes;   // the text just before the stop text
  };
  // The timeline of a prompt first document: W2 at 0, pause to 1050, Ctrl+P, pause to 2100, W3,
  // pause to 3150, Enter, W4 and W5 to 3200, pause to 4250, Ctrl+W, pause to 5300, W6, pause to
  // 6350, then the queue check with one pause per dot.
  const std::vector<Case> cases = {
      {"at the start", 0, 0, {0}, "ファイル 1 / 2 ( a.cwj )\r\n\r\n"},
      {"in a pause", 200, 0, {0}, "ファイルオープン検知 Cnt=0\r\n"},
      {"in a wait", 3000, 4000, {0}, "ファイルオープン待ちしています..."},
      {"in the queue wait", 8000, 0, {9}, "満杯のため待機中....."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunWorld w;
    w.Prompt();
    w.claris.openMs = c.openMs;
    w.queue.jobs = c.jobs;
    w.StopAt(c.at);
    EXPECT_FALSE(w.Run({"C:\\a.cwj", "C:\\b.cwj"}));
    const std::string& text = w.display.text;
    ASSERT_GE(text.size(), kStopped.size());
    EXPECT_EQ(text.substr(text.size() - kStopped.size()), kStopped) << text;
    EXPECT_EQ(text.find(kStopped), text.size() - kStopped.size()) << "the stop text comes once";
    const std::string before = text.substr(0, text.size() - kStopped.size());
    const std::string precedes = c.precedes;
    EXPECT_TRUE(before.size() >= precedes.size() && before.substr(before.size() - precedes.size()) == precedes)
        << before;
    EXPECT_LE(w.clock.sleptMs - c.at, 50) << "noticed within one slice";
  }
}

TEST(PrintRun, KeystrokesWaitWhileAnotherProgramIsInFront) {
  RunWorld w;
  w.Prompt();
  const auto thief = w.windows.Add({"Thief", "よそのアプリ", 99});
  std::int64_t stolenUntil = 0;
  // After the document has opened, another program takes the foreground for three seconds.
  w.keyboard.onSend = [&w, base = w.keyboard.onSend](const FakeKeyboard::Sent& s) {
    EXPECT_EQ(w.windows.ProcessOfWindow(w.windows.foreground), fakes::ScriptedClaris::kProcess)
        << "a keystroke went out while another program was in front: " << s.notation;
    base(s);
  };
  w.pump.onPump = [&] {
    if (stolenUntil == 0 && w.claris.running() &&
        w.probes.GetClarisMainTitle().rfind("ｸﾗﾘｽﾜｰｸｽ 4.0 - [", 0) == 0) {
      stolenUntil = w.clock.sleptMs + 3000;
      w.windows.foreground = thief;
    }
    if (stolenUntil != 0 && w.clock.sleptMs >= stolenUntil && w.windows.foreground == thief)
      w.windows.foreground = w.windows.FindTopLevelByClass("CLW4MainClass");
  };
  ASSERT_TRUE(w.Run({"C:\\a.cwj"}));
  EXPECT_EQ(w.claris.printed.size(), 1u);

  // A program that never gives the foreground back: the keystroke is held for 401 checks.
  RunWorld held;
  held.Prompt();
  const auto other = held.windows.Add({"Thief", "よそのアプリ", 99});
  held.pump.onPump = [&] {
    if (held.claris.running()) held.windows.foreground = other;
  };
  EXPECT_FALSE(held.Run({"C:\\a.cwj"}));
  EXPECT_TRUE(held.keyboard.sent.empty());
  const std::string& text = held.display.text;
  EXPECT_EQ(text.substr(text.size() - kTimeout.size()), kTimeout);
}

TEST(PrintRun, AClarisWorksThatEndsMidwayGetsNoKeystrokes) {
  RunWorld w;
  w.Prompt();
  // ClarisWorks disappears while the first document's print dialog is awaited.
  w.claris.neverAnswers.insert("printdialog");
  w.pump.onPump = [&] {
    if (const auto main = w.windows.FindTopLevelByClass("CLW4MainClass");
        main != platform::kNoWindow && w.keyboard.sent.size() == 1)
      w.windows.Remove(main);
  };
  EXPECT_FALSE(w.Run({"C:\\a.cwj", "C:\\b.cwj"}));
  EXPECT_EQ(w.keyboard.sent.size(), 1u) << "only the Ctrl+P sent while it still ran";
  const std::string& text = w.display.text;
  EXPECT_EQ(text.substr(text.size() - kTimeout.size()), kTimeout);
}

TEST(PrintRun, W7TimeoutAfterEveryDocumentStillFails) {
  RunWorld w;
  w.Prompt();
  w.claris.neverAnswers.insert("quit");
  EXPECT_FALSE(w.Run({"C:\\a.cwj", "C:\\b.cwj", "C:\\c.cwj"}));
  EXPECT_EQ(w.run.PrintedCount(), 3);
  EXPECT_EQ(w.claris.printed.size(), 3u);
}

TEST(ProgressServices, SlicesStopTextAndEvents) {
  const std::pair<int, int> slices[] = {{1000, 21}, {75, 3}, {25, 1}, {0, 1}, {50, 2}, {125, 3}, {-5, 1}};
  for (const auto& [ms, n] : slices) EXPECT_EQ(SleepSlices(ms), n) << ms;

  fakes::RecordingDisplay display;
  fakes::FakeClock clock;
  fakes::FakePump pump{clock};
  ProgressServices services(display, pump, clock);
  EXPECT_EQ(services.SleepEx(1000), 0);
  EXPECT_EQ(clock.sleeps, 21);
  EXPECT_EQ(pump.pumps, 21);
  services.AddStatusText("x");
  EXPECT_EQ(pump.pumps, 22);
  EXPECT_EQ(display.text, "x");

  pump.onPump = [&] {
    if (clock.sleeps == 3) services.SetCancelRequested(true);
  };
  clock.sleeps = 0;
  EXPECT_EQ(services.SleepEx(1000), 1);
  EXPECT_EQ(clock.sleeps, 3) << "noticed at the next check, without sleeping out the slice";
  EXPECT_EQ(display.text, "x\r\n中断要求が発生しました。\r\n");
}

}  // namespace
}  // namespace velmok
