// Reading and writing ".lnk" and ".url" files for items.
#include "launcher/services/shortcut_files.h"

#include <objbase.h>
// After objbase.h, whose interface macros it uses.
#include <intshcut.h>
#include <isguids.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <vector>

#include "framework/com.h"
#include "framework/handle.h"
#include "framework/trace.h"
#include "launcher/interact/launch_item.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/shortcut_reader.h"

namespace vorbin {
namespace {

std::wstring bounded(const wchar_t* text, size_t size) { return std::wstring(text, wcsnlen(text, size)); }

bool hasExtension(const std::wstring& file, const wchar_t* extension) {
  const size_t n = wcslen(extension);
  return file.size() > n && _wcsicmp(file.c_str() + file.size() - n, extension) == 0;
}

// The first bytes of a file, at most limit of them; nothing when it cannot be opened.
std::optional<std::vector<uint8_t>> fileHead(const std::wstring& file, size_t limit) {
  fw::FileHandle h(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return std::nullopt;
  std::vector<uint8_t> bytes(limit);
  DWORD read = 0;
  if (!ReadFile(h.get(), bytes.data(), static_cast<DWORD>(limit), &read, nullptr)) return std::nullopt;
  bytes.resize(read);
  return bytes;
}

// INI text as the profile functions would read it: UTF-16 or UTF-8 with its
// mark, otherwise the ANSI code page.
std::wstring iniText(const std::vector<uint8_t>& bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    std::wstring out((bytes.size() - 2) / 2, L'\0');
    memcpy(out.data(), bytes.data() + 2, out.size() * 2);
    return out;
  }
  size_t skip = 0;
  UINT codePage = CP_ACP;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    skip = 3;
    codePage = CP_UTF8;
  }
  const char* data = reinterpret_cast<const char*>(bytes.data()) + skip;
  const int size = static_cast<int>(bytes.size() - skip);
  if (size <= 0) return {};
  const int chars = MultiByteToWideChar(codePage, 0, data, size, nullptr, 0);
  std::wstring out(static_cast<size_t>(std::max(chars, 0)), L'\0');
  if (chars > 0) MultiByteToWideChar(codePage, 0, data, size, out.data(), chars);
  return out;
}

std::optional<ShortcutRecord> readLink(const std::wstring& file, HWND owner, std::wstring_view decoration) {
  fw::ComPtr<IShellLinkW> link = loadShellLink(file);
  if (!link) return std::nullopt;
  // Without an owner the shell must not stop to ask where a moved target went
  // (the high word is then the search's time limit in milliseconds).
  const DWORD resolveFlags = owner ? DWORD{SLR_UPDATE} : DWORD{SLR_UPDATE | SLR_NO_UI} | (1000u << 16);
  link->Resolve(owner, resolveFlags);

  LinkFields fields;
  fields.shortcutFile = file;
  wchar_t buffer[kMaxDescriptionChars + 1] = {};
  constexpr int kSize = static_cast<int>(std::size(buffer));
  WIN32_FIND_DATAW found{};
  if (link->GetPath(buffer, MAX_PATH, &found, SLGP_RAWPATH) == S_OK && buffer[0]) {
    fields.path = bounded(buffer, MAX_PATH);
    // The find data holds the attributes the link recorded; a link that kept
    // none is asked about the target as it is now.
    DWORD attributes = found.dwFileAttributes;
    if (attributes == 0) attributes = GetFileAttributesW(fields.path.c_str());
    fields.pathAttributes = attributes;
  } else {
    PIDLIST_ABSOLUTE list = nullptr;
    if (SUCCEEDED(link->GetIDList(&list)) && list) {
      fields.idList = idListCopy(idListBytes(list));
      wchar_t listed[MAX_PATH] = {};
      fields.idListIsSelf = SHGetPathFromIDListW(list, listed) && _wcsicmp(listed, file.c_str()) == 0;
      fields.idListIsFolder = shellAttributes(list, SFGAO_FOLDER) != 0;
      CoTaskMemFree(list);
    }
  }
  buffer[0] = 0;
  if (SUCCEEDED(link->GetArguments(buffer, MAX_PATH))) fields.arguments = bounded(buffer, MAX_PATH);
  buffer[0] = 0;
  if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH)))
    fields.workingFolder = bounded(buffer, MAX_PATH);
  buffer[0] = 0;
  if (SUCCEEDED(link->GetDescription(buffer, kSize))) fields.description = bounded(buffer, kSize);
  int index = 0;
  buffer[0] = 0;
  if (linkIconLocation(link.get(), buffer, MAX_PATH, &index)) {
    fields.iconFile = bounded(buffer, MAX_PATH);
    fields.iconIndex = index;
  }
  WORD hotKey = 0;
  if (SUCCEEDED(link->GetHotkey(&hotKey))) fields.hotKey = hotKey;
  // The link object may not say what the file holds (Wine answers 1 whatever
  // it is); the header does.
  int show = SW_SHOWNORMAL;
  const auto head = fileHead(file, 0x4C);
  if (const auto fromFile = head ? linkHeaderShowCommand(*head) : std::nullopt)
    show = static_cast<int>(*fromFile);
  else if (FAILED(link->GetShowCmd(&show)))
    show = SW_SHOWNORMAL;
  fields.showCommand = show;
  return shortcutRecordFromLink(fields, decoration);
}

