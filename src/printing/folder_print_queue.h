#pragma once
// A print queue kept as files in a folder: one file per waiting job. A test build of the program
// counts its queue here, since Wine's spooler always reports an empty one.

#include <filesystem>

#include "printing/print_queue.h"

namespace velmok {

class FolderPrintQueue final : public PrintQueue {
 public:
  static constexpr std::uint32_t kRecordBytes = 64;
  explicit FolderPrintQueue(std::filesystem::path folder) : folder_(std::move(folder)) {}

  bool HasDefaultPrinter() override { return true; }
  void Open() override {}
  std::uint32_t QueryBytesNeeded() override { return CountJobs() * kRecordBytes; }
  std::uint32_t Enumerate(std::uint32_t bytes) override;
  void Close() override {}

 private:
  std::uint32_t CountJobs() const;
  std::filesystem::path folder_;
};

}  // namespace velmok
