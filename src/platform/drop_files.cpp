#include "platform/drop_files.h"

#include "platform/utf8.h"

namespace velmok {

namespace {

std::uint32_t ReadU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

std::optional<DropFileNames> ParseDropFiles(const unsigned char* data, std::size_t size) {
  if (!data || size < kDropFilesHeaderSize) return std::nullopt;
  const std::size_t offset = ReadU32(data);
  const bool wide = ReadU32(data + 16) != 0;
  if (offset < kDropFilesHeaderSize || offset >= size) return std::nullopt;
  DropFileNames result;
  result.wide = wide;
  std::size_t pos = offset;
  if (wide) {
    // Each name is found whole, then converted in one go (a list may hold 100,000 of them).
    std::u16string name;
    for (;;) {
      std::size_t end = pos;
      while (end + 2 <= size && (data[end] | data[end + 1]) != 0) end += 2;
      if (end + 2 > size) return std::nullopt;  // no final empty name inside the block
      if (end == pos) break;
      name.resize((end - pos) / 2);
      for (std::size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<char16_t>(data[pos + 2 * i] | data[pos + 2 * i + 1] << 8);
      Utf16ToUtf8Into(name, result.names.emplace_back());
      pos = end + 2;
    }
  } else {
    std::string name;
    for (;;) {
      if (pos >= size) return std::nullopt;
      const char c = static_cast<char>(data[pos++]);
      if (c != '\0') {
        name.push_back(c);
        continue;
      }
      if (name.empty()) break;
      result.names.push_back(std::move(name));
      name.clear();
    }
  }
  return result;
}

}  // namespace velmok
