#pragma once

#include <string>

#include "platform/log_file.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

// The log file, written in the system's ANSI code page with CR LF line ends. A character the
// code page lacks is written as '?', never as a look-alike that would name another file.
class Win32LogFile final : public platform::LogFile {
 public:
  explicit Win32LogFile(std::wstring path, AnsiEncoding encoding = SystemAnsiEncoding())
      : path_(std::move(path)), encoding_(encoding) {}
  bool AppendLine(std::string_view line) override;
  std::optional<platform::LocalDate> CreationDate() override;
  void SetCreationTime(const platform::LocalDateTime& when) override;
  void Delete() override;

  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  AnsiEncoding encoding_;
};

// "<program folder>\<program name>.log"
std::wstring DefaultLogFilePath();

}  // namespace velmok::win32
