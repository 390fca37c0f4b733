#pragma once
// Reading values of the system registry.

#include <optional>
#include <string>
#include <string_view>

namespace velmok::platform {

enum class RegistryRoot { LocalMachine, CurrentUser };

class Registry {
 public:
  virtual ~Registry() = default;
  // The text of the string value `name` of the key `key` under `root`, the key opened for reading
  // only. nullopt when the key cannot be opened, the value is missing, is not a string or does not
  // fit the 1024-byte buffer of the query.
  virtual std::optional<std::string> ReadString(RegistryRoot root, std::string_view key, std::string_view name) = 0;
};

}  // namespace velmok::platform
