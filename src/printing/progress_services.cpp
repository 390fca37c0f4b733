#include "printing/progress_services.h"

#include <algorithm>
#include <cstdint>

#include "core/texts.h"

namespace velmok {

int SleepSlices(int ms) {
  if (ms < 0) ms = 0;
  int s = ms / ProgressServices::kSliceMs;
  const int rest = ms % ProgressServices::kSliceMs;
  if (rest * 2 > ProgressServices::kSliceMs || (rest * 2 == ProgressServices::kSliceMs && s % 2 == 1)) ++s;
  return s + 1;
}

int ProgressServices::DoEventsEx() {
  int result = 0;
  if (cancelRequested_) {
    display_.AppendStatus("\r\n" + std::string(texts::kRunStopRequested) + "\r\n");
    result = 1;
  }
  pump_.PumpPending();
  return result;
}

int ProgressServices::SleepEx(int ms) {
  const int slices = SleepSlices(ms);
  // The slices keep to a schedule from the start, so that the time taken by handling the events
  // and by waking late does not add up over a long pause.
  const std::int64_t start = clock_.SteadyMs();
  for (int k = 0; k < slices; ++k) {
    if (DoEventsEx() == 1) return 1;
    // A stop pressed while the events were handled is reported at the next check at once, not
    // after the slice: the stop takes effect within one slice.
    const std::int64_t left = start + static_cast<std::int64_t>(k + 1) * kSliceMs - clock_.SteadyMs();
    if (left > 0) SliceSleep(static_cast<int>(std::min<std::int64_t>(left, kSliceMs)));
  }
  return 0;
}

void ProgressServices::SliceSleep(int ms) {
  if (!cancelRequested_) pump_.SleepUnlessStopWaits(ms);
}

void ProgressServices::AddStatusText(std::string_view text) {
  display_.AppendStatus(text);
  pump_.PumpPending();
}

}  // namespace velmok
