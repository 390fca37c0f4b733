#include "clw4sim/key_journal.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/utf8.h"

namespace clw4sim {

namespace {

struct KeyName {
  std::uint32_t key;
  std::string_view name;
};

constexpr std::array kKeyNames = {
    KeyName{vk::kBack, "BACK"},         KeyName{vk::kTab, "TAB"},           KeyName{vk::kReturn, "RETURN"},
    KeyName{vk::kShift, "SHIFT"},       KeyName{vk::kControl, "CONTROL"},   KeyName{vk::kMenu, "MENU"},
    KeyName{0x13, "PAUSE"},             KeyName{0x14, "CAPITAL"},           KeyName{0x15, "KANA"},
    KeyName{0x19, "KANJI"},             KeyName{vk::kEscape, "ESCAPE"},     KeyName{0x1C, "CONVERT"},
    KeyName{0x1D, "NONCONVERT"},        KeyName{0x20, "SPACE"},             KeyName{0x21, "PRIOR"},
    KeyName{0x22, "NEXT"},              KeyName{vk::kEnd, "END"},           KeyName{vk::kHome, "HOME"},
    KeyName{vk::kLeft, "LEFT"},         KeyName{0x26, "UP"},                KeyName{vk::kRight, "RIGHT"},
    KeyName{0x28, "DOWN"},              KeyName{0x2D, "INSERT"},            KeyName{vk::kDelete, "DELETE"},
    KeyName{0x5B, "LWIN"},              KeyName{0x5C, "RWIN"},              KeyName{0x5D, "APPS"},
    KeyName{vk::kLShift, "LSHIFT"},     KeyName{vk::kRShift, "RSHIFT"},     KeyName{vk::kLControl, "LCONTROL"},
    KeyName{vk::kRControl, "RCONTROL"}, KeyName{vk::kLMenu, "LMENU"},       KeyName{vk::kRMenu, "RMENU"},
    KeyName{vk::kPacket, "PACKET"},
};

constexpr std::uint32_t kF1 = 0x70;
constexpr std::uint32_t kF24 = 0x87;

std::string_view KindName(KeyKind kind) {
  switch (kind) {
    case KeyKind::Down: return "down";
    case KeyKind::SysDown: return "sysdown";
    case KeyKind::Char: return "char";
    case KeyKind::SysChar: return "syschar";
  }
  return "down";
}

std::optional<KeyKind> KindFromName(std::string_view name) {
  for (const KeyKind kind : {KeyKind::Down, KeyKind::SysDown, KeyKind::Char, KeyKind::SysChar})
    if (KindName(kind) == name) return kind;
  return std::nullopt;
}

std::optional<KeyStatus> StatusFromName(std::string_view name) {
  for (const KeyStatus status : {KeyStatus::Used, KeyStatus::Ignored, KeyStatus::Stray, KeyStatus::Modifier})
    if (StatusName(status) == name) return status;
  return std::nullopt;
}

std::string ModifierText(unsigned modifiers) {
  std::string out;
  const auto add = [&](unsigned bit, std::string_view name) {
    if (!(modifiers & bit)) return;
    if (!out.empty()) out += '+';
    out += name;
  };
  add(kCtrl, "ctrl");
  add(kShift, "shift");
  add(kAlt, "alt");
  return out.empty() ? "-" : out;
}

std::optional<unsigned> ModifiersFromText(std::string_view text) {
  if (text == "-") return 0u;
  unsigned out = 0;
  while (!text.empty()) {
    const auto plus = text.find('+');
    const std::string_view part = text.substr(0, plus);
    if (part == "ctrl") out |= kCtrl;
    else if (part == "shift") out |= kShift;
    else if (part == "alt") out |= kAlt;
    else return std::nullopt;
    if (plus == std::string_view::npos) break;
    text.remove_prefix(plus + 1);
  }
  return out;
}

bool IsPrintable(std::uint32_t unit) {
  return unit >= 0x20 && unit != 0x7F && !(unit >= 0x80 && unit < 0xA0) && !(unit >= 0xD800 && unit < 0xE000);
}

std::string Hex(std::uint32_t value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, static_cast<unsigned>(value));
  return buffer;
}

std::optional<std::uint32_t> ParseHex(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::uint64_t> ParseNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Tabs and line ends would break the line apart.
std::string OneField(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return out;
}

std::string KeyText(const KeyEvent& event) {
  if (event.IsDown()) return VirtualKeyName(event.code);
  std::string out = "U+";
  out += Hex(event.code, 4);
  if (IsPrintable(event.code)) {
    out += ' ';
    velmok::AppendUtf8(out, static_cast<char32_t>(event.code));
  }
  return out;
}

std::optional<std::uint32_t> KeyFromText(KeyKind kind, std::string_view text) {
  if (kind == KeyKind::Down || kind == KeyKind::SysDown) return VirtualKeyFromName(text);
  if (text.substr(0, 2) != "U+") return std::nullopt;
  text.remove_prefix(2);
  return ParseHex(text.substr(0, text.find(' ')));
}

}  // namespace

bool IsModifierKey(std::uint32_t virtualKey) {
  switch (virtualKey) {
    case vk::kShift: case vk::kControl: case vk::kMenu: case vk::kLShift: case vk::kRShift:
    case vk::kLControl: case vk::kRControl: case vk::kLMenu: case vk::kRMenu:
      return true;
    default:
      return false;
  }
}

std::string_view StatusName(KeyStatus status) {
  switch (status) {
    case KeyStatus::Used: return "used";
    case KeyStatus::Ignored: return "ignored";
    case KeyStatus::Stray: return "stray";
    case KeyStatus::Modifier: return "modifier";
  }
  return "ignored";
}

std::string VirtualKeyName(std::uint32_t virtualKey) {
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
    return std::string(1, static_cast<char>(virtualKey));
  std::string name;
  if (virtualKey >= kF1 && virtualKey <= kF24) return name.append("F").append(std::to_string(virtualKey - kF1 + 1));
  for (const auto& entry : kKeyNames)
    if (entry.key == virtualKey) return name.append(entry.name);
  return name.append("0x").append(Hex(virtualKey & 0xFF, 2));
}

std::optional<std::uint32_t> VirtualKeyFromName(std::string_view name) {
  if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
    return static_cast<std::uint32_t>(name[0]);
  if (name.size() >= 2 && name[0] == 'F') {
    if (const auto n = ParseNumber(name.substr(1)); n && *n >= 1 && *n <= kF24 - kF1 + 1)
      return static_cast<std::uint32_t>(kF1 + *n - 1);
  }
  if (name.substr(0, 2) == "0x" && name.size() == 4) return ParseHex(name.substr(2));
  for (const auto& entry : kKeyNames)
    if (entry.name == name) return entry.key;
  return std::nullopt;
}

std::string FormatKeyRecord(const KeyRecord& record) {
  std::string line;
  line += std::to_string(record.sequence) + '\t';
  line += std::to_string(record.millis) + '\t';
  line += std::string(StatusName(record.status)) + '\t';
  line += std::string(KindName(record.event.kind)) + '\t';
  line += KeyText(record.event) + '\t';
  line += ModifierText(record.event.modifiers) + '\t';
  line += OneField(record.window) + '\t';
  line += OneField(record.note);
  return line;
}

std::optional<KeyRecord> ParseKeyRecord(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::vector<std::string_view> fields;
  for (;;) {
    const auto tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) break;
    line.remove_prefix(tab + 1);
  }
  if (fields.size() != 8) return std::nullopt;
  KeyRecord record;
  const auto sequence = ParseNumber(fields[0]);
  const auto millis = ParseNumber(fields[1]);
  const auto status = StatusFromName(fields[2]);
  const auto kind = KindFromName(fields[3]);
  if (!sequence || !millis || !status || !kind) return std::nullopt;
  const auto code = KeyFromText(*kind, fields[4]);
  const auto modifiers = ModifiersFromText(fields[5]);
  if (!code || !modifiers) return std::nullopt;
  record.sequence = *sequence;
  record.millis = *millis;
  record.status = *status;
  record.event = KeyEvent{*kind, *code, *modifiers};
  record.window = std::string(fields[6]);
  record.note = std::string(fields[7]);
  return record;
}

}  // namespace clw4sim
