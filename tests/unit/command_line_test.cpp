#include "intake/command_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>

namespace velmok {
namespace {

using platform::PathKind;

// What exists, by full path; everything else names nothing. Counts the questions asked.
struct Names {
  std::map<std::string, PathKind, std::less<>> existing;
  int questions = 0;
  PathKindOf KindOf() {
    return [this](std::string_view path) {
      ++questions;
      const auto it = existing.find(path);
      return it == existing.end() ? PathKind::None : it->second;
    };
  }
};

Names Desk() {
  Names n;
  for (const char* folder : {"C:\\d", "C:\\My Docs", "C:\\My Docs\\sub", "\\\\srv\\share\\年度"})
    n.existing[folder] = PathKind::Folder;
  for (const char* file : {"C:\\d\\a.cwj", "C:\\d\\b.cwj", "C:\\d\\c.cwj", "C:\\d\\a", "C:\\d\\a b.cwj",
                           "C:\\My Docs\\x.cwj", "C:\\My Docs\\sub\\y z.cwj", "C:\\two  blanks.cwj",
                           "\\\\srv\\share\\年度\\見積 1.cwj", "C:\\d\\tail.cwj "})
    n.existing[file] = PathKind::File;
  return n;
}

TEST(CommandLine, QuotedPiecesStandUnquotedOnesAreTakenApartByWhatTheyName) {
  struct Case {
    const char* name;
    std::string arguments;
    std::vector<std::string> paths;
  };
  const std::vector<Case> cases = {
      {"nothing", "", {}},
      {"quoted, with a blank", "\"C:\\My Docs\\x.cwj\"", {"C:\\My Docs\\x.cwj"}},
      {"several quoted", "\"C:\\d\\a.cwj\" \"C:\\My Docs\"", {"C:\\d\\a.cwj", "C:\\My Docs"}},
      {"three dropped on the icon", "C:\\d\\a.cwj C:\\d\\b.cwj C:\\d\\c.cwj",
       {"C:\\d\\a.cwj", "C:\\d\\b.cwj", "C:\\d\\c.cwj"}},
      {"unquoted, naming something whole", "C:\\My Docs\\sub\\y z.cwj", {"C:\\My Docs\\sub\\y z.cwj"}},
      {"whole, blanks around kept", "C:\\d\\tail.cwj ", {"C:\\d\\tail.cwj "}},
      {"the shell's mix", "\"C:\\My Docs\\x.cwj\" C:\\d\\a.cwj C:\\d\\b.cwj",
       {"C:\\My Docs\\x.cwj", "C:\\d\\a.cwj", "C:\\d\\b.cwj"}},
      {"blanks inside runs", "C:\\My Docs\\sub\\y z.cwj C:\\d\\c.cwj C:\\My Docs",
       {"C:\\My Docs\\sub\\y z.cwj", "C:\\d\\c.cwj", "C:\\My Docs"}},
      {"the longest run wins", "C:\\d\\a b.cwj C:\\d\\c.cwj", {"C:\\d\\a b.cwj", "C:\\d\\c.cwj"}},
      {"a shorter run when the longer names nothing", "C:\\d\\a C:\\d\\b.cwj", {"C:\\d\\a", "C:\\d\\b.cwj"}},
      {"a word that names nothing stands alone", "C:\\d\\gone.cwj C:\\d\\a.cwj nowhere",
       {"C:\\d\\gone.cwj", "C:\\d\\a.cwj", "nowhere"}},
      {"blanks between runs", "  C:\\d\\a.cwj    C:\\d\\b.cwj  ", {"C:\\d\\a.cwj", "C:\\d\\b.cwj"}},
      {"two blanks inside a name", "C:\\two  blanks.cwj C:\\d\\a.cwj", {"C:\\two  blanks.cwj", "C:\\d\\a.cwj"}},
      {"after a quoted path, no leading blank", "\"C:\\My Docs\" C:\\d\\a.cwj", {"C:\\My Docs", "C:\\d\\a.cwj"}},
      {"a share", "\\\\srv\\share\\年度\\見積 1.cwj C:\\d\\a.cwj", {"\\\\srv\\share\\年度\\見積 1.cwj", "C:\\d\\a.cwj"}},
      {"unbalanced quote", "\"C:\\a", {"C:\\a"}},
      {"empty and blank quotes", "\"\" \"  \"", {}},
      {"no trimming inside quotes", "\" C:\\lead\"", {" C:\\lead"}},
      {"tabs are no blanks", "\"\t\" \"C:\\a\"", {"\t", "C:\\a"}},
      {"blanks and a tab", "\" \t \"", {" \t "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Names names = Desk();
    EXPECT_EQ(SplitCommandLine(c.arguments, names.KindOf()), c.paths);
  }
}

// Every word asked about with every word after it would be millions of questions to the file
// system for a long command line: a run stops growing once the folder it lies in is not there, or
// its last name is longer than any name.
TEST(CommandLine, QuestionsGrowWithTheWordsNotWithTheirPairs) {
  Names names = Desk();
  std::string dropped;
  std::vector<std::string> expected;
  for (int i = 0; i < 1000; ++i) {
    const std::string path = "C:\\d\\文書" + std::to_string(i) + ".cwj";
    names.existing[path] = PathKind::File;
    dropped += path + " ";
    expected.push_back(path);
  }
  EXPECT_EQ(SplitCommandLine(dropped, names.KindOf()), expected);
  EXPECT_LE(names.questions, 3 * 1000 + 2);

  const struct {
    const char* name;
    std::string word;
  } pathological[] = {{"relative words", "a"}, {"words with a separator", "a\\b"}, {"rooted", "C:\\x\\y"}};
  for (const auto& p : pathological) {
    SCOPED_TRACE(p.name);
    names.questions = 0;
    std::string line;
    while (line.size() < 8000) line += p.word + " ";
    const auto paths = SplitCommandLine(line, names.KindOf());
    EXPECT_EQ(paths.size(), line.size() / (p.word.size() + 1));
    EXPECT_LE(names.questions, 130 * static_cast<int>(paths.size())) << "no more than the words of one name";
  }

  // A line as long as a command line may be, of one-letter words that each name a file: the line's
  // questions are bounded, not only each word's, and every word is kept.
  names.questions = 0;
  std::string letters;
  std::vector<std::string> words;
  for (char c = 'a'; c <= 'z'; ++c) names.existing[std::string(1, c)] = PathKind::File;
  while (letters.size() + 2 <= 32000) {
    words.emplace_back(1, static_cast<char>('a' + words.size() % 26));
    letters += words.back() + " ";
  }
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SplitCommandLine(letters, names.KindOf()), words);
  std::printf("%zu one-letter words split in %.1f ms with %d questions\n", words.size(),
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
              names.questions);
  EXPECT_LE(names.questions, 16384);

  const std::string huge = "\"" + std::string(32000, 'x') + "\"";
  ASSERT_EQ(SplitCommandLine(huge, names.KindOf()).size(), 1u);
  EXPECT_EQ(SplitCommandLine(huge, names.KindOf())[0].size(), 32000u);
}

TEST(CommandLine, ArgumentsFollowTheProgramsName) {
  EXPECT_EQ(ArgumentsOf("\"C:\\Program Files\\VELMOK.exe\"  \"D:\\x\""), "\"D:\\x\"");
  EXPECT_EQ(ArgumentsOf("VELMOK.exe D:\\x"), "D:\\x");
  EXPECT_EQ(ArgumentsOf("VELMOK.exe"), "");
}

}  // namespace
}  // namespace velmok
