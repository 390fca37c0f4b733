#pragma once
// The "検索中: " text during a folder walk. A walk through a file server enters folders faster
// than anyone can read them, and a repaint per folder would cost more than the walk itself: a
// folder entered within 40 ms of the last one shown is held back, and shown once the 40 ms have
// passed, at the walk's next sign of life, so that the line never names a folder the walk has
// long left while it waits in another.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmok {

class SearchStatusThrottle {
 public:
  static constexpr std::int64_t kIntervalMs = 40;

  explicit SearchStatusThrottle(std::function<void(std::string_view)> show) : show_(std::move(show)) {}

  // A new path of a drop or paste: its first folder shows at once.
  void Begin();
  // The walk entered a folder.
  void Offer(std::string_view text, std::int64_t nowMs);
  // The walk goes on (inside a folder's listing, or after it): a folder held back shows if due.
  void Tick(std::int64_t nowMs);

 private:
  void Show(std::string_view text, std::int64_t nowMs);

  std::function<void(std::string_view)> show_;
  std::optional<std::int64_t> lastShown_;
  std::optional<std::string> heldBack_;
};

}  // namespace velmok
