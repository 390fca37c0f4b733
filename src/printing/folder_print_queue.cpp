#include "printing/folder_print_queue.h"

namespace velmok {

std::uint32_t FolderPrintQueue::CountJobs() const {
  std::error_code error;
  std::uint32_t jobs = 0;
  for (auto it = std::filesystem::directory_iterator(folder_, error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (it->is_regular_file(error)) ++jobs;
  }
  return jobs;
}

std::uint32_t FolderPrintQueue::Enumerate(std::uint32_t bytes) {
  const std::uint32_t jobs = CountJobs();
  // As the spooler does: a queue that grew past the buffer fills nothing.
  return jobs * kRecordBytes > bytes ? 0 : jobs;
}

}  // namespace velmok
