#pragma once
// The OLE drop target of lvwPrintFiles: it takes file lists (with the copy effect) and refuses
// everything else.

#include <windows.h>

#include <ole2.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmok::win32 {

class ListDropTarget final : public IDropTarget {
 public:
  // Called with the dropped file list, or nullopt when the dropped data hold none.
  using DropHandler = std::function<void(const std::optional<std::vector<std::string>>&)>;
  explicit ListDropTarget(DropHandler onDrop) : onDrop_(std::move(onDrop)) {}

  // IUnknown. Called by OLE: no exception may leave them.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() noexcept override;

  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) noexcept override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) noexcept override;
  HRESULT STDMETHODCALLTYPE DragLeave() noexcept override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) noexcept override;

 private:
  static bool OffersFileList(IDataObject* data);

  DropHandler onDrop_;
  LONG refs_ = 1;
  bool acceptable_ = false;
};

}  // namespace velmok::win32
