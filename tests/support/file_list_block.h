#pragma once
// A file list as a file manager puts it on the clipboard (CF_HDROP): a DROPFILES header and wide
// names, for the tests and the benchmarks that play the file manager.

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace velmok::testing {

inline HGLOBAL FileListBlock(const std::vector<std::wstring>& paths) {
  std::size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  if (!block) return nullptr;
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* out = reinterpret_cast<wchar_t*>(drop + 1);
  for (const auto& p : paths) {
    p.copy(out, p.size());
    out += p.size() + 1;
  }
  GlobalUnlock(block);
  return block;
}

// Puts a CF_HDROP block on the clipboard, with no owner window; false when the clipboard is held
// elsewhere (the block is freed then).
inline bool PutOnClipboard(HGLOBAL block) {
  if (!block) return false;
  if (!OpenClipboard(nullptr)) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  const bool put = SetClipboardData(CF_HDROP, block) != nullptr;
  CloseClipboard();
  if (!put) GlobalFree(block);
  return put;
}

}  // namespace velmok::testing
