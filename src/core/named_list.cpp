#include "core/named_list.h"

namespace velmok {

void AppendNamedList(std::string& text, const std::vector<std::string>& names, const NamedListStyle& style) {
  const std::size_t shown =
      names.size() <= style.limit + (style.allWhenOneMore ? 1 : 0) ? names.size() : style.limit;
  for (std::size_t i = 0; i < shown; ++i) {
    text += "\r\n";
    text += names[i];
  }
  if (shown < names.size()) {
    text += "\r\n";
    text += style.morePrefix;
    text += std::to_string(names.size() - shown);
    text += style.moreSuffix;
  }
}

}  // namespace velmok
