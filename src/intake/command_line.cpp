#include "intake/command_line.h"

#include <utility>

#include "intake/paths.h"

namespace velmok {

namespace {

// Only blanks: a piece of tabs is a name of its own (it names nothing there is, and is passed over
// as such).
bool IsBlank(std::string_view piece) { return piece.find_first_not_of(' ') == std::string_view::npos; }

// No file system takes a longer name for one folder or file.
constexpr std::size_t kLongestName = 255;

// The questions one command line may ask the file system. An icon drop of as many documents as a
// command line holds asks a few thousand; a line of 16,000 one-letter words would ask two million
// (a run may grow to the longest name from every word). Once they are spent, the words left are
// each a path of their own.
constexpr std::size_t kQuestionsPerLine = 16384;

// The file system, asked at most kQuestionsPerLine times.
class Budget {
 public:
  explicit Budget(const PathKindOf& kindOf) : kindOf_(kindOf) {}
  bool Spent() const { return asked_ >= kQuestionsPerLine; }
  platform::PathKind Kind(std::string_view path) {
    ++asked_;
    return kindOf_(path);
  }

 private:
  const PathKindOf& kindOf_;
  std::size_t asked_ = 0;
};

// The words of a text, as [begin, end) offsets, at blanks.
std::vector<std::pair<std::size_t, std::size_t>> WordsOf(std::string_view text) {
  std::vector<std::pair<std::size_t, std::size_t>> words;
  std::size_t at = 0;
  while ((at = text.find_first_not_of(' ', at)) != std::string_view::npos) {
    std::size_t end = text.find(' ', at);
    if (end == std::string_view::npos) end = text.size();
    words.emplace_back(at, end);
    at = end;
  }
  return words;
}

// Runs of words taken from the left, each the longest that names something. A run that goes on
// cannot name anything once the folder it lies in is not there (every longer run lies in that
// folder or below it) or once its last name is longer than any name can be: the search stops
// there, so that a long command line costs a few questions per word, not one per pair of words.
void SplitIntoRuns(std::string_view text, Budget& budget, std::vector<std::string>& out) {
  const auto words = WordsOf(text);
  for (std::size_t i = 0; i < words.size();) {
    if (budget.Spent()) {
      out.emplace_back(text.substr(words[i].first, words[i].second - words[i].first));
      ++i;
      continue;
    }
    const std::size_t begin = words[i].first;
    std::size_t longest = i;  // a word that begins no run that names something is a path of its own
    std::size_t folderEnd = begin;  // the run's last separator (its beginning while it has none)
    std::size_t askedEnd = begin;   // where the folder last asked about ends
    bool folderThere = true;
    std::size_t nameCharacters = 0;  // of the run's last name
    std::size_t counted = begin;
    for (std::size_t j = i; j < words.size(); ++j) {
      const std::size_t end = words[j].second;
      for (; counted < end; ++counted) {
        const auto c = static_cast<unsigned char>(text[counted]);
        if (IsPathSeparator(text[counted])) {
          folderEnd = counted;
          nameCharacters = 0;
        } else if ((c & 0xC0) != 0x80) {
          ++nameCharacters;
        }
      }
      if (nameCharacters > kLongestName || budget.Spent()) break;
      const std::string_view run = text.substr(begin, end - begin);
      if (folderEnd != askedEnd && folderEnd - begin > PathRootLength(run)) {
        askedEnd = folderEnd;
        folderThere = budget.Kind(run.substr(0, folderEnd - begin)) == platform::PathKind::Folder;
      }
      if (!folderThere || budget.Spent()) break;
      if (budget.Kind(run) != platform::PathKind::None) longest = j;
    }
    out.emplace_back(text.substr(begin, words[longest].second - begin));
    i = longest + 1;
  }
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view arguments, const PathKindOf& kindOf) {
  std::vector<std::string> paths;
  Budget budget(kindOf);
  std::size_t start = 0;
  for (bool quoted = false; start <= arguments.size(); quoted = !quoted) {
    std::size_t quote = arguments.find('"', start);
    if (quote == std::string_view::npos) quote = arguments.size();
    const std::string_view piece = arguments.substr(start, quote - start);
    start = quote + 1;
    if (IsBlank(piece)) continue;
    // Taken as it stands: what the shell quoted, and an unquoted path that holds a blank.
    if (quoted || (!budget.Spent() && budget.Kind(piece) != platform::PathKind::None)) {
      paths.emplace_back(piece);
      continue;
    }
    // The blanks around are no part of any path: runs are made of the words between them.
    SplitIntoRuns(piece, budget, paths);
  }
  return paths;
}

std::string_view ArgumentsOf(std::string_view commandLine) {
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const std::size_t close = commandLine.find('"', 1);
    i = close == std::string_view::npos ? commandLine.size() : close + 1;
  }
  while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t') ++i;
  while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
  return commandLine.substr(i);
}

}  // namespace velmok
