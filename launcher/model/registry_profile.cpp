// The registry back end of the profile.
#include "launcher/model/registry_profile.h"

#include <algorithm>
#include <cstring>


namespace vorbin {

namespace {

// Longest text read from the profile (the group order of thousands of groups fits).
constexpr DWORD kMaxStringBytes = 1u << 20;

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
  return rc;
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
  if (withSection(section, false, [&](HKEY key) { return queryValue(key, name, type, data, kMaxStringBytes); }) !=
      ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  return textFromBytes(data);
}

std::optional<uint32_t> RegistryProfile::getDword(const std::wstring& section,
                                                  const std::wstring& name) const {
  DWORD type = 0;
  std::vector<uint8_t> data;
  if (withSection(section, false, [&](HKEY key) { return queryValue(key, name, type, data, 8); }) !=
      ERROR_SUCCESS)
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
  if (withSection(section, false, [&](HKEY key) { return queryValue(key, name, type, data, limit); }) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return data;
}

bool RegistryProfile::setValue(const std::wstring& section, const std::wstring& name, DWORD type,
                               const void* data, size_t size) {
  return withSection(section, true, [&](HKEY key) {
           return RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(size));
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
  return withSection(section, false, [&](HKEY key) { return RegDeleteValueW(key, name.c_str()); }) ==
         ERROR_SUCCESS;
}

bool RegistryProfile::deleteSection(const std::wstring& section) {
  if (section.empty()) return false;  // never the whole profile
  forgetSection(section);
  std::wstring path = m_keyPath + L"\\" + section;
  return RegDeleteTreeW(m_root, path.c_str()) == ERROR_SUCCESS;
}

std::vector<ProfileValue> RegistryProfile::values(const std::wstring& section, size_t maxBytes) const {
  std::vector<ProfileValue> out;
  withSection(section, false, [&](HKEY key) {
    out.clear();
    DWORD count = 0, longestData = 0;
    const LONG info = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                                       nullptr, &longestData, nullptr, nullptr);
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
      v.kind = type == REG_DWORD                           ? ValueKind::kDword
               : (type == REG_SZ || type == REG_EXPAND_SZ) ? ValueKind::kString
                                                           : ValueKind::kBinary;
      v.data.assign(data.begin(), data.begin() + dataBytes);
      out.push_back(std::move(v));
    }
    return static_cast<LONG>(ERROR_SUCCESS);
  });
  return out;
}

}  // namespace vorbin
