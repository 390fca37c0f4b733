#pragma once
// A print run left alone overnight holds the session while it is under way: the machine stays
// awake, and every window of the program that the session asks whether it may end refuses, each
// with the same reason. Before the run and after it (its report, the closing message) nothing is
// held, so that a log-off or an update's restart can go ahead.

#include <vector>

#include "platform/session_duties.h"

namespace velmok {

class RunSessionHold {
 public:
  explicit RunSessionHold(platform::SessionDuties& duties) : duties_(duties) {}
  ~RunSessionHold() { Release(); }
  RunSessionHold(const RunSessionHold&) = delete;
  RunSessionHold& operator=(const RunSessionHold&) = delete;

  // A window that the session asks; while the hold lasts it carries the reason.
  void AddWindow(platform::WindowId window);
  void RemoveWindow(platform::WindowId window);

  // From the moment a run is about to start until it has ended. Holding twice holds once.
  void Hold();
  void Release();
  bool Held() const { return held_; }
  // What every window of the program answers to the session's question: true when it may end.
  bool SessionMayEnd() const { return !held_; }

 private:
  platform::SessionDuties& duties_;
  std::vector<platform::WindowId> windows_;
  bool held_ = false;
};

}  // namespace velmok