std::optional<ShortcutRecord> readUrl(const std::wstring& file, std::wstring_view decoration) {
  std::optional<UrlFields> fields = readUrlFile(file);
  if (!fields) {
    // A file the INI reading does not understand may still load in the shell's object.
    fw::ComPtr<IUniformResourceLocatorW> url;
    if (FAILED(CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IUniformResourceLocatorW, url.putVoid())))
      return std::nullopt;
    auto persist = url.as<IPersistFile>(IID_IPersistFile);
    wchar_t* text = nullptr;
    if (!persist || FAILED(persist->Load(file.c_str(), STGM_READ)) || FAILED(url->GetURL(&text)) || !text)
      return std::nullopt;
    fields = UrlFields{};
    fields->url = bounded(text, kMaxUrlFieldChars);
    CoTaskMemFree(text);
    if (fields->url.empty()) return std::nullopt;
  }
  ShortcutRecord record;
  record.title = shortcutTitle(file, decoration);
  record.target = fields->url;
  record.hotKey = fields->hotKey;
  record.iconFile = fields->iconFile;
  record.iconIndex = fields->iconFile.empty() ? 0 : fields->iconIndex;
  record.flags = kItemUrl;
  return record;
}

// Sets what the Internet-shortcut object takes through its property set; a
// property the object refuses is left to the INI repair.
void setUrlProperties(IUniformResourceLocatorW* url, const UrlFields& fields) {
  fw::ComPtr<IPropertySetStorage> sets;
  if (FAILED(url->QueryInterface(IID_IPropertySetStorage, sets.putVoid())) || !sets) return;
  fw::ComPtr<IPropertyStorage> props;
  if (FAILED(sets->Open(FMTID_Intshcut, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, props.put())) || !props)
    return;
  PROPSPEC specs[3] = {};
  PROPVARIANT values[3] = {};
  ULONG count = 0;
  specs[count].ulKind = PRSPEC_PROPID;
  specs[count].propid = PID_IS_HOTKEY;
  values[count].vt = VT_UI2;
  values[count++].uiVal = fields.hotKey;
  std::wstring iconFile = fields.iconFile;
  if (!iconFile.empty()) {
    specs[count].ulKind = PRSPEC_PROPID;
    specs[count].propid = PID_IS_ICONFILE;
    values[count].vt = VT_LPWSTR;
    values[count++].pwszVal = iconFile.data();
    specs[count].ulKind = PRSPEC_PROPID;
    specs[count].propid = PID_IS_ICONINDEX;
    values[count].vt = VT_I4;
    values[count++].lVal = fields.iconIndex;
  }
  if (SUCCEEDED(props->WriteMultiple(count, specs, values, 0))) props->Commit(STGC_DEFAULT);
}

