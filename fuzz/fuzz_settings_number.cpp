// Settings values as another program (or a user with the registry editor) may have left them.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mainwindow/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto value = velmok::ParseSettingNumber(text);
  if (!value) return 0;
  if (!std::isfinite(*value)) std::abort();
  const float f = static_cast<float>(*value);
  if (!std::isfinite(f)) return 0;
  // What the program writes, it reads back unchanged.
  const auto back = velmok::ParseSettingNumber(velmok::FormatSettingNumber(f));
  if (!back || static_cast<float>(*back) != f) std::abort();
  return 0;
}
