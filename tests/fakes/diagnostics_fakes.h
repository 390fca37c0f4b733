#pragma once
// Fakes of the registry and the program launcher, for the about box's system information button.

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/program_launcher.h"
#include "platform/registry.h"

namespace velmok::fakes {

class FakeRegistry final : public platform::Registry {
 public:
  using Value = std::tuple<platform::RegistryRoot, std::string, std::string>;  // root, key, name
  std::map<Value, std::string> values;
  std::vector<Value> reads;  // in the order asked

  std::optional<std::string> ReadString(platform::RegistryRoot root, std::string_view key,
                                        std::string_view name) override {
    reads.emplace_back(root, key, name);
    const auto it = values.find(reads.back());
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

class FakeProgramLauncher final : public platform::ProgramLauncher {
 public:
  std::vector<std::pair<std::string, int>> started;  // path, show state
  bool fails = false;

  bool Start(std::string_view path, int show) override {
    started.emplace_back(path, show);
    return !fails;
  }
};

}  // namespace velmok::fakes
