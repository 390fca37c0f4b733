#include "platform/win32/file_system_win32.h"

#include <winternl.h>

#include "platform/path_forms.h"
#include "platform/utf8.h"
#include "platform/win32/newer_windows.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

namespace {

std::int64_t Ticks(const FILETIME& t) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

std::uint64_t Size(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

// A name as the directory gives it (not terminated) to UTF-8 into `out`, reusing its storage.
void NarrowInto(const wchar_t* name, std::size_t length, std::string& out) {
  Utf16ToUtf8Into(std::u16string_view(reinterpret_cast<const char16_t*>(name), length), out);
}

// What an error of a folder's listing says about the folder.
platform::ListOutcome OutcomeOf(DWORD error) {
  switch (error) {
    case ERROR_NO_MORE_FILES:
    case ERROR_FILE_NOT_FOUND:  // no entry at all, not even "." (a drive's empty root folder)
      return platform::ListOutcome::Complete;
    case ERROR_REM_NOT_LIST:
    case ERROR_BAD_NETPATH:
    case ERROR_NETWORK_BUSY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NET_RESP:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETNAME_DELETED:
    case ERROR_BAD_NET_NAME:
    case ERROR_SEM_TIMEOUT:
    case ERROR_VC_DISCONNECTED:
    case ERROR_NO_NET_OR_BAD_PATH:
    case ERROR_CONNECTION_REFUSED:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
    case ERROR_CONNECTION_ABORTED:
    case ERROR_NOT_CONNECTED:
      return platform::ListOutcome::NetworkLost;
    default:
      // Access refused, a disk error, and also a folder that was there a moment ago when its
      // parent was listed: gone since, or named so that Windows' path rules cannot reach it (a
      // trailing dot or a '?', as other systems' clients leave them on a server).
      return platform::ListOutcome::Unreadable;
  }
}

bool IsDots(const wchar_t* name, std::size_t length) {
  return (length == 1 && name[0] == L'.') || (length == 2 && name[0] == L'.' && name[1] == L'.');
}

// An absolute path in the form the file functions take exactly as it stands: a folder the walk
// built from a name that ends in a dot or a blank is that folder, not its namesake without them.
std::wstring ExactPath(std::string_view path) {
  std::string_view p = path;
  // A drive alone ("C:") would be its current folder: its root folder is meant.
  const std::string root = p.size() == 2 && p[1] == ':' ? std::string(p) + "\\" : std::string();
  if (!root.empty()) p = root;
  const std::string exact = platform::VerbatimForm(p);
  return exact.size() != p.size() ? Widen(exact) : ExtendedPath(Widen(p));
}

// The folder's index on its volume, from a handle open on it (the cheapest question there is).
std::optional<std::uint64_t> IndexOf(HANDLE handle) {
  using QueryInformationFile = LONG(WINAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, ULONG);
  static const auto query = reinterpret_cast<QueryInformationFile>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
  constexpr ULONG kFileInternalInformation = 6;
  LARGE_INTEGER index{};
  IO_STATUS_BLOCK status{};
  if (query && query(handle, &status, &index, sizeof index, kFileInternalInformation) >= 0) {
    // Some file systems of servers answer 0 for every file: no identity at all.
    if (index.QuadPart == 0) return std::nullopt;
    return static_cast<std::uint64_t>(index.QuadPart);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
  const std::uint64_t fallback = Size(info.nFileIndexHigh, info.nFileIndexLow);
  if (fallback == 0) return std::nullopt;
  return fallback;
}

// The long form of a path whose names may be short (8.3) ones; the path itself when it has none.
std::string LongForm(const std::string& path) {
  // The plain form where it serves (Wine takes a "\\?\" path for long already).
  const std::wstring exact = path.size() < MAX_PATH && platform::IsOrdinaryPath(path) ? Widen(path) : ExactPath(path);
  const DWORD needed = GetLongPathNameW(exact.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::wstring long_(needed, L'\0');
  const DWORD n = GetLongPathNameW(exact.c_str(), long_.data(), needed);
  if (n == 0 || n >= needed) return path;
  long_.resize(n);
  return platform::WithoutVerbatimPrefix(Narrow(long_));
}

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
  if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0) return path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return L"\\\\?\\" + path;
}

Win32FileSystem::Win32FileSystem() : offsets_(kOffsetsKept), directory_(kDirectoryBatch / sizeof(std::uint64_t)) {
  zoneKnown_ = GetTimeZoneInformation(&zone_) != TIME_ZONE_ID_INVALID;
}

Win32FileSystem::Win32FileSystem(const TIME_ZONE_INFORMATION& zone)
    : zone_(zone), zoneKnown_(true), offsets_(kOffsetsKept), directory_(kDirectoryBatch / sizeof(std::uint64_t)) {}

std::size_t Win32FileSystem::OffsetsKept() const {
  std::size_t kept = 0;
  for (const Offset& o : offsets_) kept += o.quarter >= 0 ? 1 : 0;
  return kept;
}

platform::PathKind Win32FileSystem::Kind(std::string_view path) {
  if (path.empty()) return platform::PathKind::None;
  const DWORD attributes = GetFileAttributesW(ExactPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return platform::PathKind::None;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? platform::PathKind::Folder : platform::PathKind::File;
}

std::string Win32FileSystem::FullPath(std::string_view path) {
  std::string full = platform::WithoutVerbatimPrefix(path);
  // An absolute path that the rules leave as it stands needs no asking (a file list of 100,000
  // names is mostly such paths).
  if (!platform::IsVerbatim(full) && !platform::IsOrdinaryPath(full)) {
    // Windows' rules resolve it: relative parts, "/", the dots and blanks at the ends of names.
    const std::wstring wide = Widen(full);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed != 0) {
      std::wstring resolved(needed, L'\0');
      const DWORD n = GetFullPathNameW(wide.c_str(), needed, resolved.data(), nullptr);
      if (n != 0 && n < needed) {
        resolved.resize(n);
        full = Narrow(resolved);
      }
    }
  }
  // Generated short names hold a '~': only such a path may name its file otherwise (asking costs
  // a look at every folder on the way).
  if (full.find('~') != std::string::npos) full = LongForm(full);
  return full;
}

platform::FileSystem::Description Win32FileSystem::Describe(std::string_view path) {
  Description d;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(ExactPath(path).c_str(), GetFileExInfoStandard, &data)) return d;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    d.kind = platform::PathKind::Folder;
    return d;
  }
  d.kind = platform::PathKind::File;
  const auto slash = path.find_last_of("\\/");
  d.file.name = std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
  d.file.size = Size(data.nFileSizeHigh, data.nFileSizeLow);
  d.file.modifiedUtc = Ticks(data.ftLastWriteTime);
  return d;
}

