#pragma once

#include <string_view>

namespace velmok::platform {

// Modal message boxes titled with the program's name.
class MessageBoxes {
 public:
  enum class Icon { None, Information, Exclamation };
  virtual ~MessageBoxes() = default;
  // Shows an OK-only box and returns when the user has closed it.
  virtual void ShowOk(std::string_view text, Icon icon) = 0;
};

}  // namespace velmok::platform
