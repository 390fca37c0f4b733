#include "clw4sim/knobs.h"

#include <gtest/gtest.h>

#include <map>

namespace clw4sim {
namespace {

EnvironmentLookup From(const std::map<std::string, std::string>& variables) {
  return [variables](std::string_view name) -> std::optional<std::string> {
    const auto it = variables.find(std::string(name));
    if (it == variables.end()) return std::nullopt;
    return it->second;
  };
}

TEST(Clw4SimKnobs, MomentsMissingDialogsAndThefts) {
  struct Case {
    const char* text;
    std::optional<Moment> moment;
  };
  const Case moments[] = {
      {"open:1", Moment{Step::Open, 1}},
      {"opened:2", Moment{Step::Opened, 2}},
      {"PrintDialog:3", Moment{Step::PrintDialog, 3}},
      {" printing : 12 ", Moment{Step::Printing, 12}},
      {"close:1", Moment{Step::Close, 1}},
      {"close:0", std::nullopt},   // ordinals start at 1
      {"close:-1", std::nullopt},
      {"close", std::nullopt},
      {"close:1:2", std::nullopt},
      {"closed:1", std::nullopt},  // no such step
      {"print:1", std::nullopt},
      {"open:x", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : moments) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseMoment(c.text), c.moment);
  }

  EXPECT_EQ(ParseMissingDialog("open:2"), (MissingDialog{DialogKind::Open, 2}));
  EXPECT_EQ(ParseMissingDialog("PRINT:1"), (MissingDialog{DialogKind::Print, 1}));
  EXPECT_EQ(ParseMissingDialog("printdialog:1"), std::nullopt);
  EXPECT_EQ(ParseMissingDialog("open:0"), std::nullopt);

  EXPECT_EQ(ParseFocusTheft("opened:1:1500"), (FocusTheft{Moment{Step::Opened, 1}, 1500}));
  EXPECT_EQ(ParseFocusTheft("opened:1"), std::nullopt);
  EXPECT_EQ(ParseFocusTheft("opened:1:-5"), std::nullopt);
  EXPECT_EQ(ParseFocusTheft("opened:1:700000"), std::nullopt);  // longer than ten minutes
}

TEST(Clw4SimKnobs, NameListsMatchWholeNamesIgnoringLetterCase) {
  struct Case {
    const char* list;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"a.cwj|b.cwj", "b.cwj", true},
      {"a.cwj|b.cwj", "B.CWJ", true},
      {"a.cwj | 見積 (案).cwj ", "見積 (案).cwj", true},
      {"a.cwj|b.cwj", "ab.cwj", false},
      {"a.cwj", "a.cwj.bak", false},
      {"*", "何でも.cwj", true},
      {"x.cwj|*", "y.cwj", true},
      {"", "a.cwj", false},
      {"||", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.list) + " / " + c.name);
    EXPECT_EQ(NameList::Parse(c.list).Matches(c.name), c.matches);
  }
  EXPECT_TRUE(NameList::Parse(" | ").Empty());
}

TEST(Clw4SimKnobs, DefaultsPutTheJournalsInTheTempFolder) {
  const Knobs knobs = ReadKnobs(From({}), "C:\\Temp\\");
  EXPECT_EQ(knobs.printJournal, "C:\\Temp\\clw4sim-journal.txt");
  EXPECT_EQ(knobs.keyJournal, "C:\\Temp\\clw4sim-keys.txt");
  EXPECT_EQ(knobs.thiefKeyJournal, "C:\\Temp\\focusthief-keys.txt");
  EXPECT_EQ(ReadKnobs(From({}), "C:\\Temp").printJournal, "C:\\Temp\\clw4sim-journal.txt");
  EXPECT_TRUE(knobs.eventLog.empty());
  EXPECT_TRUE(knobs.spoolDir.empty());
  EXPECT_EQ(knobs.openDelayMs, 300u);
  EXPECT_EQ(knobs.foregroundDelayMs, 0u);
  EXPECT_EQ(knobs.dialogDelayMs, 100u);
  EXPECT_EQ(knobs.printMs, 600u);
  EXPECT_EQ(knobs.closeDelayMs, 100u);
  EXPECT_EQ(knobs.readOnlyRepeat, 0);
  EXPECT_TRUE(knobs.readOnly.Empty());
  EXPECT_FALSE(knobs.crashAt || knobs.hangAt || knobs.noDialog || knobs.stealFocus);
  EXPECT_TRUE(knobs.singleInstance);
  EXPECT_FALSE(knobs.ansi);
  EXPECT_EQ(knobs.closeBlockMs, 0u);
  EXPECT_FALSE(knobs.hideBeforeEndMs || knobs.warningBeforeFrameMs);
  EXPECT_TRUE(knobs.problems.empty());
}

