#include "printing/probes.h"

#include "core/texts.h"

namespace velmok {

std::string ClarisProbes::GetClarisMainTitle() {
  const auto window = windows_.FindTopLevelByClass(texts::kClarisMainClass);
  if (window == platform::kNoWindow) return {};
  return windows_.WindowTitle(window, kMainTitleChars);
}

std::string ClarisProbes::FindWindowByTitle(std::string_view title) {
  const auto window = windows_.FindTopLevelByTitle(title);
  if (window == platform::kNoWindow) return {};
  return windows_.WindowTitle(window, kTitleChars);
}

std::uint32_t ClarisProbes::ClarisProcess() {
  const auto window = windows_.FindTopLevelByClass(texts::kClarisMainClass);
  return window == platform::kNoWindow ? 0 : windows_.ProcessOfWindow(window);
}

platform::WindowId ClarisProbes::ClarisWindowTitled(std::string_view title) {
  const std::uint32_t claris = ClarisProcess();
  if (claris == 0) return platform::kNoWindow;
  return windows_.FindTopLevelByTitleOf(claris, title);
}

}  // namespace velmok
