#include "intake/win32/drop_target_win32.h"

#include "platform/win32/clipboard_win32.h"

namespace velmok::win32 {

namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

HRESULT ListDropTarget::QueryInterface(REFIID riid, void** object) noexcept {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG ListDropTarget::Release() noexcept {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

bool ListDropTarget::OffersFileList(IDataObject* data) {
  FORMATETC format = FileListFormat();
  return data && data->QueryGetData(&format) == S_OK;
}

HRESULT ListDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) noexcept {
  acceptable_ = OffersFileList(data);
  if (effect) *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT ListDropTarget::DragOver(DWORD, POINTL, DWORD* effect) noexcept {
  if (effect) *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT ListDropTarget::DragLeave() noexcept {
  acceptable_ = false;
  return S_OK;
}

// No memory for the names (the only exception there is) takes nothing.
HRESULT ListDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) noexcept {
  acceptable_ = false;
  if (effect) *effect = DROPEFFECT_NONE;
  FORMATETC format = FileListFormat();
  STGMEDIUM medium{};
  std::optional<std::vector<std::string>> files;
  if (data && data->GetData(&format, &medium) == S_OK) {
    bool outOfMemory = false;
    try {
      if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) files = ReadDropFiles(medium.hGlobal);
    } catch (...) {
      outOfMemory = true;
    }
    ReleaseStgMedium(&medium);
    if (outOfMemory) return E_OUTOFMEMORY;
  }
  if (effect && files) *effect = DROPEFFECT_COPY;
  try {
    if (onDrop_) onDrop_(files);
  } catch (...) {
    if (effect) *effect = DROPEFFECT_NONE;
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace velmok::win32
