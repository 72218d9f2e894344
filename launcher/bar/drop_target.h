// The bar's OLE drop target: a small COM object that hands the four drag
// events to whoever registered it (the drop handler), which decides.
#pragma once
#include <windows.h>
#include <ole2.h>

namespace vorbin {

class DropEvents {
 public:
  // Each returns the effect to show (or done) for the allowed effects.
  virtual DWORD dragEnter(IDataObject* data, DWORD keys, POINT screen, DWORD allowed) = 0;
  virtual DWORD dragOver(DWORD keys, POINT screen, DWORD allowed) = 0;
  virtual void dragLeave() = 0;
  virtual DWORD drop(IDataObject* data, DWORD keys, POINT screen, DWORD allowed) = 0;

 protected:
  ~DropEvents() = default;
};

class BarDropTarget final : public IDropTarget {
 public:
  explicit BarDropTarget(DropEvents& events) : m_events(&events) {}
  // The events' owner goes away: later calls (a drag still running) do nothing.
  void detach() { m_events = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

 private:
  ~BarDropTarget() = default;
  LONG m_refs = 1;
  DropEvents* m_events;
};

// Registers a drop target for window that forwards to events; the returned
// object is released by revokeDropTarget. Null when OLE refused.
BarDropTarget* registerDropTarget(HWND window, DropEvents& events);
void revokeDropTarget(HWND window, BarDropTarget*& target);

}  // namespace vorbin
