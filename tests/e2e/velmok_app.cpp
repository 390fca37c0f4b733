#include "e2e/velmok_app.h"

#include <cstdlib>

namespace velmok::testing {

namespace {

bool PlayingWindows7() {
  const wchar_t* value = _wgetenv(L"VELMOK_TEST_WINDOWS7");
  return value && std::wstring(value) == L"1";
}

}  // namespace

VelmokApp::VelmokApp(const std::wstring& folder, const std::wstring& exeName)
    : folder_(folder), exe_(folder + L"\\" + exeName) {
  const std::wstring build = exeName == L"VELMOK.exe" && PlayingWindows7() ? L"VELMOK_queuetest.exe" : exeName;
  CopyFileW((BinDir() + L"\\" + build).c_str(), exe_.c_str(), FALSE);
}

VelmokApp::~VelmokApp() { process_.Kill(); }

void VelmokApp::Start(const std::wstring& args, const std::map<std::wstring, std::wstring>& env) {
  process_ = Process::Launch(exe_, args, env, folder_);
}

HWND VelmokApp::WaitMainWindow(Millis timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopLevelWindowsOf(process_.Id())) {
          wchar_t cls[64] = {};
          GetClassNameW(w, cls, 64);
          if (std::wstring(cls) == kMainWindowClass && IsWindowVisible(w)) {
            found = w;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

bool VelmokApp::Close(Millis timeout) {
  for (HWND w : TopLevelWindowsOf(process_.Id())) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    if (std::wstring(cls) == kMainWindowClass) PostMessageW(w, WM_CLOSE, 0, 0);
  }
  return process_.WaitExit(timeout);
}

void ClearVelmokSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ベルモック"); }

}  // namespace velmok::testing
