#pragma once

namespace velmok::platform {

// Tells whether another copy of this program is already running.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // Claims the program's single-instance token; false when another instance holds it.
  virtual bool TryAcquire() = 0;
};

}  // namespace velmok::platform
