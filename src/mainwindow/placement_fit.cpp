#include "mainwindow/placement_fit.h"

#include <algorithm>
#include <cstdint>

namespace velmok {

namespace {

// The length of the overlap of [a, a + n) and [b, b + m); wide enough for values far off screen.
std::int64_t Overlap(std::int64_t a, std::int64_t n, std::int64_t b, std::int64_t m) {
  return std::max<std::int64_t>(0, std::min(a + n, b + m) - std::max(a, b));
}

// One axis: a window larger than its work area spans it; then it is moved as little as needed to
// begin between `lowest` and `highest`.
void FitAxis(int& at, int& size, int areaAt, int areaSize, int lowest, int highest) {
  if (size > areaSize) {
    size = areaSize;
    at = areaAt;
  }
  at = std::clamp(at, lowest, std::max(lowest, highest));
}

}  // namespace

std::optional<PixelRect> FitPlacement(const PixelRect& stored, const std::vector<PixelRect>& workAreas,
                                      int titleHeight, int grip) {
  const PixelRect* area = nullptr;
  std::int64_t best = 0;
  for (const PixelRect& a : workAreas) {
    const std::int64_t overlap = Overlap(stored.left, stored.width, a.left, a.width) *
                                 Overlap(stored.top, stored.height, a.top, a.height);
    if (overlap > best) {
      best = overlap;
      area = &a;
    }
  }
  if (!area) return std::nullopt;
  PixelRect fitted = stored;
  const int keep = std::min(grip, std::min(fitted.width, area->width));
  FitAxis(fitted.left, fitted.width, area->left, area->width, area->left + keep - std::min(fitted.width, area->width),
          area->left + area->width - keep);
  FitAxis(fitted.top, fitted.height, area->top, area->height, area->top,
          area->top + area->height - std::min(titleHeight, area->height));
  return fitted;
}

}  // namespace velmok
