// The installer as an office would use it: a silent per-user install, the installed program
// started through its desktop shortcut with a folder (as a folder dropped on the shortcut
// arrives), and the uninstall, which leaves the log, the settings and the ".cwj" association.
// The installer users get is a 32-bit program, which this machine cannot run; its twin, the same
// script built as a 64-bit program, is installed here, in a 64-bit Windows, where it must choose
// the 64-bit program of the two it carries.

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "e2e/velmok_app.h"
#include "support/win32_test_support.h"

namespace velmok::testing {
namespace {

std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::wstring> RegText(HKEY root, const std::wstring& key, const wchar_t* value) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(data);
}

TEST(InstallerE2E, InstallRunThroughTheShortcutAndUninstall) {
  KillProcessesNamed(L"VELMOK.exe");
  ClearVelmokSettings();
  ASSERT_TRUE(Exists(BinDir() + L"\\VELMOK-2.0.49-setup.exe")) << "the build makes the installer";
  const std::wstring setup = BinDir() + L"\\..\\installer-test\\VELMOK-2.0.49-setup-amd64.exe";
  ASSERT_TRUE(Exists(setup)) << "the build makes the installer's twin";
  const auto associationBefore = RegText(HKEY_CLASSES_ROOT, L".cwj", nullptr);

  TempDir dir;
  const std::wstring target = dir / L"ベルモック";
  Process install = Process::Launch(setup, L"/S /D=" + target);
  ASSERT_TRUE(install.WaitExit(60s));
  EXPECT_EQ(install.ExitCode(), 0u);
  EXPECT_TRUE(Exists(target + L"\\VELMOK.exe"));
  EXPECT_TRUE(ReadTextFile(target + L"\\VELMOK.exe") == ReadTextFile(BinDir() + L"\\VELMOK.exe"))
      << "the 64-bit program on a 64-bit Windows";
  EXPECT_TRUE(Exists(target + L"\\uninstall.exe"));
  const std::wstring desktopLink = KnownFolder(CSIDL_DESKTOPDIRECTORY) + L"\\ベルモック.lnk";
  const std::wstring menuLink = KnownFolder(CSIDL_PROGRAMS) + L"\\ベルモック\\ベルモック.lnk";
  EXPECT_TRUE(Exists(desktopLink));
  EXPECT_TRUE(Exists(menuLink));
  const std::wstring uninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VELMOK";
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, uninstallKey, L"DisplayVersion").value_or(L""), L"2.0.49");
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, L".cwj", nullptr), associationBefore) << "the association is left alone";

  // With logging on, so that the program leaves a log beside itself.
  HKEY general = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\ベルモック\\General", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &general,
                  nullptr);
  RegSetValueExW(general, L"Debuglevel", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1"), 4);
  RegCloseKey(general);

  const std::wstring docs = dir / L"書類";
  MakeFolder(docs);
  WriteTextFile(docs + L"\\見積.cwj", "doc");
  WriteTextFile(docs + L"\\請求.cwj", "doc");
  const std::wstring arguments = L"\"" + docs + L"\"";
  ASSERT_GT(reinterpret_cast<INT_PTR>(
                ShellExecuteW(nullptr, L"open", desktopLink.c_str(), arguments.c_str(), nullptr, SW_SHOWNORMAL)),
            32);
  HWND main = WaitForTopLevel(kMainWindowClass, L"", 30s);
  ASSERT_TRUE(main);
  HWND status = ChildByClass(main, L"msctls_statusbar32");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(status) == L"2 個のファイルをリストに追加しました。"; }, 20s))
      << U8(WindowText(status));
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitForNoTopLevel(kMainWindowClass, L"", 15s));
  KillProcessesNamed(L"VELMOK.exe");
  EXPECT_TRUE(Exists(target + L"\\VELMOK.log"));

  Process uninstall = Process::Launch(target + L"\\uninstall.exe", L"/S");
  ASSERT_TRUE(uninstall.WaitExit(60s));
  // The uninstaller carries on from a copy of itself, deleting the links and files first and the
  // registry keys last: its work is done when all of it is gone and the copy has ended.
  EXPECT_TRUE(WaitUntil(
      [&] {
        return !Exists(target + L"\\VELMOK.exe") && !Exists(target + L"\\uninstall.exe") && !Exists(desktopLink) &&
               !Exists(menuLink) && !RegText(HKEY_CURRENT_USER, uninstallKey, L"DisplayVersion").has_value() &&
               !AnyProcessNamed(L"Au_.exe") && !AnyProcessNamed(L"Un_A.exe");
      },
      90s))
      << "the uninstaller did not finish";
  EXPECT_FALSE(Exists(desktopLink));
  EXPECT_FALSE(Exists(menuLink));
  EXPECT_FALSE(RegText(HKEY_CURRENT_USER, uninstallKey, L"DisplayVersion").has_value());
  EXPECT_TRUE(Exists(target + L"\\VELMOK.log")) << "the log stays";
  EXPECT_TRUE(RegText(HKEY_CURRENT_USER, L"Software\\ベルモック\\frmMain", L"Width").has_value()) << "settings stay";
  EXPECT_TRUE(Exists(docs + L"\\見積.cwj"));
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, L".cwj", nullptr), associationBefore);
  ClearVelmokSettings();
}

}  // namespace
}  // namespace velmok::testing
