#pragma once
// Key notation: the text form of keystrokes. "^" Ctrl, "+" Shift and "%" Alt act on the next key or
// on a group in parentheses; "~" is Enter; "{ENTER}", "{TAB}", "{F5}" ... name keys, "{ENTER 3}"
// repeats one; a single character between braces stands for itself ("{+}", "{{}", "{}}").
// Every other character is typed as it stands.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmok {

enum class NamedKey : std::uint8_t {
  None, Enter, Tab, Escape, Backspace, Delete, Insert, Home, End, PageUp, PageDown,
  Up, Down, Left, Right, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, F13, F14, F15, F16,
};

enum KeyModifier : unsigned { kShift = 1, kCtrl = 2, kAlt = 4 };

struct KeyStroke {
  // Exactly one of the two is set: a character to type, or a named key.
  char32_t character = 0;
  NamedKey key = NamedKey::None;
  unsigned modifiers = 0;

  friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// The keystrokes of `notation`; nullopt when it is malformed (an unclosed brace or parenthesis,
// an unknown key name, a modifier with nothing to act on).
std::optional<std::vector<KeyStroke>> ParseKeyNotation(std::string_view notation);

// The notation of `strokes`, read back by ParseKeyNotation as the same keystrokes.
std::string FormatKeyStrokes(const std::vector<KeyStroke>& strokes);

// The notation of the keystrokes of `notation` after its first `count`; `notation` itself when it
// is malformed.
std::string DropKeyStrokes(std::string_view notation, std::size_t count);

// Encloses in braces every character whose narrow form is one of + ~ ^ % ( ) { }, so that the
// result, read as key notation, types exactly `text`.
std::string EscapeKeyLiteral(std::string_view text);

}  // namespace velmok
