#include "platform/win32/clipboard_win32.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/drop_files.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace velmok::win32 {

bool Win32ClipboardFiles::OffersFileList() { return IsClipboardFormatAvailable(CF_HDROP) != FALSE; }

std::optional<std::vector<std::string>> Win32ClipboardFiles::FileList() {
  ClipboardSession session;  // no owner window; when another program holds it, nothing is found
  if (!session.IsOpen()) return std::nullopt;
  HANDLE data = GetClipboardData(CF_HDROP);
  if (!data) return std::nullopt;
  return ReadDropFiles(static_cast<HGLOBAL>(data));
}

std::optional<std::vector<std::string>> ReadDropFiles(HGLOBAL block) {
  const SIZE_T size = GlobalSize(block);
  const void* bytes = GlobalLock(block);
  if (!bytes) return std::nullopt;
  // Another program wrote the block: check it whole before the shell reads names from it.
  const bool valid = ParseDropFiles(static_cast<const unsigned char*>(bytes), size).has_value();
  GlobalUnlock(block);
  if (!valid) return std::nullopt;

  const auto drop = static_cast<HDROP>(block);
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::string> names;
  names.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    const UINT copied = DragQueryFileW(drop, i, name.data(), length + 1);
    name.resize(copied);
    name = name.substr(0, name.find(L'\0'));
    names.push_back(Narrow(name));
  }
  return names;
}

}  // namespace velmok::win32
