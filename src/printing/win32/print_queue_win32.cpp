#include "printing/win32/print_queue_win32.h"

#include <winspool.h>

#include <vector>

namespace velmok::win32 {

bool Win32PrintQueue::HasDefaultPrinter() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return false;
  std::wstring name(size, L'\0');
  if (!GetDefaultPrinterW(name.data(), &size)) return false;
  printer_ = name.c_str();
  return true;
}

void Win32PrintQueue::Open() {
  Close();
  if (!OpenPrinterW(printer_.data(), &handle_, nullptr)) handle_ = nullptr;
}

std::uint32_t Win32PrintQueue::QueryBytesNeeded() {
  DWORD needed = 0;
  DWORD returned = 0;
  EnumJobsW(handle_, 0, 0xFFFFFFFF, 1, nullptr, 0, &needed, &returned);
  return needed;
}

std::uint32_t Win32PrintQueue::Enumerate(std::uint32_t bytes) {
  std::vector<BYTE> buffer(bytes);
  DWORD needed = 0;
  DWORD returned = 0;
  if (!EnumJobsW(handle_, 0, 0xFFFFFFFF, 1, buffer.data(), bytes, &needed, &returned)) return 0;
  return returned;
}

void Win32PrintQueue::Close() {
  if (handle_) ClosePrinter(handle_);
  handle_ = nullptr;
}

}  // namespace velmok::win32
