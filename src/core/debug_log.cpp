#include "core/debug_log.h"

#include <cmath>
#include <cstdio>

#include "core/texts.h"

namespace velmok {

namespace {

DebugLog* g_log = nullptr;

std::string TwoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

// The fraction of the seconds since midnight, times 1000, rounded; at least three digits.
std::string Milliseconds(std::int32_t fraction100ns) {
  const auto ms = static_cast<long>(std::lround(fraction100ns / 10000.0));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03ld", ms);
  return buffer;
}

}  // namespace

std::string EscapeControlCharacters(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      out += '<';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
      out += '>';
    } else {
      out += c;
    }
  }
  return out;
}

std::string FormatLogFileLine(const platform::LocalDateTime& now, int level, std::string_view prefix,
                              std::string_view text) {
  if (text.empty()) return {};
  std::string line;
  line.reserve(prefix.size() + text.size() + 32);
  line += prefix;
  line += std::to_string(level);
  line += ' ';
  line += TwoDigits(now.year % 100) + '/' + TwoDigits(now.month) + '/' + TwoDigits(now.day) + ' ';
  line += TwoDigits(now.hour) + ':' + TwoDigits(now.minute) + ':' + TwoDigits(now.second) + '.';
  line += Milliseconds(now.fraction100ns) + ' ';
  line += EscapeControlCharacters(text);
  return line;
}

std::string FormatDebuggerLine(int level, std::string_view prefix, std::string_view text) {
  std::string line(prefix);
  line += std::to_string(level);
  line += ' ';
  line += EscapeControlCharacters(text);
  return line;
}

void DebugLog::WriteDebugLog(std::string_view text, int level, std::string_view prefix) {
  if (level_ == 0) return;
  if (!text.empty()) debugger_.Write(FormatDebuggerLine(level, prefix, text));
  if (level_ < level) return;
  const std::string line = text.empty() ? std::string() : FormatLogFileLine(clock_.Now(), level, prefix, text);
  // A file created now may have been given back the creation time of the file that start-up
  // deleted a moment ago; the daily reset reads that time.
  if (file_.AppendLine(line)) file_.SetCreationTime(clock_.Now());
}

void DebugLog::InitDebugLog(int level) {
  level_ = level;
  WriteDebugLog("", 1, " ");
  WriteDebugLog(std::string(texts::kLogInitialised) + std::to_string(level), 1, " ");
}

void DebugLog::InitLogFile() {
  const auto created = file_.CreationDate();
  if (!created) return;
  if (!(*created == clock_.Now().Date())) file_.Delete();
}

void InstallDebugLog(DebugLog* log) { g_log = log; }
DebugLog* InstalledDebugLog() { return g_log; }

void WriteDebugLog(std::string_view text, int level, std::string_view prefix) {
  if (g_log) g_log->WriteDebugLog(text, level, prefix);
}

int DebugLevel() { return g_log ? g_log->DebugLevel() : 0; }

}  // namespace velmok
