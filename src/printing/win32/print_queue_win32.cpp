#include "printing/win32/print_queue_win32.h"

#include <winspool.h>

#include <vector>

#include "platform/win32/newer_windows.h"

namespace velmok::win32 {

namespace {

// The spooler is loaded from the system folder when first needed, never by the loader's search
// (which would look in the program's folder first).
struct Spooler {
  decltype(&GetDefaultPrinterW) getDefaultPrinter = nullptr;
  decltype(&OpenPrinterW) openPrinter = nullptr;
  decltype(&EnumJobsW) enumJobs = nullptr;
  decltype(&ClosePrinter) closePrinter = nullptr;

  bool Loaded() const { return getDefaultPrinter && openPrinter && enumJobs && closePrinter; }

  static const Spooler& Get() {
    static const Spooler spooler = Load();
    return spooler;
  }

 private:
  template <typename F>
  static void Take(HMODULE module, const char* name, F& out) {
    out = ProcAddress<F>(module, name);
  }

  static Spooler Load() {
    Spooler s;
    HMODULE module = RunningWindows().LoadSystemLibrary(L"winspool.drv");
    if (!module) return s;
    Take(module, "GetDefaultPrinterW", s.getDefaultPrinter);
    Take(module, "OpenPrinterW", s.openPrinter);
    Take(module, "EnumJobsW", s.enumJobs);
    Take(module, "ClosePrinter", s.closePrinter);
    return s;
  }
};

}  // namespace

bool Win32PrintQueue::HasDefaultPrinter() {
  const Spooler& spooler = Spooler::Get();
  if (!spooler.Loaded()) return false;
  DWORD size = 0;
  spooler.getDefaultPrinter(nullptr, &size);
  if (size == 0) return false;
  std::wstring name(size, L'\0');
  if (!spooler.getDefaultPrinter(name.data(), &size)) return false;
  printer_ = name.c_str();
  return true;
}

void Win32PrintQueue::Open() {
  Close();
  const Spooler& spooler = Spooler::Get();
  if (!spooler.Loaded() || !spooler.openPrinter(printer_.data(), &handle_, nullptr)) handle_ = nullptr;
}

std::uint32_t Win32PrintQueue::QueryBytesNeeded() {
  DWORD needed = 0;
  DWORD returned = 0;
  if (!handle_) return 0;
  Spooler::Get().enumJobs(handle_, 0, 0xFFFFFFFF, 1, nullptr, 0, &needed, &returned);
  return needed;
}

std::uint32_t Win32PrintQueue::Enumerate(std::uint32_t bytes) {
  std::vector<BYTE> buffer(bytes);
  DWORD needed = 0;
  DWORD returned = 0;
  if (!handle_ || !Spooler::Get().enumJobs(handle_, 0, 0xFFFFFFFF, 1, buffer.data(), bytes, &needed, &returned))
    return 0;
  return returned;
}

void Win32PrintQueue::Close() {
  if (handle_) Spooler::Get().closePrinter(handle_);
  handle_ = nullptr;
}

}  // namespace velmok::win32
