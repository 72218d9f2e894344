// A data object of a test's own making for the drop tests: it offers fixed
// blocks of memory, one per clipboard format, and counts what was read.
// Shared by the second program that drags onto the bar and the tests that
// call the bar's drop target in their own process.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace droptest {

struct Block {
  CLIPFORMAT format;
  std::vector<uint8_t> bytes;
};

// Appends the text with its terminator as UTF-16.
inline void appendWide(std::vector<uint8_t>& b, const std::wstring& s) {
  const auto* p = reinterpret_cast<const uint8_t*>(s.c_str());
  b.insert(b.end(), p, p + (s.size() + 1) * sizeof(wchar_t));
}

class DataObject final : public IDataObject {
 public:
  explicit DataObject(std::vector<Block> blocks) : m_blocks(std::move(blocks)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *out = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }  // lives on its creator's stack
  // How often each format was asked for with GetData.
  int reads(CLIPFORMAT format) const {
    int n = 0;
    for (CLIPFORMAT f : m_reads) n += f == format;
    return n;
  }
  const Block* find(const FORMATETC* f) const {
    if (!f || !(f->tymed & TYMED_HGLOBAL)) return nullptr;
    for (const Block& b : m_blocks)
      if (b.format == f->cfFormat) return &b;
    return nullptr;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* medium) override {
    if (f) m_reads.push_back(f->cfFormat);
    const Block* b = find(f);
    if (!b) return DV_E_FORMATETC;
    // Exactly the block's size: the reader must not look beyond it.
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, b->bytes.size());
    if (!h) return E_OUTOFMEMORY;
    if (!b->bytes.empty()) {
      std::memcpy(GlobalLock(h), b->bytes.data(), b->bytes.size());
      GlobalUnlock(h);
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = h;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override { return find(f) ? S_OK : DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::vector<Block> m_blocks;
  std::vector<CLIPFORMAT> m_reads;
  ULONG m_refs = 1;
};

}  // namespace droptest
