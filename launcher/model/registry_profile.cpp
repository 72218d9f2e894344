// The registry back end of the profile.
#include "launcher/model/registry_profile.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "framework/trace.h"

namespace vorbin {

namespace {

// Longest text read from the profile (the group order of thousands of groups fits).
constexpr DWORD kMaxStringBytes = 1u << 20;

// A result worth a trace: not success, not a value or key that is not there,
// and not a key deleted under us (that one is opened again).
bool unexpected(LONG rc) {
  return rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND && rc != ERROR_KEY_DELETED;
}

// Reads a value of any type, at most maxBytes of data: one call for the
// usual short value, a second only for a longer one. A value over maxBytes
// reads as ERROR_MORE_DATA.
LONG queryValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<uint8_t>& data, DWORD maxBytes) {
  data.resize(std::min<DWORD>(maxBytes, 512));
  DWORD size = static_cast<DWORD>(data.size());
  LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
  if (rc == ERROR_MORE_DATA && size <= maxBytes) {
    data.resize(size);
    rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
  }
  if (rc == ERROR_SUCCESS) data.resize(size);
  if (unexpected(rc) && rc != ERROR_MORE_DATA) FW_TRACE_FAILURE_CODE("RegQueryValueExW", rc);
  return rc;
}

ValueKind kindOf(DWORD type) {
  return type == REG_DWORD                           ? ValueKind::kDword
         : (type == REG_SZ || type == REG_EXPAND_SZ) ? ValueKind::kString
                                                     : ValueKind::kBinary;
}

std::wstring textFromBytes(const std::vector<uint8_t>& data) {
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  // Stored strings may lack their terminator or carry more than one.
  size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

}  // namespace

RegistryProfile::RegistryProfile(std::wstring keyPath, HKEY root)
    : m_keyPath(std::move(keyPath)), m_root(root) {}

RegistryProfile::~RegistryProfile() {
  for (auto& [section, key] : m_open) RegCloseKey(key);
}

HKEY RegistryProfile::openSection(const std::wstring& section, bool create) const {
  if (auto it = m_open.find(section); it != m_open.end()) return it->second;
  std::wstring path = m_keyPath + L"\\" + section;
  HKEY key = nullptr;
  LONG rc = create ? RegCreateKeyExW(m_root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                                     nullptr)
                   : RegOpenKeyExW(m_root, path.c_str(), 0, KEY_READ | KEY_WRITE, &key);
  if (create ? rc != ERROR_SUCCESS : unexpected(rc))
    FW_TRACE_FAILURE_CODE(create ? "RegCreateKeyExW" : "RegOpenKeyExW", rc);
  if (rc != ERROR_SUCCESS) return nullptr;
  m_open.emplace(section, key);
  return key;
}

void RegistryProfile::forgetSection(const std::wstring& section) const {
  // The section and every key below it.
  for (auto it = m_open.begin(); it != m_open.end();) {
    const std::wstring& name = it->first;
    if (name == section || (name.size() > section.size() && name.compare(0, section.size(), section) == 0 &&
                            name[section.size()] == L'\\')) {
      RegCloseKey(it->second);
      it = m_open.erase(it);
    } else {
      ++it;
    }
  }
}

LONG RegistryProfile::withSection(const std::wstring& section, bool create,
                                  const std::function<LONG(HKEY)>& operation) const {
  for (int attempt = 0; attempt < 2; ++attempt) {
    HKEY key = openSection(section, create);
    if (!key) return ERROR_FILE_NOT_FOUND;
    const LONG rc = operation(key);
    if (rc != ERROR_KEY_DELETED) return rc;
    forgetSection(section);
  }
  return ERROR_KEY_DELETED;
}

std::optional<std::wstring> RegistryProfile::getString(const std::wstring& section,
                                                       const std::wstring& name) const {
  DWORD type = 0;
  std::vector<uint8_t> data;
  const std::optional<LONG> copied = snapshotQuery(section, name, type, data, kMaxStringBytes);
  if ((copied ? *copied : withSection(section, false, [&](HKEY key) {
        return queryValue(key, name, type, data, kMaxStringBytes);
      })) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  return textFromBytes(data);
}

std::optional<uint32_t> RegistryProfile::getDword(const std::wstring& section,
                                                  const std::wstring& name) const {
  DWORD type = 0;
  std::vector<uint8_t> data;
  const std::optional<LONG> copied = snapshotQuery(section, name, type, data, 8);
  if ((copied ? *copied : withSection(section, false, [&](HKEY key) {
        return queryValue(key, name, type, data, 8);
      })) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_DWORD || data.size() != 4) return std::nullopt;
  uint32_t v = 0;
  memcpy(&v, data.data(), 4);
  return v;
}

std::optional<std::vector<uint8_t>> RegistryProfile::getBinary(const std::wstring& section,
                                                               const std::wstring& name,
                                                               size_t maxBytes) const {
  DWORD type = 0;
  std::vector<uint8_t> data;
  const DWORD limit = static_cast<DWORD>(std::min<size_t>(maxBytes, MAXDWORD));
  const std::optional<LONG> copied = snapshotQuery(section, name, type, data, limit);
  if ((copied ? *copied : withSection(section, false, [&](HKEY key) {
        return queryValue(key, name, type, data, limit);
      })) != ERROR_SUCCESS)
    return std::nullopt;
  return data;
}

bool RegistryProfile::setValue(const std::wstring& section, const std::wstring& name, DWORD type,
                               const void* data, size_t size) {
  readLive(section);
  return withSection(section, true, [&](HKEY key) {
           const LONG rc = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                                          static_cast<DWORD>(size));
           if (unexpected(rc)) FW_TRACE_FAILURE_CODE("RegSetValueExW", rc);
           return rc;
         }) == ERROR_SUCCESS;
}

bool RegistryProfile::setString(const std::wstring& section, const std::wstring& name,
                                const std::wstring& value) {
  return setValue(section, name, REG_SZ, value.c_str(), (value.size() + 1) * sizeof(wchar_t));
}

bool RegistryProfile::setDword(const std::wstring& section, const std::wstring& name, uint32_t value) {
  DWORD v = value;
  return setValue(section, name, REG_DWORD, &v, sizeof(v));
}

bool RegistryProfile::setBinary(const std::wstring& section, const std::wstring& name,
                                std::span<const uint8_t> data) {
  return setValue(section, name, REG_BINARY, data.data(), data.size());
}

bool RegistryProfile::deleteValue(const std::wstring& section, const std::wstring& name) {
  readLive(section);
  return withSection(section, false, [&](HKEY key) {
           const LONG rc = RegDeleteValueW(key, name.c_str());
           if (unexpected(rc)) FW_TRACE_FAILURE_CODE("RegDeleteValueW", rc);
           return rc;
         }) == ERROR_SUCCESS;
}

bool RegistryProfile::deleteSection(const std::wstring& section) {
  if (section.empty()) return false;  // never the whole profile
  readLive(section);
  forgetSection(section);
  std::wstring path = m_keyPath + L"\\" + section;
  const LONG rc = RegDeleteTreeW(m_root, path.c_str());
  if (unexpected(rc)) FW_TRACE_FAILURE_CODE("RegDeleteTreeW", rc);
  return rc == ERROR_SUCCESS;
}

std::vector<ProfileValue> RegistryProfile::values(const std::wstring& section, size_t maxBytes) const {
  std::vector<ProfileValue> out;
  bool absent = false;
  if (const SectionCopy* copy = snapshotSection(section, absent)) {
    out.reserve(copy->entries.size());
    for (const SectionCopy::Entry& v : copy->entries) {
      if (v.nameLength > kMaxValueNameChars || v.dataLength > maxBytes) continue;
      out.push_back({std::wstring(copy->nameOf(v)), kindOf(v.type),
                     std::vector<uint8_t>(copy->dataOf(v), copy->dataOf(v) + v.dataLength)});
    }
    return out;
  }
  if (absent) return out;
  withSection(section, false, [&](HKEY key) {
    out.clear();
    DWORD count = 0, longestData = 0;
    const LONG info = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                                       nullptr, &longestData, nullptr, nullptr);
    if (unexpected(info)) FW_TRACE_FAILURE_CODE("RegQueryInfoKeyW", info);
    if (info != ERROR_SUCCESS) return info;
    std::vector<wchar_t> name(kMaxValueNameChars + 1);
    std::vector<uint8_t> data(std::min<size_t>(maxBytes, longestData) + 1);
    out.reserve(count);
    for (DWORD index = 0;; ++index) {
      DWORD nameChars = static_cast<DWORD>(name.size());
      DWORD dataBytes = static_cast<DWORD>(data.size());
      DWORD type = 0;
      LONG rc = RegEnumValueW(key, index, name.data(), &nameChars, nullptr, &type, data.data(), &dataBytes);
      if (rc == ERROR_NO_MORE_ITEMS) break;
      if (rc == ERROR_KEY_DELETED) return rc;
      if (rc != ERROR_SUCCESS || dataBytes > maxBytes) continue;  // too long a name or data: not ours to read
      ProfileValue v;
      v.name.assign(name.data(), nameChars);
      v.kind = kindOf(type);
      v.data.assign(data.begin(), data.begin() + dataBytes);
      out.push_back(std::move(v));
    }
    return static_cast<LONG>(ERROR_SUCCESS);
  });
  return out;
}

