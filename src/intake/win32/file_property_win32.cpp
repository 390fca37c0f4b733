#include "intake/win32/file_property_win32.h"

#include <shellapi.h>
#include <shlobj.h>

#include <thread>

#include "platform/win32/wide.h"

namespace velmok::win32 {

bool ShowFilePropertyByVerb(HWND owner, const std::wstring& path) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // 0x44C
  info.hwnd = owner;
  info.lpVerb = L"properties";
  info.lpFile = path.c_str();
  info.lpParameters = L"";
  info.lpDirectory = L"";
  info.nShow = 0;
  const BOOL ok = ShellExecuteExW(&info);
  if (info.hProcess) CloseHandle(info.hProcess);
  return ok != FALSE;
}

bool ShowFilePropertyByContextMenu(HWND owner, const std::wstring& path) {
  PIDLIST_ABSOLUTE item = nullptr;
  if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &item, 0, nullptr)) || !item) return false;
  bool shown = false;
  IShellFolder* parent = nullptr;
  PCUITEMID_CHILD child = nullptr;
  if (SUCCEEDED(SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void**>(&parent), &child))) {
    IContextMenu* menu = nullptr;
    if (SUCCEEDED(parent->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu)))) {
      CMINVOKECOMMANDINFO invoke{};
      invoke.cbSize = sizeof invoke;
      invoke.fMask = CMIC_MASK_FLAG_NO_UI;
      invoke.hwnd = owner;
      invoke.lpVerb = "properties";
      invoke.nShow = SW_SHOWNORMAL;
      shown = SUCCEEDED(menu->InvokeCommand(&invoke));
      menu->Release();
    }
    parent->Release();
  }
  CoTaskMemFree(item);
  return shown;
}

namespace {

// The program's own small sheet: name, folder, size and times of the document.
void ShowOwnSheet(HWND owner, const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return;  // gone: nothing to show
  const auto slash = path.find_last_of(L'\\');
  const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::wstring folder = slash == std::wstring::npos ? L"" : path.substr(0, slash);
  auto when = [](const FILETIME& ft) {
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    FileTimeToSystemTime(&ft, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    wchar_t text[64];
    swprintf(text, 64, L"%04u/%02u/%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
             local.wMinute, local.wSecond);
    return std::wstring(text);
  };
  const unsigned long long bytes =
      (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  std::wstring text = L"名前:\t" + name + L"\n場所:\t" + folder + L"\nサイズ:\t" + std::to_wstring(bytes) +
                      L" バイト\n作成日時:\t" + when(data.ftCreationTime) + L"\n更新日時:\t" +
                      when(data.ftLastWriteTime) + L"\n属性:\t" +
                      ((data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? L"読み取り専用" : L"標準");
  MessageBoxW(owner, text.c_str(), (name + L"のプロパティ").c_str(), MB_OK);
}

}  // namespace

void ShowFileProperty(HWND owner, const std::string& path) {
  const std::wstring wide = Widen(path);
  if (ShowFilePropertyByVerb(owner, wide)) return;
  if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // gone: nothing visible
  // The context menu's sheet (and the program's own) is modal: shown from this thread it would
  // hold the main window disabled until it is closed. The shell's verb shows its sheet on a
  // thread of its own, beside the window; these get one of their own too, without an owner.
  std::thread([wide] {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (!ShowFilePropertyByContextMenu(nullptr, wide)) ShowOwnSheet(nullptr, wide);
    if (SUCCEEDED(com)) CoUninitialize();
  }).detach();
}

}  // namespace velmok::win32
