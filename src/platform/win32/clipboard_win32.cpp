#include "platform/win32/clipboard_win32.h"

#include <windows.h>

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
  // Another program wrote the block: it is read once, whole, and nothing in it is trusted. (The
  // shell's DragQueryFileW walks the list from its start for every name it is asked for: a list of
  // 100,000 names would cost billions of steps.)
  auto parsed = ParseDropFiles(static_cast<const unsigned char*>(bytes), size);
  GlobalUnlock(block);
  if (!parsed) return std::nullopt;
  if (!parsed->wide)
    for (auto& name : parsed->names) name = FromAnsi(name);
  return std::move(parsed->names);
}

}  // namespace velmok::win32