namespace {

// The entries of one batch of a folder's listing, in either information class: FILE_FULL_DIR_INFO
// (Windows 8) or FILE_ID_BOTH_DIR_INFO (Windows 7), which begin alike.
template <typename Info>
void TakeEntries(const void* batch, platform::FolderListing& listing, unsigned& entries) {
  const auto* at = static_cast<const unsigned char*>(batch);
  for (;;) {
    const auto& info = *reinterpret_cast<const Info*>(at);
    const std::size_t length = info.FileNameLength / sizeof(wchar_t);
    if (listing.progress && ++entries % 64 == 0) listing.progress();
    if (!IsDots(info.FileName, length)) {
      if (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        listing.subfolders.emplace_back();
        NarrowInto(info.FileName, length, listing.subfolders.back().name);
        listing.subfolders.back().link = (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      } else {
        platform::FileEntry& e = listing.files.emplace_back();
        NarrowInto(info.FileName, length, e.name);
        e.size = static_cast<std::uint64_t>(info.EndOfFile.QuadPart);
        e.modifiedUtc = info.LastWriteTime.QuadPart;
      }
    }
    if (info.NextEntryOffset == 0) break;
    at += info.NextEntryOffset;
  }
}

}  // namespace

// One handle on the folder and its entries in large batches (GetFileInformationByHandleEx): the
// fewest calls per entry there are.
platform::ListOutcome Win32FileSystem::ListFolder(std::string_view folder, platform::FolderListing& listing) {
  listing.Clear();
  ScopedFile handle(CreateFileW(ExactPath(folder).c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) {
    // A folder that is not there (any longer) cannot be read; no entry at all is told otherwise.
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? platform::ListOutcome::Unreadable : OutcomeOf(error);
  }
  listing.index = IndexOf(handle.Get());
  const auto bytes = static_cast<DWORD>(directory_.size() * sizeof directory_[0]);
  NewerWindows& system = RunningWindows();
  bool full = system.ListsFullDirectoryInfo();
  bool restart = true;
  unsigned entries = 0;
  for (;;) {
    const FILE_INFO_BY_HANDLE_CLASS batch = full ? system.FullDirectoryInfoClass(restart)
                                           : restart ? FileIdBothDirectoryRestartInfo
                                                     : FileIdBothDirectoryInfo;
    if (!GetFileInformationByHandleEx(handle.Get(), batch, directory_.data(), bytes)) {
      // A system before Windows 8 refuses the newer class itself: from now on, the older one.
      if (full && restart && GetLastError() == ERROR_INVALID_PARAMETER) {
        system.FullDirectoryInfoRefused();
        full = false;
        continue;
      }
      break;
    }
    restart = false;
    if (full)
      TakeEntries<FILE_FULL_DIR_INFO>(directory_.data(), listing, entries);
    else
      TakeEntries<FILE_ID_BOTH_DIR_INFO>(directory_.data(), listing, entries);
  }
  return OutcomeOf(GetLastError());
}

// A folder's identity: its volume and its index on that volume (for a link, its target's). The
// index is cheap to ask for; the volume's serial number is not (under Wine it costs as much as
// listing the folder), so a folder that is no link takes the volume it is known to lie on.
std::optional<platform::FolderId> Win32FileSystem::IdentifyFolder(std::string_view folder,
                                                                  std::optional<std::uint64_t> knownVolume) {
  const std::wstring path = ExactPath(folder);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  ScopedFile handle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  const auto index = IndexOf(handle.Get());
  if (!index) return std::nullopt;
  platform::FolderId id;
  id.index = *index;
  if (knownVolume && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    id.volume = *knownVolume;
  } else {
    DWORD serial = 0;
    if (!GetVolumeInformationByHandleW(handle.Get(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
      return std::nullopt;
    id.volume = serial;
  }
  return id;
}

std::optional<platform::LocalDateTime> Win32FileSystem::ToLocalTime(std::int64_t utcTicks) {
  constexpr std::int64_t kQuarterHour = 15LL * 60 * 10'000'000;
  if (utcTicks < 0) return std::nullopt;
  const std::int64_t quarter = utcTicks / kQuarterHour;
  Offset& slot = offsets_[static_cast<std::size_t>(quarter) % offsets_.size()];
  if (slot.quarter != quarter) {
    const std::int64_t start = quarter * kQuarterHour;
    FILETIME ft{static_cast<DWORD>(start & 0xFFFFFFFF), static_cast<DWORD>(static_cast<std::uint64_t>(start) >> 32)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FILETIME localFt{};
    if (!FileTimeToSystemTime(&ft, &utc) ||
        !SystemTimeToTzSpecificLocalTime(zoneKnown_ ? &zone_ : nullptr, &utc, &local) ||
        !SystemTimeToFileTime(&local, &localFt))
      return std::nullopt;
    slot = {quarter, Ticks(localFt) - start};
  }
  const std::int64_t localTicks = utcTicks + slot.ticks;
  if (localTicks < 0) return std::nullopt;
  FILETIME ft{static_cast<DWORD>(localTicks & 0xFFFFFFFF), static_cast<DWORD>(static_cast<std::uint64_t>(localTicks) >> 32)};
  SYSTEMTIME t{};
  if (!FileTimeToSystemTime(&ft, &t)) return std::nullopt;
  return platform::LocalDateTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, 0};
}

}  // namespace velmok::win32
