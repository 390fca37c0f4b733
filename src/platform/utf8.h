#pragma once
// Small helpers for UTF-8 text, counted in characters (code points), not bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmok {

// The first `count` characters of `text` (all of it when it is shorter).
std::string_view Utf8Prefix(std::string_view text, std::size_t count);
std::size_t Utf8Length(std::string_view text);
// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);
// Decodes the code point that starts at `pos` and advances `pos` past it. A malformed sequence
// yields U+FFFD and advances by one byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// The same into `out`, whose storage is reused (a folder walk converts one name per file).
void Utf16ToUtf8Into(std::u16string_view text, std::string& out);

}  // namespace velmok
