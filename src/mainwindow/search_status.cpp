#include "mainwindow/search_status.h"

namespace velmok {

void SearchStatusThrottle::Begin() {
  lastShown_.reset();
  heldBack_.reset();
}

void SearchStatusThrottle::Offer(std::string_view text, std::int64_t nowMs) {
  if (lastShown_ && nowMs - *lastShown_ < kIntervalMs) {
    heldBack_ = std::string(text);
    return;
  }
  Show(text, nowMs);
}

void SearchStatusThrottle::Tick(std::int64_t nowMs) {
  if (!heldBack_ || (lastShown_ && nowMs - *lastShown_ < kIntervalMs)) return;
  const std::string text = std::move(*heldBack_);
  Show(text, nowMs);
}

void SearchStatusThrottle::Show(std::string_view text, std::int64_t nowMs) {
  heldBack_.reset();
  lastShown_ = nowMs;
  if (show_) show_(text);
}

}  // namespace velmok