// ---------------------------------------------------------------------------
// Snapshot

namespace {

// Sections with values over this size are read live (no read takes more).
constexpr DWORD kSnapshotMaxData = kMaxStringBytes;
int compareNoCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                              TRUE);
}

}  // namespace

void RegistryProfile::SectionCopy::add(std::wstring_view name, DWORD type, const uint8_t* data,
                                       size_t length) {
  entries.push_back({names.size(), name.size(), bytes.size(), length, type});
  names.insert(names.end(), name.begin(), name.end());
  bytes.insert(bytes.end(), data, data + length);
}

void RegistryProfile::SectionCopy::index() {
  byName.resize(entries.size());
  for (uint32_t i = 0; i < byName.size(); ++i) byName[i] = i;
  std::sort(byName.begin(), byName.end(), [this](uint32_t a, uint32_t b) {
    return compareNoCase(nameOf(entries[a]), nameOf(entries[b])) == CSTR_LESS_THAN;
  });
}

const RegistryProfile::SectionCopy::Entry* RegistryProfile::SectionCopy::find(std::wstring_view name) const {
  auto it = std::lower_bound(byName.begin(), byName.end(), name, [this](uint32_t i, std::wstring_view n) {
    return compareNoCase(nameOf(entries[i]), n) == CSTR_LESS_THAN;
  });
  if (it == byName.end() || compareNoCase(nameOf(entries[*it]), name) != CSTR_EQUAL) return nullptr;
  return &entries[*it];
}

