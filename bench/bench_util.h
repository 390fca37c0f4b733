#pragma once
// A small timing harness shared by the benchmarks: the best of several repetitions, reported
// with the ratio to a baseline measured in the same run (never a timed assertion).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>

namespace velmok::bench {

// Milliseconds of the fastest of `repetitions` runs; `prepare` runs untimed before each.
inline double BestMs(int repetitions, const std::function<void()>& prepare, const std::function<void()>& work) {
  double best = std::numeric_limits<double>::max();
  for (int i = 0; i < repetitions; ++i) {
    if (prepare) prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
  }
  return best;
}

// A measure taken in turns with others (see TimeInTurns).
struct Measure {
  std::function<void()> prepare;  // untimed, before each run
  std::function<void()> work;
  double bestMs = std::numeric_limits<double>::max();
};

// Takes the measures in turns, `rounds` times over, each keeping its fastest run: on a machine
// shared with other work a figure and its baseline then meet the same spells of load.
inline void TimeInTurns(int rounds, const std::initializer_list<Measure*>& measures) {
  for (int round = 0; round < rounds; ++round)
    for (Measure* m : measures) m->bestMs = std::min(m->bestMs, BestMs(1, m->prepare, m->work));
}

inline void Report(const std::string& name, double ms, const std::string& baselineName, double baselineMs,
                   const std::string& target) {
  std::printf("%-44s %10.3f ms   baseline %-34s %9.3f ms   ratio %7.2f   target %s\n", name.c_str(), ms,
              baselineName.c_str(), baselineMs, baselineMs > 0 ? ms / baselineMs : 0.0, target.c_str());
  std::fflush(stdout);
}

}  // namespace velmok::bench
