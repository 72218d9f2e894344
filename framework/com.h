// COM helpers: an interface pointer that releases itself, and OLE start-up.
#pragma once
#include <objbase.h>
#include <ole2.h>

#include <utility>

#include "framework/trace.h"

namespace fw {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ComPtr(const ComPtr& o) : m_p(o.m_p) {
    if (m_p) m_p->AddRef();
  }
  ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(m_p, o.m_p);
    return *this;
  }
  ~ComPtr() {
    if (m_p) m_p->Release();
  }
  // Takes over a reference the caller already holds.
  static ComPtr attach(T* p) {
    ComPtr c;
    c.m_p = p;
    return c;
  }
  T* get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  T** put() {
    reset();
    return &m_p;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (m_p) std::exchange(m_p, nullptr)->Release();
  }
  template <class U>
  ComPtr<U> as(REFIID iid) const {
    ComPtr<U> out;
    if (m_p) m_p->QueryInterface(iid, out.putVoid());
    return out;
  }

 private:
  T* m_p = nullptr;
};

// COM on this thread for a scope, when the thread had none; a thread that
// has it keeps its own.
class ComScope {
 public:
  ComScope() : m_ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (m_ok) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool m_ok;
};

// OleInitialize for the life of the scope.
class OleScope {
 public:
  OleScope() {
    const HRESULT result = OleInitialize(nullptr);
    m_ok = SUCCEEDED(result);
    if (!m_ok) FW_TRACE_FAILURE_CODE("OleInitialize", result);
  }
  ~OleScope() {
    if (m_ok) OleUninitialize();
  }
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
  bool ok() const { return m_ok; }

 private:
  bool m_ok = false;
};

}  // namespace fw
