#include "clw4sim/journal_file_win32.h"

#include <windows.h>

#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace clw4sim {

using velmok::win32::ScopedFile;
using velmok::win32::Widen;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteAll(HANDLE file, std::string_view bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

bool AppendLine(const std::string& path, std::string_view line) {
  if (path.empty()) return false;
  // Another process may hold the file for a moment (a test reading it): try a few times.
  for (int attempt = 0; attempt < 20; ++attempt) {
    ScopedFile file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      Sleep(5);
      continue;
    }
    std::string bytes(line);
    bytes += "\r\n";
    return WriteAll(file.Get(), bytes);
  }
  return false;
}

bool TouchFile(const std::string& path) {
  ScopedFile file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

std::string WriteUniqueFile(const std::string& folder, std::string_view prefix, std::string_view extension,
                            std::string_view content) {
  const std::string base = folder + (folder.empty() || folder.back() == '\\' ? "" : "\\") + std::string(prefix) +
                           std::to_string(GetTickCount64()) + "-" + std::to_string(GetCurrentProcessId());
  for (int n = 1; n < 10000; ++n) {
    const std::string path = base + "-" + std::to_string(n) + std::string(extension);
    ScopedFile file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return {};
    }
    return WriteAll(file.Get(), content) ? path : std::string();
  }
  return {};
}

KeyJournal::KeyJournal(std::string path) : path_(std::move(path)), started_(GetTickCount64()) {}

void KeyJournal::Record(KeyStatus status, const KeyEvent& event, std::string_view window, std::string_view note) {
  KeyRecord record;
  record.sequence = ++sequence_;
  record.millis = GetTickCount64() - started_;
  record.status = status;
  record.event = event;
  record.window = std::string(window);
  record.note = std::string(note);
  AppendLine(path_, FormatKeyRecord(record));
}

EventLog::EventLog(std::string path) : path_(std::move(path)), started_(GetTickCount64()) {}

void EventLog::Write(std::string_view text) {
  if (path_.empty()) return;
  AppendLine(path_, std::to_string(GetTickCount64() - started_) + " [" + std::to_string(GetCurrentProcessId()) +
                        "] " + std::string(text));
}

}  // namespace clw4sim