bool writeUrl(const ShortcutRecord& item, const std::wstring& file) {
  UrlFields wanted;
  wanted.url = item.target.substr(0, kMaxUrlFieldChars);
  wanted.hotKey = item.hotKey;
  wanted.iconFile = item.iconFile;
  wanted.iconIndex = item.iconIndex;
  if (wanted.url.empty()) return false;

  // The object gets its URL and properties first and is saved last: saved
  // before the URL is set, the file is not written at all on Wine.
  fw::ComPtr<IUniformResourceLocatorW> url;
  if (SUCCEEDED(CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IUniformResourceLocatorW, url.putVoid()))) {
    if (SUCCEEDED(url->SetURL(wanted.url.c_str(), 0))) {
      setUrlProperties(url.get(), wanted);
      auto persist = url.as<IPersistFile>(IID_IPersistFile);
      if (persist && FAILED(persist->Save(file.c_str(), TRUE))) FW_TRACE_FAILURE("IPersistFile::Save");
    }
  }
  // Whatever the file lacks now is written into it directly (the whole file
  // when there is no object).
  for (const auto& [key, value] : urlFieldsToRepair(wanted, readUrlFile(file))) {
    if (!WritePrivateProfileStringW(L"InternetShortcut", key.c_str(), value.c_str(), file.c_str())) {
      FW_TRACE_FAILURE("WritePrivateProfileStringW");
      return false;
    }
  }
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());  // flush the profile cache
  return urlFieldsToRepair(wanted, readUrlFile(file)).empty();
}

bool writeLink(const ShortcutRecord& item, const std::wstring& file) {
  fw::ComPtr<IShellLinkW> link;
  if (const HRESULT hr =
          CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid());
      FAILED(hr)) {
    FW_TRACE_FAILURE_CODE("CoCreateInstance", hr);
    return false;
  }
  SplitCommand split;
  if (!(item.flags & (kItemIdList | kItemFolder | kItemPrompt))) {
    Win32LaunchSystem system;
    split = splitCommand(item.target, system);
  }
  const LinkPlan plan = linkPlanForItem(item, split.program, split.arguments);
  if (plan.useIdList) {
    PIDLIST_ABSOLUTE list = idListToShell(item.idList);
    const bool set = list && SUCCEEDED(link->SetIDList(list));
    if (list) CoTaskMemFree(list);
    if (!set) return false;
  } else if (FAILED(link->SetPath(plan.path.c_str()))) {
    return false;
  }
  if (!plan.arguments.empty()) link->SetArguments(plan.arguments.c_str());
  if (!plan.workingFolder.empty()) link->SetWorkingDirectory(plan.workingFolder.c_str());
  if (!plan.description.empty()) link->SetDescription(plan.description.c_str());
  link->SetHotkey(plan.hotKey);
  link->SetShowCmd(plan.showCommand);
  auto persist = link.as<IPersistFile>(IID_IPersistFile);
  if (!persist) return false;
  if (const HRESULT hr = persist->Save(file.c_str(), TRUE); FAILED(hr)) {
    FW_TRACE_FAILURE_CODE("IPersistFile::Save", hr);
    return false;
  }
  return true;
}

ShortcutRecord recordOfItem(const Item& item) {
  ShortcutRecord record;
  record.flags = item.flags & kItemFlagBits;
  if (record.flags & kItemIdList)
    record.idList = item.target;
  else
    record.target = item.targetPath();
  record.folder = item.folder;
  record.title = item.title;
  record.comment = item.text5;
  record.hotKey = item.hotKey;
  // A web link keeps its icon location as "file,index" in its third text.
  if (record.flags & kItemUrl) {
    auto [file, index] = splitIconLocation(item.text3);
    record.iconFile = std::move(file);
    record.iconIndex = index;
  }
  return record;
}

}  // namespace

std::optional<UrlFields> readUrlFile(const std::wstring& file) {
  const auto bytes = fileHead(file, kMaxUrlFileChars);
  if (!bytes) return std::nullopt;
  return parseUrlShortcut(iniText(*bytes));
}

std::optional<ShortcutRecord> readShortcutRecord(const std::wstring& file, HWND owner,
                                                 std::wstring_view decoration) {
  if (file.empty()) return std::nullopt;
  fw::ComScope com;
  if (!hasExtension(file, L".url"))
    if (auto record = readLink(file, owner, decoration)) return record;
  if (hasExtension(file, L".url") || isShellLink(file.c_str())) return readUrl(file, decoration);
  return std::nullopt;
}

bool writeShortcut(const Item& item, const std::wstring& file) {
  if (file.empty()) return false;
  fw::ComScope com;
  const ShortcutRecord record = recordOfItem(item);
  return (record.flags & kItemUrl) ? writeUrl(record, file) : writeLink(record, file);
}

bool writeShortcut(const GroupTable& groups, int group, int slot, const std::wstring& file) {
  const Item* item = groups.item(group, slot);
  return item && writeShortcut(*item, file);
}

}  // namespace vorbin
