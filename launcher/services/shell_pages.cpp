// The property-sheet extension pages the shell registers for a file type.
#include "launcher/services/shell_pages.h"

#include <shobjidl.h>

#include <string>

#include "framework/com.h"
#include "framework/handle.h"
#include "framework/trace.h"

namespace vorbin {

namespace {

BOOL CALLBACK addPage(HPROPSHEETPAGE page, LPARAM data) {
  auto* pages = reinterpret_cast<std::vector<HPROPSHEETPAGE>*>(data);
  if (pages->size() >= kMaxShellPages) return FALSE;  // the caller destroys refused pages
  pages->push_back(page);
  return TRUE;
}

std::wstring typeName(const wchar_t* typeOrExtension) {
  if (typeOrExtension[0] != L'.') return typeOrExtension;
  wchar_t name[256] = {};
  LONG size = sizeof(name) - sizeof(wchar_t);
  if (RegQueryValueW(HKEY_CLASSES_ROOT, typeOrExtension, name, &size) != ERROR_SUCCESS) return {};
  return name;
}

}  // namespace

int addShellPages(const wchar_t* typeOrExtension, IDataObject* data, std::vector<HPROPSHEETPAGE>& pages,
                  REFCLSID wanted) {
  if (!typeOrExtension || !*typeOrExtension) return -1;
  std::wstring type = typeName(typeOrExtension);
  if (type.empty()) return -1;
  fw::RegKey handlers;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (type + L"\\shellex\\PropertySheetHandlers").c_str(), 0, KEY_READ,
                    handlers.put()) != ERROR_SUCCESS) {
    return -1;
  }
  int start = -1;
  for (DWORD i = 0;; ++i) {
    wchar_t name[257] = {};
    DWORD length = 256;
    if (RegEnumKeyExW(handlers.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    CLSID clsid;
    if (FAILED(CLSIDFromString(name, &clsid))) continue;
    fw::ComPtr<IShellExtInit> init;
    if (const HRESULT hr =
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.putVoid());
        FAILED(hr)) {
      FW_TRACE_FAILURE_CODE("CoCreateInstance", hr);
      continue;
    }
    if (const HRESULT hr = init->Initialize(nullptr, data, nullptr); FAILED(hr)) {
      FW_TRACE_FAILURE_CODE("IShellExtInit::Initialize", hr);
      continue;
    }
    auto adder = init.as<IShellPropSheetExt>(IID_IShellPropSheetExt);
    if (!adder) continue;
    const size_t before = pages.size();
    adder->AddPages(addPage, reinterpret_cast<LPARAM>(&pages));
    if (IsEqualCLSID(clsid, wanted) && pages.size() > before) start = static_cast<int>(before);
  }
  return start;
}

}  // namespace vorbin
