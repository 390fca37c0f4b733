#pragma once

#include <string>

#include "platform/settings_store.h"

namespace velmok::win32 {

// HKEY_CURRENT_USER\<root>\<section>, one REG_SZ value per key. The root is
// "Software\ベルモック" for the program; tests pass a scratch key.
class RegistrySettingsStore final : public platform::SettingsStore {
 public:
  explicit RegistrySettingsStore(std::wstring root) : root_(std::move(root)) {}
  std::optional<std::string> Read(std::string_view section, std::string_view key) override;
  void Write(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::wstring root_;
};

}  // namespace velmok::win32
