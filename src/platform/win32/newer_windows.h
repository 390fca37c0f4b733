#pragma once
// What Windows offers beyond Windows 7 SP1, the oldest system the program runs on. The program
// imports nothing newer: the newer functions it uses are looked up here, at run time, and nowhere
// else, and each has a fallback that does what Windows 7 can. A test hands the program a system
// that lacks any of them.

#include <windows.h>

#include <initializer_list>

namespace velmok::win32 {

// The newer parts of Windows the program uses, with the oldest system that has each.
enum class NewerPart : unsigned {
  WindowDpi,          // GetDpiForWindow, AdjustWindowRectExForDpi, SystemParametersInfoForDpi: Windows 10 1607
  MonitorDpi,         // GetDpiForMonitor: Windows 8.1
  DllSearchFolders,   // SetDefaultDllDirectories, LOAD_LIBRARY_SEARCH_SYSTEM32: Windows 8 (7 only with an update)
  PreciseTime,        // GetSystemTimePreciseAsFileTime: Windows 8
  FullDirectoryInfo,  // GetFileInformationByHandleEx with FileFullDirectoryInfo: Windows 8
};

class NewerWindows {
 public:
  // The running system as it is.
  NewerWindows() = default;
  // The running system as if it lacked the parts `missing`.
  NewerWindows(std::initializer_list<NewerPart> missing);
  // The running system as Windows 7 SP1 without updates: every newer function missing, and the
  // newer listing class refused by the call itself, as Windows 7 refuses it.
  static NewerWindows AsWindows7();

  // Whether the system has the part (for the listing class: as far as it is known yet).
  bool Has(NewerPart part) const;

  // The scaling a window is laid out at: the window's own, else its monitor's, else the system's.
  UINT DpiOf(HWND window) const;
  // The outer rectangle of a window whose client area is `rect`, at `dpi`.
  void AdjustWindowRect(RECT& rect, DWORD style, bool menu, DWORD exStyle, UINT dpi) const;
  // The metrics of captions, menus and messages (their fonts above all) at `dpi`.
  NONCLIENTMETRICSW NonClientMetrics(UINT dpi) const;

  // Keeps the loader from taking a DLL placed in the current folder (with the newer functions, in
  // the program's folder too) for one of the system's. Called before anything loads a library.
  void LimitDllSearch() const;
  // Loads a library of the system folder, never one of the same name elsewhere.
  HMODULE LoadSystemLibrary(const wchar_t* name) const;

  // The time of day in UTC, as precisely as the system keeps it.
  FILETIME SystemTimeNow() const;

  // A folder's listing in FILE_FULL_DIR_INFO entries (Windows 8) or in FILE_ID_BOTH_DIR_INFO
  // entries (Windows 7). A listing asks for the newer class until the system refuses it, then
  // tells so here and takes the Windows 7 class from then on.
  bool ListsFullDirectoryInfo() const { return Has(NewerPart::FullDirectoryInfo); }
  FILE_INFO_BY_HANDLE_CLASS FullDirectoryInfoClass(bool restart) const;
  void FullDirectoryInfoRefused() { fullDirectoryInfoRefused_ = true; }

 private:
  static unsigned Bit(NewerPart part) { return 1u << static_cast<unsigned>(part); }

  unsigned missing_ = 0;
  bool refusesFullDirectoryInfo_ = false;  // a test's system: the call refuses the class
  bool fullDirectoryInfoRefused_ = false;
};

// The system as the program sees it.
NewerWindows& RunningWindows();

// Puts another system in the place of the running one for its lifetime (the test build's Windows 7
// mode, tests).
class ScopedNewerWindows {
 public:
  explicit ScopedNewerWindows(const NewerWindows& system);
  ~ScopedNewerWindows();
  ScopedNewerWindows(const ScopedNewerWindows&) = delete;
  ScopedNewerWindows& operator=(const ScopedNewerWindows&) = delete;

 private:
  NewerWindows system_;
  NewerWindows* previous_;
};

// A function of a loaded module, of the type of its declaration (decltype(&::Function)), so that
// its calling convention is right on x86; null when the module lacks it.
template <typename Function>
Function ProcAddress(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace velmok::win32
