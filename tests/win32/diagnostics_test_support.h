#pragma once
// Shared by the tests of the diagnostics under Wine: registry values set for one test, the about
// box over the real services, and a window standing in for the main window.

#include <windows.h>

#include <optional>
#include <string>

#include "diagnostics/win32/frm_about.h"
#include "diagnostics/win32/program_version.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/program_launcher_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/wide.h"

namespace velmok::testing {

// A REG_SZ value set (or, given nullopt, removed) for the lifetime of the object, removed after.
class ScopedRegistryValue {
 public:
  ScopedRegistryValue(HKEY root, std::wstring key, std::wstring name, const std::optional<std::wstring>& text)
      : root_(root), key_(std::move(key)), name_(std::move(name)) {
    Remove();
    if (!text) return;
    HKEY k = nullptr;
    if (RegCreateKeyExW(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
      return;
    RegSetValueExW(k, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                   static_cast<DWORD>((text->size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
  }
  ScopedRegistryValue(const ScopedRegistryValue&) = delete;
  ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;
  ~ScopedRegistryValue() { Remove(); }

 private:
  void Remove() { RegDeleteKeyValueW(root_, key_.c_str(), name_.c_str()); }
  HKEY root_;
  std::wstring key_, name_;
};

// The about box over the real shell, registry, file system and launcher, showing the version of
// this program's own version resource.
struct AboutBoxWorld {
  win32::Win32Shell shell;
  ShellServices shellServices{shell, reinterpret_cast<platform::WindowId>(GetDesktopWindow()), "C:\\"};
  win32::Win32Registry registry;
  win32::Win32FileSystem files;
  win32::Win32ProgramLauncher launcher;
  win32::FrmAbout about{GetModuleHandleW(nullptr),
                        {shellServices, "https://www.velmok.example.com/", registry, files, launcher,
                         win32::ReadProgramVersion(GetModuleHandleW(nullptr)).value_or(ProgramVersion{})}};
};

// A visible, enabled top-level window of this thread, as the main window is.
inline win32::ScopedWindow MainWindowStandIn() {
  return win32::ScopedWindow(CreateWindowExW(0, L"STATIC", L"frmMain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                             200, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace velmok::testing
