#pragma once

#include <windows.h>

#include <string>

#include "printing/print_queue.h"

namespace velmok::win32 {

// The default printer's queue through the spooler (OpenPrinter, EnumJobs at level 1).
class Win32PrintQueue final : public PrintQueue {
 public:
  ~Win32PrintQueue() override { Close(); }
  bool HasDefaultPrinter() override;
  void Open() override;
  std::uint32_t QueryBytesNeeded() override;
  std::uint32_t Enumerate(std::uint32_t bytes) override;
  void Close() override;

 private:
  std::wstring printer_;
  HANDLE handle_ = nullptr;
};

}  // namespace velmok::win32
