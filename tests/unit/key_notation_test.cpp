#include "platform/key_notation.h"

#include <gtest/gtest.h>

#include "platform/utf8.h"

namespace velmok {
namespace {

KeyStroke Char(char32_t c, unsigned mods = 0) { return {c, NamedKey::None, mods}; }
KeyStroke Key(NamedKey k, unsigned mods = 0) { return {0, k, mods}; }

TEST(EscapeKeyLiteral, EnclosesTheEightNotationCharactersIncludingFullWidthForms) {
  struct Case {
    const char* text;
    const char* escaped;
  };
  const Case cases[] = {
      {"C:\\a+b\\(1).cwj", "C:\\a{+}b\\{(}1{)}.cwj"},
      {"C:\\plain\\name.cwj", "C:\\plain\\name.cwj"},
      {"", ""},
      {"~^%{}", "{~}{^}{%}{{}{}}"},
      {"[a]", "[a]"},                       // brackets stay
      {"＋～＾％（）｛｝", "{＋}{～}{＾}{％}{（}{）}{｛}{｝}"},  // full-width: braced, kept full-width
      {"書類\\見積(案) 2026.cwj", "書類\\見積{(}案{)} 2026.cwj"},
      {"ｸﾗﾘｽ＃", "ｸﾗﾘｽ＃"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(EscapeKeyLiteral(c.text), c.escaped);
  }
}

TEST(ParseKeyNotation, ShortcutsNamedKeysAndLiterals) {
  struct Case {
    const char* notation;
    std::vector<KeyStroke> strokes;
  };
  const std::vector<Case> cases = {
      {"^o", {Char(U'o', kCtrl)}},
      {"{ENTER}", {Key(NamedKey::Enter)}},
      {"{enter}", {Key(NamedKey::Enter)}},
      {"~", {Key(NamedKey::Enter)}},
      {"+{TAB}", {Key(NamedKey::Tab, kShift)}},
      {"%{F4}", {Key(NamedKey::F4, kAlt)}},
      {"^+(ab)c", {Char(U'a', kCtrl | kShift), Char(U'b', kCtrl | kShift), Char(U'c')}},
      {"{+}{^}{%}{~}{(}{)}{{}{}}", {Char(U'+'), Char(U'^'), Char(U'%'), Char(U'~'), Char(U'('), Char(U')'),
                                     Char(U'{'), Char(U'}')}},
      {"{＋}", {Char(U'＋')}},
      {"{x 3}", {Char(U'x'), Char(U'x'), Char(U'x')}},
      {"{ENTER 2}", {Key(NamedKey::Enter), Key(NamedKey::Enter)}},
      {"{ENTER 0}", {}},
      {"[書]", {Char(U'['), Char(U'書'), Char(U']')}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.notation);
    const auto parsed = ParseKeyNotation(c.notation);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, c.strokes);
  }
}

TEST(ParseKeyNotation, MalformedNotationIsRefusedWhole) {
  for (const char* bad : {"{", "{ENTER", "}", "(a", "a)", "^", "^()", "{NOSUCHKEY}", "{x -1}", "{x 99999}",
                          "{x 3", "{x y}", "+", "(^)"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParseKeyNotation(bad).has_value());
  }
}

TEST(ParseKeyNotation, EscapedTextTypesExactlyItsCharacters) {
  const std::string texts[] = {
      "C:\\a+b\\(1).cwj", "Z:\\tmp\\見積 ~^%{}[]().cwj", "＋～＾％（）｛｝", "ﾃｽﾄ 文書",
  };
  for (const auto& text : texts) {
    SCOPED_TRACE(text);
    const auto strokes = ParseKeyNotation(EscapeKeyLiteral(text));
    ASSERT_TRUE(strokes.has_value());
    std::u32string typed;
    for (const auto& s : *strokes) {
      EXPECT_EQ(s.key, NamedKey::None);
      EXPECT_EQ(s.modifiers, 0u);
      typed += s.character;
    }
    std::u32string expected;
    for (std::size_t pos = 0; pos < text.size();) expected += DecodeUtf8(text, pos);
    EXPECT_EQ(typed, expected);
  }
}

// What is left of a batch once the system has taken its first keystrokes, as notation of exactly
// the keystrokes that did not go.
TEST(DropKeyStrokes, TheRestIsTheNotationOfTheKeysThatDidNotGo) {
  const struct {
    const char* notation;
    std::size_t taken;
    const char* rest;
  } cases[] = {
      {"C:\\見積{(}案{)}.cwj", 6, "案{)}.cwj"}, {"{+}{~}{＋}x", 2, "{＋}x"}, {"^+(ab)c", 1, "+^bc"},
      {"%{F4}{ENTER 2}{ESC}", 2, "{ENTER}{ESC}"}, {"^o", 0, "^o"}, {"^o", 1, ""}, {"{broken", 1, "{broken"},
  };
  for (const auto& c : cases) EXPECT_EQ(DropKeyStrokes(c.notation, c.taken), c.rest) << c.notation << " " << c.taken;
}

}  // namespace
}  // namespace velmok
