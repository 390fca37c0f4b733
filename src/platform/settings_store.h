#pragma once
// Per-user settings: (section, key) -> text, under the program's own name.

#include <optional>
#include <string>
#include <string_view>

namespace velmok::platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::string> Read(std::string_view section, std::string_view key) = 0;
  virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace velmok::platform
