#pragma once
// The progress window's services to the print run: pumping events while watching for the
// emergency stop, pausing in 50 ms slices, and the status text.

#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/event_pump.h"

namespace velmok {

// The status text box and progress bar of the progress window.
class ProgressDisplay {
 public:
  virtual ~ProgressDisplay() = default;
  virtual void AppendStatus(std::string_view text) = 0;  // and puts the caret at the end
  virtual void ReplaceStatus(std::string_view text) = 0;
  virtual void SetProgress(double value) = 0;            // 0 to 100
};

class ProgressServices {
 public:
  static constexpr int kSliceMs = 50;

  ProgressServices(ProgressDisplay& display, platform::EventPump& pump, platform::Clock& clock)
      : display_(display), pump_(pump), clock_(clock) {}

  bool CancelRequested() const { return cancelRequested_; }
  void SetCancelRequested(bool requested) { cancelRequested_ = requested; }

  // 1 when an emergency stop was requested (and the stop text appended), else 0; pending events
  // are handled in both cases.
  int DoEventsEx();
  // Waits about `ms` in 50 ms slices (ms / 50 rounded, ties to even, plus one), handling events;
  // 1 as soon as a stop is noticed, else 0.
  int SleepEx(int ms);
  void AddStatusText(std::string_view text);
  // The plain sleep (50 ms unless told) between two event checks; left out once a stop has been
  // requested, and cut short by a press of the stop button, so that the stop takes effect at once.
  void SliceSleep(int ms = kSliceMs);

  ProgressDisplay& Display() { return display_; }

 private:
  ProgressDisplay& display_;
  platform::EventPump& pump_;
  platform::Clock& clock_;
  bool cancelRequested_ = false;
};

// The number of 50 ms slices SleepEx makes for `ms`: 21 for 1000, 3 for 75, 1 for 25.
int SleepSlices(int ms);

}  // namespace velmok
