#pragma once
// Local date and time, and plain sleeping.

#include <cstdint>

namespace velmok::platform {

struct LocalDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const LocalDate&, const LocalDate&) = default;
};

struct LocalDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  // Fraction of the current second in units of 100 ns (0 to 9,999,999).
  std::int32_t fraction100ns = 0;

  LocalDate Date() const { return {year, month, day}; }
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
  // Plain sleep: no window events are processed meanwhile.
  virtual void Sleep(int milliseconds) = 0;
  // Milliseconds on a steady clock from an arbitrary start, for spacing slices of time.
  virtual std::int64_t SteadyMs() = 0;
};

}  // namespace velmok::platform