namespace {

// Every value of a section's key, in the registry's order; false when the key
// changed while being read (the section is then read live).
bool readSection(HKEY key, DWORD count, DWORD longestName, DWORD longestData, RegistryProfile::SectionCopy& copy) {
  std::vector<wchar_t> name(longestName + 2);
  std::vector<uint8_t> data(longestData + 1);
  for (DWORD index = 0; index < count; ++index) {
    DWORD nameChars = static_cast<DWORD>(name.size());
    DWORD dataBytes = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, index, name.data(), &nameChars, nullptr, &type, data.data(), &dataBytes) !=
        ERROR_SUCCESS)
      return false;
    copy.add(std::wstring_view(name.data(), nameChars), type, data.data(), dataBytes);
  }
  return true;
}

}  // namespace

bool RegistryProfile::NoCaseLess::operator()(const std::wstring& a, const std::wstring& b) const {
  return compareNoCase(a, b) == CSTR_LESS_THAN;
}

namespace {

// The sections of an open profile key; complete is false when some could not
// be listed (they are then read live).
std::vector<std::wstring> listSections(HKEY profileKey, bool& complete) {
  std::vector<std::wstring> sections;
  complete = true;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD chars = ARRAYSIZE(name);
    const LONG rc = RegEnumKeyExW(profileKey, index, name, &chars, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) {
      complete = false;
      if (rc == ERROR_MORE_DATA) continue;
      if (unexpected(rc)) FW_TRACE_FAILURE_CODE("RegEnumKeyExW", rc);
      break;
    }
    sections.emplace_back(name, chars);
  }
  return sections;
}

// The sections shared out between the readers: each takes the next section
// not yet taken and fills its slot.
struct SectionReads {
  HKEY root;
  const std::wstring* keyPath;
  const std::vector<std::wstring>* sections;
  std::vector<std::optional<RegistryProfile::SectionCopy>> slots;
  std::atomic<size_t> next{0};
};

