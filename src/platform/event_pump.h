#pragma once

namespace velmok::platform {

// Lets the window events that are waiting be handled (once), as a long operation must now and
// then.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void PumpPending() = 0;
};

}  // namespace velmok::platform