TEST(Clw4SimKnobs, EveryVariableIsReadAndBadValuesKeepTheDefault) {
  const Knobs knobs = ReadKnobs(From({
                                    {"CLW4SIM_JOURNAL", "D:\\j.txt"},
                                    {"CLW4SIM_KEYLOG", "D:\\k.txt"},
                                    {"CLW4SIM_THIEF_KEYLOG", "D:\\t.txt"},
                                    {"CLW4SIM_LOG", "D:\\l.txt"},
                                    {"CLW4SIM_SPOOL_DIR", "D:\\spool"},
                                    {"CLW4SIM_START_DELAY_MS", "5"},
                                    {"CLW4SIM_FOREGROUND_DELAY_MS", "7"},
                                    {"CLW4SIM_OPEN_DELAY_MS", "10"},
                                    {"CLW4SIM_DIALOG_DELAY_MS", "abc"},
                                    {"CLW4SIM_PRINT_MS", "20"},
                                    {"CLW4SIM_CLOSE_DELAY_MS", "-3"},
                                    {"CLW4SIM_QUIT_DELAY_MS", "0"},
                                    {"CLW4SIM_WARNING_AGAIN_MS", "40"},
                                    {"CLW4SIM_CLOSE_BLOCK_MS", "2500"},
                                    {"CLW4SIM_HIDE_BEFORE_END_MS", "3000"},
                                    {"CLW4SIM_WARNING_BEFORE_FRAME_MS", "0"},
                                    {"CLW4SIM_ANSI", "on"},
                                    {"CLW4SIM_READONLY", "a.cwj|b.cwj"},
                                    {"CLW4SIM_READONLY_REPEAT", "2"},
                                    {"CLW4SIM_MODIFIED", "*"},
                                    {"CLW4SIM_CRASH_AT", "printing:2"},
                                    {"CLW4SIM_HANG_AT", "nowhere:1"},
                                    {"CLW4SIM_NO_DIALOG", "print:3"},
                                    {"CLW4SIM_STEAL_FOCUS", "opened:1:800"},
                                    {"CLW4SIM_SINGLE_INSTANCE", "0"},
                                }),
                                "C:\\Temp");
  EXPECT_EQ(knobs.printJournal, "D:\\j.txt");
  EXPECT_EQ(knobs.keyJournal, "D:\\k.txt");
  EXPECT_EQ(knobs.thiefKeyJournal, "D:\\t.txt");
  EXPECT_EQ(knobs.eventLog, "D:\\l.txt");
  EXPECT_EQ(knobs.spoolDir, "D:\\spool");
  EXPECT_EQ(knobs.startDelayMs, 5u);
  EXPECT_EQ(knobs.foregroundDelayMs, 7u);
  EXPECT_EQ(knobs.openDelayMs, 10u);
  EXPECT_EQ(knobs.dialogDelayMs, 100u);
  EXPECT_EQ(knobs.printMs, 20u);
  EXPECT_EQ(knobs.closeDelayMs, 100u);
  EXPECT_EQ(knobs.quitDelayMs, 0u);
  EXPECT_EQ(knobs.warningAgainMs, 40u);
  EXPECT_TRUE(knobs.readOnly.Matches("b.cwj"));
  EXPECT_FALSE(knobs.readOnly.Matches("c.cwj"));
  EXPECT_EQ(knobs.readOnlyRepeat, 2);
  EXPECT_TRUE(knobs.modified.Matches("c.cwj"));
  EXPECT_EQ(knobs.crashAt, (Moment{Step::Printing, 2}));
  EXPECT_EQ(knobs.hangAt, std::nullopt);
  EXPECT_EQ(knobs.noDialog, (MissingDialog{DialogKind::Print, 3}));
  EXPECT_EQ(knobs.stealFocus, (FocusTheft{Moment{Step::Opened, 1}, 800}));
  EXPECT_FALSE(knobs.singleInstance);
  EXPECT_TRUE(knobs.ansi);
  EXPECT_EQ(knobs.closeBlockMs, 2500u);
  EXPECT_EQ(knobs.hideBeforeEndMs, 3000u);
  EXPECT_EQ(knobs.warningBeforeFrameMs, 0u);
  ASSERT_EQ(knobs.problems.size(), 3u);
  EXPECT_EQ(knobs.problems[0], "CLW4SIM_DIALOG_DELAY_MS=abc: not understood, ignored");
  EXPECT_EQ(knobs.problems[1], "CLW4SIM_CLOSE_DELAY_MS=-3: not understood, ignored");
  EXPECT_EQ(knobs.problems[2], "CLW4SIM_HANG_AT=nowhere:1: not understood, ignored");
}

}  // namespace
}  // namespace clw4sim
