#pragma once

#include <string>

#include "platform/log_file.h"

namespace velmok::win32 {

// The log file, written in the system's ANSI code page with CR LF line ends.
class Win32LogFile final : public platform::LogFile {
 public:
  explicit Win32LogFile(std::wstring path) : path_(std::move(path)) {}
  void AppendLine(std::string_view line) override;
  std::optional<platform::LocalDate> CreationDate() override;
  void Delete() override;

  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

// "<program folder>\<program name>.log"
std::wstring DefaultLogFilePath();

}  // namespace velmok::win32
