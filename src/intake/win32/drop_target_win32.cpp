#include "intake/win32/drop_target_win32.h"

#include "platform/win32/clipboard_win32.h"

namespace velmok::win32 {

namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

HRESULT ListDropTarget::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG ListDropTarget::Release() {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

bool ListDropTarget::OffersFileList(IDataObject* data) {
  FORMATETC format = FileListFormat();
  return data && data->QueryGetData(&format) == S_OK;
}

HRESULT ListDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  acceptable_ = OffersFileList(data);
  if (effect) *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT ListDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (effect) *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT ListDropTarget::DragLeave() {
  acceptable_ = false;
  return S_OK;
}

HRESULT ListDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  std::optional<std::vector<std::string>> files;
  FORMATETC format = FileListFormat();
  STGMEDIUM medium{};
  if (data && data->GetData(&format, &medium) == S_OK) {
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) files = ReadDropFiles(medium.hGlobal);
    ReleaseStgMedium(&medium);
  }
  if (effect) *effect = files ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  acceptable_ = false;
  if (onDrop_) onDrop_(files);
  return S_OK;
}

}  // namespace velmok::win32
