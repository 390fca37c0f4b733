#include "platform/key_notation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "platform/utf8.h"

namespace velmok {

namespace {

struct NamedKeyEntry {
  std::string_view name;
  NamedKey key;
};

constexpr std::array kNamedKeys = {
    NamedKeyEntry{"ENTER", NamedKey::Enter},     NamedKeyEntry{"TAB", NamedKey::Tab},
    NamedKeyEntry{"ESC", NamedKey::Escape},      NamedKeyEntry{"ESCAPE", NamedKey::Escape},
    NamedKeyEntry{"BACKSPACE", NamedKey::Backspace}, NamedKeyEntry{"BS", NamedKey::Backspace},
    NamedKeyEntry{"BKSP", NamedKey::Backspace},  NamedKeyEntry{"DELETE", NamedKey::Delete},
    NamedKeyEntry{"DEL", NamedKey::Delete},      NamedKeyEntry{"INSERT", NamedKey::Insert},
    NamedKeyEntry{"INS", NamedKey::Insert},      NamedKeyEntry{"HOME", NamedKey::Home},
    NamedKeyEntry{"END", NamedKey::End},         NamedKeyEntry{"PGUP", NamedKey::PageUp},
    NamedKeyEntry{"PGDN", NamedKey::PageDown},   NamedKeyEntry{"UP", NamedKey::Up},
    NamedKeyEntry{"DOWN", NamedKey::Down},       NamedKeyEntry{"LEFT", NamedKey::Left},
    NamedKeyEntry{"RIGHT", NamedKey::Right},     NamedKeyEntry{"F1", NamedKey::F1},
    NamedKeyEntry{"F2", NamedKey::F2},           NamedKeyEntry{"F3", NamedKey::F3},
    NamedKeyEntry{"F4", NamedKey::F4},           NamedKeyEntry{"F5", NamedKey::F5},
    NamedKeyEntry{"F6", NamedKey::F6},           NamedKeyEntry{"F7", NamedKey::F7},
    NamedKeyEntry{"F8", NamedKey::F8},           NamedKeyEntry{"F9", NamedKey::F9},
    NamedKeyEntry{"F10", NamedKey::F10},         NamedKeyEntry{"F11", NamedKey::F11},
    NamedKeyEntry{"F12", NamedKey::F12},         NamedKeyEntry{"F13", NamedKey::F13},
    NamedKeyEntry{"F14", NamedKey::F14},         NamedKeyEntry{"F15", NamedKey::F15},
    NamedKeyEntry{"F16", NamedKey::F16},
};

constexpr int kMaxRepeat = 1000;

std::optional<NamedKey> LookUpKeyName(std::string_view name) {
  for (const auto& entry : kNamedKeys) {
    if (entry.name.size() != name.size()) continue;
    const bool same = std::equal(name.begin(), name.end(), entry.name.begin(), [](char a, char b) {
      return std::toupper(static_cast<unsigned char>(a)) == b;
    });
    if (same) return entry.key;
  }
  return std::nullopt;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<std::vector<KeyStroke>> Run() {
    if (!Sequence(0, /*inGroup=*/false)) return std::nullopt;
    return std::move(out_);
  }

 private:
  // Parses up to the end of the text or, inside a group, up to its closing parenthesis.
  bool Sequence(unsigned held, bool inGroup) {
    unsigned pending = 0;  // modifiers waiting for their key
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '+' || c == '^' || c == '%') {
        pending |= c == '+' ? kShift : c == '^' ? kCtrl : kAlt;
        ++pos_;
      } else if (c == '(') {
        ++pos_;
        const std::size_t before = out_.size();
        if (!Sequence(held | pending, /*inGroup=*/true) || out_.size() == before) return false;
        pending = 0;
      } else if (c == ')') {
        if (!inGroup || pending != 0) return false;
        ++pos_;
        return true;
      } else if (c == '{') {
        if (!Braced(held | pending)) return false;
        pending = 0;
      } else if (c == '}') {
        return false;
      } else if (c == '~') {
        ++pos_;
        Emit({0, NamedKey::Enter, held | pending}, 1);
        pending = 0;
      } else {
        const char32_t cp = DecodeUtf8(text_, pos_);
        Emit({cp, NamedKey::None, held | pending}, 1);
        pending = 0;
      }
    }
    return !inGroup && pending == 0;
  }

