#include "printing/print_queue.h"

namespace velmok {

int GetWaitingJobCount(PrintQueue& queue) {
  if (!queue.HasDefaultPrinter()) return 0;
  queue.Open();
  const std::uint32_t bytes = queue.QueryBytesNeeded();
  if (bytes == 0) {
    queue.Close();
    return 0;
  }
  const std::uint32_t records = queue.Enumerate(bytes);
  queue.Close();
  return static_cast<int>(records) - 1;
}

}  // namespace velmok
