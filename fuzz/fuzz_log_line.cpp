// The log line formatter with any clock reading, level, prefix and text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/debug_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 12) return 0;
  velmok::platform::LocalDateTime t;
  t.year = 1601 + data[0] * 2;
  t.month = 1 + data[1] % 12;
  t.day = 1 + data[2] % 31;
  t.hour = data[3] % 24;
  t.minute = data[4] % 60;
  t.second = data[5] % 60;
  std::int32_t fraction = 0;
  std::memcpy(&fraction, data + 6, sizeof fraction);
  t.fraction100ns = static_cast<std::int32_t>(static_cast<std::uint32_t>(fraction) % 10'000'000u);
  const int level = static_cast<std::int8_t>(data[10]);
  const std::size_t prefixLength = data[11] % 4;
  if (size < 12 + prefixLength) return 0;
  const std::string prefix(reinterpret_cast<const char*>(data + 12), prefixLength);
  const std::string text(reinterpret_cast<const char*>(data + 12 + prefixLength), size - 12 - prefixLength);

  const std::string line = velmok::FormatLogFileLine(t, level, prefix, text);
  const std::string escaped = velmok::EscapeControlCharacters(text);
  // No control character of the text reaches the line: nothing can begin a line of its own.
  for (const char c : escaped)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) std::abort();
  if (escaped.size() < text.size()) std::abort();
  if (text.empty()) {
    if (!line.empty()) std::abort();
    return 0;
  }
  // prefix, level, " yy/mm/dd hh:mm:ss." then at least three digits and a blank, then the text.
  if (line.compare(0, prefix.size(), prefix) != 0) std::abort();
  if (line.size() < escaped.size() || line.compare(line.size() - escaped.size(), escaped.size(), escaped) != 0)
    std::abort();
  const std::string level_text = std::to_string(level);
  const std::size_t stamp = line.size() - escaped.size() - prefix.size() - level_text.size();
  if (stamp != 1 + 9 + 9 + 4 && stamp != 1 + 9 + 9 + 5) std::abort();
  const std::string debuggerLine = velmok::FormatDebuggerLine(level, prefix, text);
  if (debuggerLine != prefix + level_text + " " + escaped) std::abort();
  return 0;
}
