// Owning wrappers for kernel, registry, module, icon, hook and image-list handles.
#pragma once
#include <windows.h>
// After windows.h: commctrl.h needs its types.
#include <commctrl.h>

#include <utility>

namespace fw {

// A move-only owner of a handle, released by Traits::close.
template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : m_h(h) {}
  UniqueHandle(UniqueHandle&& o) noexcept : m_h(std::exchange(o.m_h, Traits::invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.m_h, Traits::invalid()));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return m_h; }
  explicit operator bool() const { return m_h != Traits::invalid(); }
  Handle release() { return std::exchange(m_h, Traits::invalid()); }
  void reset(Handle h = Traits::invalid()) {
    if (m_h != Traits::invalid()) Traits::close(m_h);
    m_h = h;
  }
  // For out-parameters: releases the old handle and hands out the slot.
  Handle* put() {
    reset();
    return &m_h;
  }

 private:
  Handle m_h = Traits::invalid();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle invalid() { return nullptr; }
  static void close(Handle h) { CloseHandle(h); }
};
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle invalid() { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle invalid() { return nullptr; }
  static void close(Handle h) { RegCloseKey(h); }
};
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle invalid() { return nullptr; }
  static void close(Handle h) { FreeLibrary(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle invalid() { return nullptr; }
  static void close(Handle h) { DestroyIcon(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle invalid() { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) { FindClose(h); }
};
struct HookTraits {
  using Handle = HHOOK;
  static Handle invalid() { return nullptr; }
  static void close(Handle h) { UnhookWindowsHookEx(h); }
};
// comctl32 is delay-loaded: an empty owner never calls into it, so holding
// one does not load the library.
struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle invalid() { return nullptr; }
  static void close(Handle h) { ImageList_Destroy(h); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using Module = UniqueHandle<ModuleTraits>;
using IconHandle = UniqueHandle<IconTraits>;
using FindHandle = UniqueHandle<FindTraits>;
using HookHandle = UniqueHandle<HookTraits>;
using ImageList = UniqueHandle<ImageListTraits>;

}  // namespace fw
