// A stand-in for the spooler, placed beside a copy of the program by a test: when anything loads
// it, it leaves "planted-dll-loaded.txt" beside itself. It exports what the spooler's callers
// import, so that a loader that takes it gets as far as running it.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN  // leaves out the spooler's own declarations
#endif
#include <windows.h>

namespace {

void LeaveMarker(HMODULE self) {
  static constexpr wchar_t kMarker[] = L"planted-dll-loaded.txt";
  constexpr DWORD kSize = 4096;
  static wchar_t path[kSize];
  const DWORD n = GetModuleFileNameW(self, path, kSize);
  if (n == 0 || n >= kSize) return;
  DWORD folder = n;
  while (folder > 0 && path[folder - 1] != L'\\') --folder;
  if (folder + sizeof kMarker / sizeof kMarker[0] > kSize) return;
  for (DWORD i = 0; i < sizeof kMarker / sizeof kMarker[0]; ++i) path[folder + i] = kMarker[i];
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI GetDefaultPrinterW(LPWSTR, LPDWORD size) {
  if (size) *size = 0;
  return FALSE;
}
__declspec(dllexport) BOOL WINAPI OpenPrinterW(LPWSTR, LPHANDLE handle, LPVOID) {
  if (handle) *handle = nullptr;
  return FALSE;
}
__declspec(dllexport) BOOL WINAPI EnumJobsW(HANDLE, DWORD, DWORD, DWORD, LPBYTE, DWORD, LPDWORD needed,
                                            LPDWORD returned) {
  if (needed) *needed = 0;
  if (returned) *returned = 0;
  return FALSE;
}
__declspec(dllexport) BOOL WINAPI ClosePrinter(HANDLE) { return TRUE; }

}  // extern "C"
