#pragma once

namespace velmok::platform {

// Lets the window events that are waiting be handled (once), as a long operation must now and
// then.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void PumpPending() = 0;
  // Sleeps `ms` as a plain sleep does, handling no event; only a press of the emergency stop,
  // waiting to be handled, ends it early, so that the stop is seen at the next event check.
  virtual void SleepUnlessStopWaits(int ms) = 0;
};

}  // namespace velmok::platform
