#pragma once

#include "platform/registry.h"

namespace velmok::win32 {

class Win32Registry final : public platform::Registry {
 public:
  std::optional<std::string> ReadString(platform::RegistryRoot root, std::string_view key,
                                        std::string_view name) override;
};

}  // namespace velmok::win32
