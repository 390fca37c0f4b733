#pragma once

namespace velmok::platform {

// How the system answered the request for the program's single-instance token.
enum class TokenAnswer {
  Made,          // it did not exist: this copy holds it now
  Exists,        // another copy made it
  AccessDenied,  // it exists, made by a copy this one may not open: one running elevated, or
                 // another user's in the same session
  Failed,        // nothing could be made or opened (out of resources, say)
};

// Whether the answer says that another copy runs: the token exists, whether this copy may open it
// or not. A failure that tells nothing lets the program run rather than refuse.
constexpr bool AnotherInstanceRuns(TokenAnswer answer) {
  return answer == TokenAnswer::Exists || answer == TokenAnswer::AccessDenied;
}

// Tells whether another copy of this program is already running.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // Claims the program's single-instance token; false when another instance holds it.
  virtual bool TryAcquire() = 0;
};

}  // namespace velmok::platform
