#include "platform/utf8.h"

namespace velmok {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  char32_t cp = lead;
  if (lead >= 0xF0 && lead < 0xF8) {
    length = 4;
    cp = lead & 0x07;
  } else if (lead >= 0xE0) {
    length = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xC2 && lead < 0xE0) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0x80) {
    ++pos;
    return U'\uFFFD';
  }
  if (pos + length > text.size()) {
    ++pos;
    return U'\uFFFD';
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(c)) {
      ++pos;
      return U'\uFFFD';
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  pos += length;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  Utf16ToUtf8Into(text, out);
  return out;
}

void Utf16ToUtf8Into(std::u16string_view text, std::string& out) {
  // At most three bytes for each unit (a pair of surrogates, four bytes, is two units): written
  // into place, then cut to length.
  out.resize(text.size() * 3);
  std::size_t n = 0;
  auto put = [&out, &n](unsigned value) { out[n++] = static_cast<char>(value); };
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c < 0x80) {
      put(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x800) {
      put(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      put(0xE0 | (c >> 12));
      put(0x80 | ((c >> 6) & 0x3F));
    } else {
      put(0xF0 | (c >> 18));
      put(0x80 | ((c >> 12) & 0x3F));
      put(0x80 | ((c >> 6) & 0x3F));
    }
    put(0x80 | (c & 0x3F));
  }
  out.resize(n);
}

std::string_view Utf8Prefix(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < text.size(); ++n) DecodeUtf8(text, pos);
  return text.substr(0, pos);
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t pos = 0;
  std::size_t n = 0;
  while (pos < text.size()) {
    DecodeUtf8(text, pos);
    ++n;
  }
  return n;
}

}  // namespace velmok
