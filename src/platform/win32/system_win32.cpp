#include "platform/win32/system_win32.h"

#include <vector>

#include "platform/win32/newer_windows.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

platform::LocalDateTime Win32Clock::Now() {
  const FILETIME utc = RunningWindows().SystemTimeNow();
  FILETIME local{};
  FileTimeToLocalFileTime(&utc, &local);
  SYSTEMTIME t{};
  FileTimeToSystemTime(&local, &t);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = local.dwLowDateTime;
  ticks.HighPart = local.dwHighDateTime;
  platform::LocalDateTime now;
  now.year = t.wYear;
  now.month = t.wMonth;
  now.day = t.wDay;
  now.hour = t.wHour;
  now.minute = t.wMinute;
  now.second = t.wSecond;
  now.fraction100ns = static_cast<std::int32_t>(ticks.QuadPart % 10'000'000ULL);
  return now;
}

void Win32Clock::Sleep(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }

std::int64_t Win32Clock::SteadyMs() { return static_cast<std::int64_t>(GetTickCount64()); }

void Win32DebuggerOutput::Write(std::string_view text) { OutputDebugStringW(Widen(text).c_str()); }

void Win32MessageBoxes::ShowOk(std::string_view text, Icon icon) {
  UINT style = MB_OK;
  if (icon == Icon::Information) style |= MB_ICONINFORMATION;
  if (icon == Icon::Exclamation) style |= MB_ICONEXCLAMATION;
  MessageBoxW(owner_, Widen(text).c_str(), Widen(title_).c_str(), style);
}

bool Win32InstanceLock::TryAcquire() {
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, name_.c_str());
  const DWORD error = GetLastError();
  mutex_.Reset(mutex);
  platform::TokenAnswer answer = platform::TokenAnswer::Made;
  if (!mutex)
    answer = error == ERROR_ACCESS_DENIED ? platform::TokenAnswer::AccessDenied : platform::TokenAnswer::Failed;
  else if (error == ERROR_ALREADY_EXISTS)
    answer = platform::TokenAnswer::Exists;
  return !platform::AnotherInstanceRuns(answer);
}

namespace {

std::wstring ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::wstring ProgramFolder() {
  const std::wstring path = ModulePath();
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring ProgramBaseName() {
  std::wstring name = ModulePath();
  const auto slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const auto dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

bool RunningUnderWine() {
  static const bool wine = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

std::wstring SystemFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  return std::wstring(buffer, n < MAX_PATH ? n : 0);
}

}  // namespace velmok::win32