DWORD WINAPI readSections(void* parameter) {
  auto& reads = *static_cast<SectionReads*>(parameter);
  for (size_t i = reads.next++; i < reads.sections->size(); i = reads.next++) {
    // Each reader opens its own keys: the profile's cache of open keys
    // belongs to the caller's thread.
    const std::wstring path = *reads.keyPath + L"\\" + (*reads.sections)[i];
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExW(reads.root, path.c_str(), 0, KEY_READ, &key);
    if (unexpected(opened)) FW_TRACE_FAILURE_CODE("RegOpenKeyExW", opened);
    if (opened != ERROR_SUCCESS) continue;
    DWORD count = 0, longestName = 0, longestData = 0;
    RegistryProfile::SectionCopy copy;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         &longestData, nullptr, nullptr) == ERROR_SUCCESS &&
        longestData <= kSnapshotMaxData && readSection(key, count, longestName, longestData, copy)) {
      copy.index();
      reads.slots[i] = std::move(copy);
    }
    RegCloseKey(key);
  }
  return 0;
}

}  // namespace

void RegistryProfile::takeSnapshot() {
  dropSnapshot();
  m_snapshotActive = true;
  HKEY profileKey = nullptr;
  const LONG opened = RegOpenKeyExW(m_root, m_keyPath.c_str(), 0, KEY_READ, &profileKey);
  if (unexpected(opened)) FW_TRACE_FAILURE_CODE("RegOpenKeyExW", opened);
  if (opened != ERROR_SUCCESS) {
    // No profile yet: every section is absent, as long as nothing is written.
    m_snapshotComplete = opened == ERROR_FILE_NOT_FOUND;
    return;
  }
  const std::vector<std::wstring> sections = listSections(profileKey, m_snapshotComplete);
  RegCloseKey(profileKey);

  SectionReads reads{m_root, &m_keyPath, &sections, {}};
  reads.slots.resize(sections.size());
  // A second reader: a request to the registry's owner mostly waits for the
  // other side to wake up, and two readers get through about three times as
  // many. Without the helper this thread reads everything itself.
  HANDLE helper = sections.size() > 1 ? CreateThread(nullptr, 64 * 1024, &readSections, &reads,
                                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr)
                                      : nullptr;
  if (sections.size() > 1 && !helper) FW_TRACE_FAILURE("CreateThread");
  readSections(&reads);
  if (helper) {
    WaitForSingleObject(helper, INFINITE);
    CloseHandle(helper);
  }
  for (size_t i = 0; i < sections.size(); ++i) {
    if (reads.slots[i]) {
      m_snapshot.emplace(sections[i], std::move(*reads.slots[i]));
    } else {
      m_liveSections.insert(sections[i]);
    }
  }
}

void RegistryProfile::dropSnapshot() {
  m_snapshotActive = false;
  m_snapshotComplete = false;
  m_snapshot.clear();
  m_liveSections.clear();
}

const RegistryProfile::SectionCopy* RegistryProfile::snapshotSection(const std::wstring& section,
                                                                     bool& absent) const {
  absent = false;
  if (!m_snapshotActive || section.find(L'\\') != std::wstring::npos || m_liveSections.count(section))
    return nullptr;
  if (auto it = m_snapshot.find(section); it != m_snapshot.end()) return &it->second;
  absent = m_snapshotComplete;
  return nullptr;
}

std::optional<LONG> RegistryProfile::snapshotQuery(const std::wstring& section, const std::wstring& name,
                                                   DWORD& type, std::vector<uint8_t>& data,
                                                   DWORD maxBytes) const {
  bool absent = false;
  const SectionCopy* copy = snapshotSection(section, absent);
  if (!copy) return absent ? std::optional<LONG>(ERROR_FILE_NOT_FOUND) : std::nullopt;
  const SectionCopy::Entry* value = copy->find(name);
  if (!value) return ERROR_FILE_NOT_FOUND;
  type = value->type;
  if (value->dataLength > maxBytes) return ERROR_MORE_DATA;
  data.assign(copy->dataOf(*value), copy->dataOf(*value) + value->dataLength);
  return ERROR_SUCCESS;
}

void RegistryProfile::readLive(const std::wstring& section) {
  if (!m_snapshotActive) return;
  const std::wstring top = section.substr(0, section.find(L'\\'));
  m_snapshot.erase(top);
  m_liveSections.insert(top);
}

}  // namespace vorbin
