// Key notation: any text must parse or be refused whole, what it parses to must be written back as
// notation of the same keystrokes, and any text escaped as a literal must parse back to exactly its
// characters.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/utf8.h"
#include "platform/key_notation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (const auto parsed = velmok::ParseKeyNotation(text))
    if (velmok::ParseKeyNotation(velmok::FormatKeyStrokes(*parsed)) != parsed) std::abort();

  const auto strokes = velmok::ParseKeyNotation(velmok::EscapeKeyLiteral(text));
  if (!strokes) std::abort();
  std::u32string expected;
  for (std::size_t pos = 0; pos < text.size();) expected += velmok::DecodeUtf8(text, pos);
  if (strokes->size() != expected.size()) std::abort();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& s = (*strokes)[i];
    if (s.character != expected[i] || s.modifiers != 0 || s.key != velmok::NamedKey::None) std::abort();
  }
  return 0;
}
