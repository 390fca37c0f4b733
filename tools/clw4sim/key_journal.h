#pragma once
// The key journal: one line per keyboard event a window of ours received, so that a test can prove
// that no stray key arrived and can read back what was typed.
//
// A line has eight fields separated by tabs (UTF-8, no tab inside a field):
//
//   sequence  millis  status  kind  key  modifiers  window  note
//
//   sequence   1, 2, 3 ... in the order the events were taken from the message queue
//   millis     milliseconds since the program started
//   status     "used" (the key did something), "ignored" (nothing happened), "stray" (it did
//              something no person printing documents would ask for: a new document, text typed
//              into a document) or "modifier" (Ctrl, Shift or Alt itself going down)
//   kind       "down" (WM_KEYDOWN), "sysdown" (WM_SYSKEYDOWN), "char" (WM_CHAR), "syschar"
//   key        for down/sysdown the virtual key: "A".."Z", "0".."9", a name such as "RETURN",
//              "ESCAPE", "CONTROL", "PACKET" (a character typed through KEYEVENTF_UNICODE), or
//              "0x" and two hex digits; for char/syschar "U+" and four hex digits (one UTF-16
//              unit), followed by a blank and the character itself when it is printable
//   modifiers  the modifier keys held, "ctrl", "shift", "alt" joined by "+", or "-" for none
//   window     the title of the top-level window that received the event
//   note       what the key did, or why it was ignored
//
// Example:  7	1520	used	down	O	ctrl	ｸﾗﾘｽﾜｰｸｽ 4.0	open dialog

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace clw4sim {

enum Modifier : unsigned { kShift = 1, kCtrl = 2, kAlt = 4 };

enum class KeyKind { Down, SysDown, Char, SysChar };

struct KeyEvent {
  KeyKind kind = KeyKind::Down;
  // The virtual key of a down event; one UTF-16 unit for a character.
  std::uint32_t code = 0;
  unsigned modifiers = 0;

  bool IsDown() const { return kind == KeyKind::Down || kind == KeyKind::SysDown; }
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

enum class KeyStatus { Used, Ignored, Stray, Modifier };

struct KeyRecord {
  std::uint64_t sequence = 0;
  std::uint64_t millis = 0;
  KeyStatus status = KeyStatus::Ignored;
  KeyEvent event;
  std::string window;
  std::string note;

  friend bool operator==(const KeyRecord&, const KeyRecord&) = default;
};

// The virtual keys the simulator looks at (the values of <winuser.h>, which this file must not need).
namespace vk {
inline constexpr std::uint32_t kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kShift = 0x10, kControl = 0x11,
                               kMenu = 0x12, kEscape = 0x1B, kEnd = 0x23, kHome = 0x24, kLeft = 0x25,
                               kRight = 0x27, kDelete = 0x2E, kLShift = 0xA0, kRShift = 0xA1,
                               kLControl = 0xA2, kRControl = 0xA3, kLMenu = 0xA4, kRMenu = 0xA5,
                               kPacket = 0xE7;
}  // namespace vk

bool IsModifierKey(std::uint32_t virtualKey);

std::string_view StatusName(KeyStatus status);
std::string VirtualKeyName(std::uint32_t virtualKey);
std::optional<std::uint32_t> VirtualKeyFromName(std::string_view name);

// One journal line, without its line end.
std::string FormatKeyRecord(const KeyRecord& record);
// The record of one journal line (a trailing CR is allowed); nullopt when it is not one.
std::optional<KeyRecord> ParseKeyRecord(std::string_view line);

}  // namespace clw4sim
