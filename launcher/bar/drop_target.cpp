// The bar's OLE drop target (see drop_target.h).
#include "launcher/bar/drop_target.h"

#include "framework/trace.h"

namespace vorbin {

HRESULT BarDropTarget::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *out = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG BarDropTarget::Release() {
  const LONG left = InterlockedDecrement(&m_refs);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT BarDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = *effect;
  *effect = m_events ? m_events->dragEnter(data, keys, {at.x, at.y}, allowed) & allowed : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT BarDropTarget::DragOver(DWORD keys, POINTL at, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = *effect;
  *effect = m_events ? m_events->dragOver(keys, {at.x, at.y}, allowed) & allowed : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT BarDropTarget::DragLeave() {
  if (m_events) m_events->dragLeave();
  return S_OK;
}

HRESULT BarDropTarget::Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = *effect;
  *effect = m_events ? m_events->drop(data, keys, {at.x, at.y}, allowed) & allowed : DROPEFFECT_NONE;
  return S_OK;
}

BarDropTarget* registerDropTarget(HWND window, DropEvents& events) {
  auto* target = new BarDropTarget(events);
  const HRESULT hr = RegisterDragDrop(window, target);
  if (FAILED(hr)) {
    FW_TRACE_FAILURE_CODE("RegisterDragDrop", hr);
    target->Release();
    return nullptr;
  }
  return target;
}

void revokeDropTarget(HWND window, BarDropTarget*& target) {
  if (!target) return;
  RevokeDragDrop(window);
  target->detach();
  target->Release();
  target = nullptr;
}

}  // namespace vorbin
