#include "platform/win32/log_file_win32.h"

#include <windows.h>

#include "platform/win32/scoped.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

bool Win32LogFile::AppendLine(std::string_view line) {
  ScopedFile file(CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
  std::string bytes = ToAnsi(line, encoding_);
  bytes += "\r\n";
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return created;
}

void Win32LogFile::SetCreationTime(const platform::LocalDateTime& when) {
  SYSTEMTIME local{};
  local.wYear = static_cast<WORD>(when.year);
  local.wMonth = static_cast<WORD>(when.month);
  local.wDay = static_cast<WORD>(when.day);
  local.wHour = static_cast<WORD>(when.hour);
  local.wMinute = static_cast<WORD>(when.minute);
  local.wSecond = static_cast<WORD>(when.second);
  local.wMilliseconds = static_cast<WORD>(when.fraction100ns / 10000 % 1000);
  SYSTEMTIME utc{};
  FILETIME time{};
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !SystemTimeToFileTime(&utc, &time)) return;
  ScopedFile file(CreateFileW(path_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  SetFileTime(file.Get(), &time, nullptr, nullptr);
}

std::optional<platform::LocalDate> Win32LogFile::CreationDate() {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  if (!FileTimeToSystemTime(&data.ftCreationTime, &utc) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
    return std::nullopt;
  return platform::LocalDate{local.wYear, local.wMonth, local.wDay};
}

void Win32LogFile::Delete() { DeleteFileW(path_.c_str()); }

std::wstring DefaultLogFilePath() { return ProgramFolder() + L"\\" + ProgramBaseName() + L".log"; }

}  // namespace velmok::win32
