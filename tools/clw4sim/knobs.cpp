#include "clw4sim/knobs.h"

#include <array>
#include <charconv>

namespace clw4sim {

namespace {

constexpr unsigned kLongestDelayMs = 10 * 60 * 1000;
constexpr int kLargestCount = 1000000;

struct StepEntry {
  Step step;
  std::string_view name;
};

constexpr std::array kSteps = {
    StepEntry{Step::Open, "open"},           StepEntry{Step::Opened, "opened"},
    StepEntry{Step::PrintDialog, "printdialog"}, StepEntry{Step::Printing, "printing"},
    StepEntry{Step::Close, "close"},
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

template <typename Number>
std::optional<Number> ParseWhole(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "a:b" or "a:b:c" cut at the colons.
std::vector<std::string_view> SplitColons(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto colon = text.find(':');
    parts.push_back(Trim(text.substr(0, colon)));
    if (colon == std::string_view::npos) return parts;
    text.remove_prefix(colon + 1);
  }
}

std::optional<int> ParseOrdinal(std::string_view text) {
  const auto n = ParseWhole<int>(text);
  if (!n || *n < 1) return std::nullopt;
  return n;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
  return out + std::string(name);
}

// Reads the knobs one by one, noting the values that cannot be read.
class Reader {
 public:
  Reader(const EnvironmentLookup& environment, Knobs& knobs) : environment_(environment), knobs_(knobs) {}

  void Text(std::string_view name, std::string& out) {
    if (const auto value = environment_(name); value && !value->empty()) out = *value;
  }

  template <typename T, typename Parse>
  void Value(std::string_view name, T& out, Parse parse) {
    const auto value = environment_(name);
    if (!value || Trim(*value).empty()) return;
    if (const auto parsed = parse(*value)) {
      out = *parsed;
      return;
    }
    knobs_.problems.push_back(std::string(name) + "=" + *value + ": not understood, ignored");
  }

 private:
  const EnvironmentLookup& environment_;
  Knobs& knobs_;
};

}  // namespace

std::string_view StepName(Step step) {
  for (const auto& entry : kSteps)
    if (entry.step == step) return entry.name;
  return "open";
}

std::optional<Step> StepFromName(std::string_view name) {
  const std::string lower = AsciiLower(Trim(name));
  for (const auto& entry : kSteps)
    if (entry.name == lower) return entry.step;
  return std::nullopt;
}

NameList NameList::Parse(std::string_view text) {
  NameList list;
  for (;;) {
    const auto bar = text.find('|');
    const std::string_view name = Trim(text.substr(0, bar));
    if (name == "*") list.all_ = true;
    else if (!name.empty()) list.names_.push_back(AsciiLower(name));
    if (bar == std::string_view::npos) break;
    text.remove_prefix(bar + 1);
  }
  return list;
}

bool NameList::Matches(std::string_view fileName) const {
  if (all_) return true;
  const std::string lower = AsciiLower(fileName);
  for (const auto& name : names_)
    if (name == lower) return true;
  return false;
}

std::optional<unsigned> ParseMillis(std::string_view text) {
  const auto n = ParseWhole<unsigned>(text);
  if (!n || *n > kLongestDelayMs) return std::nullopt;
  return n;
}

std::optional<int> ParseCount(std::string_view text) {
  const auto n = ParseWhole<int>(text);
  if (!n || *n < 0 || *n > kLargestCount) return std::nullopt;
  return n;
}

std::optional<Moment> ParseMoment(std::string_view text) {
  const auto parts = SplitColons(text);
  if (parts.size() != 2) return std::nullopt;
  const auto step = StepFromName(parts[0]);
  const auto document = ParseOrdinal(parts[1]);
  if (!step || !document) return std::nullopt;
  return Moment{*step, *document};
}

std::optional<MissingDialog> ParseMissingDialog(std::string_view text) {
  const auto parts = SplitColons(text);
  if (parts.size() != 2) return std::nullopt;
  const std::string which = AsciiLower(parts[0]);
  const auto document = ParseOrdinal(parts[1]);
  if (!document) return std::nullopt;
  if (which == "open") return MissingDialog{DialogKind::Open, *document};
  if (which == "print") return MissingDialog{DialogKind::Print, *document};
  return std::nullopt;
}

std::optional<FocusTheft> ParseFocusTheft(std::string_view text) {
  const auto parts = SplitColons(text);
  if (parts.size() != 3) return std::nullopt;
  const auto step = StepFromName(parts[0]);
  const auto document = ParseOrdinal(parts[1]);
  const auto hold = ParseMillis(parts[2]);
  if (!step || !document || !hold) return std::nullopt;
  return FocusTheft{Moment{*step, *document}, *hold};
}

std::optional<bool> ParseSwitch(std::string_view text) {
  const std::string lower = AsciiLower(Trim(text));
  if (lower == "1" || lower == "on" || lower == "yes" || lower == "true") return true;
  if (lower == "0" || lower == "off" || lower == "no" || lower == "false") return false;
  return std::nullopt;
}

Knobs ReadKnobs(const EnvironmentLookup& environment, std::string_view tempDir) {
  Knobs knobs;
  knobs.printJournal = JoinPath(tempDir, "clw4sim-journal.txt");
  knobs.keyJournal = JoinPath(tempDir, "clw4sim-keys.txt");
  knobs.thiefKeyJournal = JoinPath(tempDir, "focusthief-keys.txt");

  Reader read(environment, knobs);
  read.Text("CLW4SIM_JOURNAL", knobs.printJournal);
  read.Text("CLW4SIM_KEYLOG", knobs.keyJournal);
  read.Text("CLW4SIM_THIEF_KEYLOG", knobs.thiefKeyJournal);
  read.Text("CLW4SIM_LOG", knobs.eventLog);
  read.Text("CLW4SIM_SPOOL_DIR", knobs.spoolDir);

  read.Value("CLW4SIM_START_DELAY_MS", knobs.startDelayMs, ParseMillis);
  read.Value("CLW4SIM_FOREGROUND_DELAY_MS", knobs.foregroundDelayMs, ParseMillis);
  read.Value("CLW4SIM_OPEN_DELAY_MS", knobs.openDelayMs, ParseMillis);
  read.Value("CLW4SIM_DIALOG_DELAY_MS", knobs.dialogDelayMs, ParseMillis);
  read.Value("CLW4SIM_PRINT_MS", knobs.printMs, ParseMillis);
  read.Value("CLW4SIM_CLOSE_DELAY_MS", knobs.closeDelayMs, ParseMillis);
  read.Value("CLW4SIM_QUIT_DELAY_MS", knobs.quitDelayMs, ParseMillis);
  read.Value("CLW4SIM_WARNING_AGAIN_MS", knobs.warningAgainMs, ParseMillis);
  read.Value("CLW4SIM_CLOSE_BLOCK_MS", knobs.closeBlockMs, ParseMillis);
  read.Value("CLW4SIM_HIDE_BEFORE_END_MS", knobs.hideBeforeEndMs, ParseMillis);
  read.Value("CLW4SIM_WARNING_BEFORE_FRAME_MS", knobs.warningBeforeFrameMs, ParseMillis);

  if (const auto value = environment("CLW4SIM_READONLY")) knobs.readOnly = NameList::Parse(*value);
  read.Value("CLW4SIM_READONLY_REPEAT", knobs.readOnlyRepeat, ParseCount);
  if (const auto value = environment("CLW4SIM_MODIFIED")) knobs.modified = NameList::Parse(*value);

  read.Value("CLW4SIM_CRASH_AT", knobs.crashAt, ParseMoment);
  read.Value("CLW4SIM_HANG_AT", knobs.hangAt, ParseMoment);
  read.Value("CLW4SIM_NO_DIALOG", knobs.noDialog, ParseMissingDialog);
  read.Value("CLW4SIM_STEAL_FOCUS", knobs.stealFocus, ParseFocusTheft);
  read.Value("CLW4SIM_SINGLE_INSTANCE", knobs.singleInstance, ParseSwitch);
  read.Value("CLW4SIM_ANSI", knobs.ansi, ParseSwitch);
  return knobs;
}

}  // namespace clw4sim
