#include "printing/progress_services.h"

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
  for (int k = 0; k < slices; ++k) {
    if (DoEventsEx() == 1) return 1;
    // A stop pressed while the events were handled is reported at the next check at once, not
    // after the slice: the stop takes effect within one slice.
    if (!cancelRequested_) clock_.Sleep(kSliceMs);
  }
  return 0;
}

void ProgressServices::AddStatusText(std::string_view text) {
  display_.AppendStatus(text);
  pump_.PumpPending();
}

}  // namespace velmok
