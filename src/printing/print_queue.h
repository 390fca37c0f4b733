#pragma once
// How full the default printer's job queue is.

#include <cstdint>
#include <string>

namespace velmok {

// The default printer's queue, asked the way the spooler answers: one call for the bytes the job
// records need, a second one that fills them.
class PrintQueue {
 public:
  virtual ~PrintQueue() = default;
  virtual bool HasDefaultPrinter() = 0;
  virtual void Open() = 0;
  // The bytes needed for every job's record; 0 for an empty queue (or when the call fails).
  virtual std::uint32_t QueryBytesNeeded() = 0;
  // Fills a buffer of `bytes`; the number of records written, 0 when it reports none.
  virtual std::uint32_t Enumerate(std::uint32_t bytes) = 0;
  virtual void Close() = 0;
};

// Jobs in the queue minus one; 0 for an empty queue and when there is no default printer at
// all; -1 when the second call reports nothing (the queue grew between the two calls).
int GetWaitingJobCount(PrintQueue& queue);

// The print run holds back the next document while more than this many are waiting.
inline constexpr int kQueueThreshold = 5;

}  // namespace velmok
