#include "platform/win32/file_system_win32.h"

#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

namespace {

std::int64_t Ticks(const FILETIME& t) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

std::uint64_t Size(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

// UTF-16 to UTF-8 into `out`, reusing its storage: one conversion call per name.
void NarrowInto(const wchar_t* text, std::string& out) {
  const int length = static_cast<int>(wcslen(text));
  out.resize(static_cast<std::size_t>(length) * 3);
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), static_cast<int>(out.size()), nullptr,
                                    nullptr);
  out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
}

bool IsDots(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
  if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return L"\\\\?\\" + path;
}

Win32FileSystem::Win32FileSystem() {
  zoneKnown_ = GetTimeZoneInformation(&zone_) != TIME_ZONE_ID_INVALID;
}

platform::PathKind Win32FileSystem::Kind(std::string_view path) {
  if (path.empty()) return platform::PathKind::None;
  const DWORD attributes = GetFileAttributesW(ExtendedPath(Widen(path)).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return platform::PathKind::None;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? platform::PathKind::Folder : platform::PathKind::File;
}

std::string Win32FileSystem::FullPath(std::string_view path) {
  const std::wstring wide = Widen(path);
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return std::string(path);
  std::wstring full(needed, L'\0');
  const DWORD n = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (n == 0 || n >= needed) return std::string(path);
  full.resize(n);
  return Narrow(full);
}

std::optional<platform::FileEntry> Win32FileSystem::DescribeFile(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  const std::wstring wide = Widen(path);
  if (!GetFileAttributesExW(ExtendedPath(wide).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  platform::FileEntry e;
  const auto slash = wide.find_last_of(L"\\/");
  e.name = Narrow(slash == std::wstring::npos ? wide : wide.substr(slash + 1));
  e.size = Size(data.nFileSizeHigh, data.nFileSizeLow);
  e.modifiedUtc = Ticks(data.ftLastWriteTime);
  return e;
}

bool Win32FileSystem::ListFolder(std::string_view folder, std::vector<platform::FileEntry>& files,
                                 std::vector<std::string>& subfolders) {
  std::wstring pattern = Widen(folder);
  if (pattern.empty() || (pattern.back() != L'\\' && pattern.back() != L'/')) pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  ScopedFind find(FindFirstFileExW(ExtendedPath(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return false;
  do {
    if (IsDots(data.cFileName)) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      subfolders.emplace_back();
      NarrowInto(data.cFileName, subfolders.back());
    } else {
      platform::FileEntry e;
      NarrowInto(data.cFileName, e.name);
      e.size = Size(data.nFileSizeHigh, data.nFileSizeLow);
      e.modifiedUtc = Ticks(data.ftLastWriteTime);
      files.push_back(std::move(e));
    }
  } while (FindNextFileW(find.Get(), &data));
  return true;
}

std::optional<platform::FolderId> Win32FileSystem::IdentifyFolder(std::string_view folder) {
  ScopedFile handle(CreateFileW(ExtendedPath(Widen(folder)).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle.Get(), &info)) return std::nullopt;
  return platform::FolderId{info.dwVolumeSerialNumber, Size(info.nFileIndexHigh, info.nFileIndexLow)};
}

std::optional<platform::LocalDateTime> Win32FileSystem::ToLocalTime(std::int64_t utcTicks) {
  FILETIME ft{static_cast<DWORD>(utcTicks & 0xFFFFFFFF), static_cast<DWORD>(static_cast<std::uint64_t>(utcTicks) >> 32)};
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  if (!FileTimeToSystemTime(&ft, &utc)) return std::nullopt;
  if (!SystemTimeToTzSpecificLocalTime(zoneKnown_ ? &zone_ : nullptr, &utc, &local)) return std::nullopt;
  return platform::LocalDateTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond,
                                 0};
}

}  // namespace velmok::win32