  // "{NAME}", "{NAME n}", "{c}", "{c n}" with pos_ on the opening brace.
  bool Braced(unsigned modifiers) {
    ++pos_;
    if (pos_ >= text_.size()) return false;
    // The first character is always part of the name, so "{}}" and "{{}" work.
    std::size_t nameEnd = pos_;
    DecodeUtf8(text_, nameEnd);
    while (nameEnd < text_.size() && text_[nameEnd] != '}' && text_[nameEnd] != ' ') ++nameEnd;
    const std::string_view name = text_.substr(pos_, nameEnd - pos_);
    int count = 1;
    std::size_t close = nameEnd;
    if (close < text_.size() && text_[close] == ' ') {
      const std::size_t digits = close + 1;
      close = text_.find('}', digits);
      if (close == std::string_view::npos) return false;
      const std::string_view number = text_.substr(digits, close - digits);
      const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), count);
      if (error != std::errc() || end != number.data() + number.size() || count < 0 || count > kMaxRepeat)
        return false;
    }
    if (close >= text_.size() || text_[close] != '}') return false;
    pos_ = close + 1;

    std::size_t first = 0;
    const char32_t cp = DecodeUtf8(name, first);
    if (first == name.size()) {
      Emit({cp, NamedKey::None, modifiers}, count);
      return true;
    }
    const auto key = LookUpKeyName(name);
    if (!key) return false;
    Emit({0, *key, modifiers}, count);
    return true;
  }

  void Emit(KeyStroke stroke, int count) {
    for (int i = 0; i < count; ++i) out_.push_back(stroke);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<KeyStroke> out_;
};

// The narrow (half-width) form of the full-width forms of the eight notation characters.
char32_t NarrowForm(char32_t cp) {
  switch (cp) {
    case U'＋': return U'+';
    case U'～': return U'~';
    case U'＾': return U'^';
    case U'％': return U'%';
    case U'（': return U'(';
    case U'）': return U')';
    case U'｛': return U'{';
    case U'｝': return U'}';
    default: return cp;
  }
}

bool IsNotationCharacter(char32_t cp) {
  switch (cp) {
    case U'+': case U'~': case U'^': case U'%': case U'(': case U')': case U'{': case U'}':
      return true;
    default:
      return false;
  }
}

std::string_view NameOf(NamedKey key) {
  for (const auto& entry : kNamedKeys)
    if (entry.key == key) return entry.name;
  return {};
}

}  // namespace

std::optional<std::vector<KeyStroke>> ParseKeyNotation(std::string_view notation) {
  return Parser(notation).Run();
}

std::string FormatKeyStrokes(const std::vector<KeyStroke>& strokes) {
  std::string out;
  for (const KeyStroke& stroke : strokes) {
    if (stroke.modifiers & kShift) out += '+';
    if (stroke.modifiers & kCtrl) out += '^';
    if (stroke.modifiers & kAlt) out += '%';
    if (stroke.key != NamedKey::None) {
      out += '{';
      out += NameOf(stroke.key);
      out += '}';
      continue;
    }
    std::string character;
    AppendUtf8(character, stroke.character);
    out += EscapeKeyLiteral(character);
  }
  return out;
}

std::string DropKeyStrokes(std::string_view notation, std::size_t count) {
  auto strokes = ParseKeyNotation(notation);
  if (!strokes) return std::string(notation);
  strokes->erase(strokes->begin(), strokes->begin() + static_cast<std::ptrdiff_t>(std::min(count, strokes->size())));
  return FormatKeyStrokes(*strokes);
}

std::string EscapeKeyLiteral(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const char32_t cp = DecodeUtf8(text, pos);
    const std::string_view original = text.substr(start, pos - start);
    if (IsNotationCharacter(NarrowForm(cp))) {
      out += '{';
      out += original;
      out += '}';
    } else {
      out += original;
    }
  }
  return out;
}

}  // namespace velmok
