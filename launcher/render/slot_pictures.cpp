// Slot pictures through the system's OLE picture loader.
#include "launcher/render/slot_pictures.h"

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <cwctype>
#include <vector>

#include "framework/gdi.h"
#include "framework/handle.h"
#include "framework/trace.h"

namespace vorbin {

namespace {

constexpr std::wstring_view kValueNames[kPictureValueCount] = {L"Bord_pic", L"Group_pic", L"Appl_pic",
                                                               L"Func_pic", L"Cmd_pic"};
constexpr SlotId kValueSlots[kPictureValueCount] = {SlotId::kBord, SlotId::kGroupBase, SlotId::kApplBase,
                                                    SlotId::kFunctionKey, SlotId::kCommandButton};
// Picture files larger than this are not pictures the bar could show.
constexpr DWORD kMaxPictureBytes = 64u << 20;

bool sameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

// The whole file in a movable global block, as the picture loader's stream wants it.
HGLOBAL readFileToGlobal(const std::wstring& path, DWORD& size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    FW_TRACE_FAILURE("CreateFileW");
    return nullptr;
  }
  HGLOBAL mem = nullptr;
  LARGE_INTEGER len{};
  if (GetFileSizeEx(file, &len) && len.QuadPart > 0 && len.QuadPart <= kMaxPictureBytes) {
    size = static_cast<DWORD>(len.QuadPart);
    mem = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!mem) FW_TRACE_FAILURE("GlobalAlloc");
    void* p = mem ? GlobalLock(mem) : nullptr;
    DWORD got = 0;
    const bool ok = p && ReadFile(file, p, size, &got, nullptr) && got == size;
    if (p && !ok) FW_TRACE_FAILURE("ReadFile");
    if (p) GlobalUnlock(mem);
    if (!ok && mem) {
      GlobalFree(mem);
      mem = nullptr;
    }
  }
  CloseHandle(file);
  return mem;
}

}  // namespace

std::wstring_view pictureValueName(PictureValue v) { return kValueNames[static_cast<int>(v)]; }
SlotId pictureSlot(PictureValue v) { return kValueSlots[static_cast<int>(v)]; }

fw::Bitmap loadPictureFile(const std::wstring& path) {
  DWORD size = 0;
  HGLOBAL mem = readFileToGlobal(path, size);
  if (!mem) return {};
  IStream* stream = nullptr;
  if (const HRESULT hr = CreateStreamOnHGlobal(mem, TRUE, &stream); FAILED(hr)) {
    FW_TRACE_FAILURE_CODE("CreateStreamOnHGlobal", hr);
    GlobalFree(mem);
    return {};
  }
  IPicture* picture = nullptr;
  const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                    reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || !picture) {
    FW_TRACE_FAILURE_CODE("OleLoadPicture", hr);
    return {};
  }

  fw::Bitmap out;
  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  picture->get_Width(&hmWidth);
  picture->get_Height(&hmHeight);
  HDC screen = GetDC(nullptr);
  const int w = MulDiv(hmWidth, GetDeviceCaps(screen, LOGPIXELSX), 2540);
  const int h = MulDiv(hmHeight, GetDeviceCaps(screen, LOGPIXELSY), 2540);
  if (w > 0 && h > 0) {
    out.reset(fw::createImageBitmap(w, h));
    bool rendered = false;
    if (out) {
      fw::MemoryDC target(screen);
      fw::SelectScope use(target, out.get());
      // Pictures are measured upwards: render from the bottom edge with a negative height.
      const HRESULT drawn = picture->Render(target, 0, 0, w, h, 0, hmHeight, hmWidth, -hmHeight, nullptr);
      if (FAILED(drawn)) FW_TRACE_FAILURE_CODE("IPicture::Render", drawn);
      rendered = SUCCEEDED(drawn);
    } else {
      FW_TRACE_FAILURE("CreateDIBSection");
    }
    if (!rendered) out.reset();
  }
  ReleaseDC(nullptr, screen);
  picture->Release();
  return out;
}

void SlotPictures::clear() { m_entries = {}; }

void SlotPictures::load(const std::array<std::wstring, kPictureValueCount>& names, const Resolver& resolve) {
  clear();
  for (int i = 0; i < kPictureValueCount; ++i) {
    if (names[i].empty()) continue;
    Entry& e = m_entries[i];
    e.name = names[i];
    for (int j = 0; j < i; ++j) {
      if (m_entries[j].bitmap && sameName(m_entries[j].name, e.name)) {
        e.bitmap = m_entries[j].bitmap;
        break;
      }
    }
    if (e.bitmap) continue;
    fw::Bitmap bitmap = loadPictureFile(resolve ? resolve(e.name) : e.name);
    if (bitmap) e.bitmap = std::make_shared<fw::Bitmap>(std::move(bitmap));
  }
}

const SlotPictures::Entry* SlotPictures::entry(SlotId slot) const {
  for (int i = 0; i < kPictureValueCount; ++i)
    if (kValueSlots[i] == slot) return &m_entries[i];
  return nullptr;
}

HBITMAP SlotPictures::picture(SlotId slot) const {
  const Entry* e = entry(slot);
  return e && e->bitmap ? e->bitmap->get() : nullptr;
}

const std::wstring& SlotPictures::fileName(SlotId slot) const {
  static const std::wstring none;
  const Entry* e = entry(slot);
  return e ? e->name : none;
}

POINT SlotPictures::tileOrigin(SlotId slot, POINT barOrigin, POINT areaOrigin) const {
  const HBITMAP own = picture(slot);
  if (slot == SlotId::kBord || (own && own == picture(SlotId::kBord))) return barOrigin;
  return areaOrigin;
}

}  // namespace vorbin
