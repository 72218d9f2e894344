// The registry back end of the profile.
#include "launcher/model/registry_profile.h"

#include <algorithm>
#include <cstring>

#include "framework/handle.h"

namespace vorbin {

namespace {

using RegKey = fw::UniqueHandle<fw::RegKeyTraits>;

// Longest text read from the profile (the group order of thousands of groups fits).
constexpr DWORD kMaxStringBytes = 1u << 20;

// Reads a value of any type, at most maxBytes of data.
bool queryValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<uint8_t>& data, DWORD maxBytes) {
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (size > maxBytes) return false;
  data.resize(size);
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return false;
  data.resize(size);
  return true;
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

HKEY RegistryProfile::openSection(const std::wstring& section, bool create) const {
  std::wstring path = m_keyPath + L"\\" + section;
  HKEY key = nullptr;
  LONG rc = create ? RegCreateKeyExW(m_root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                                     nullptr)
                   : RegOpenKeyExW(m_root, path.c_str(), 0, KEY_READ | KEY_WRITE, &key);
  return rc == ERROR_SUCCESS ? key : nullptr;
}

std::optional<std::wstring> RegistryProfile::getString(const std::wstring& section,
                                                       const std::wstring& name) const {
  RegKey key(openSection(section, false));
  DWORD type = 0;
  std::vector<uint8_t> data;
  if (!key || !queryValue(key.get(), name, type, data, kMaxStringBytes)) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  return textFromBytes(data);
}

std::optional<uint32_t> RegistryProfile::getDword(const std::wstring& section,
                                                  const std::wstring& name) const {
  RegKey key(openSection(section, false));
  DWORD type = 0;
  std::vector<uint8_t> data;
  if (!key || !queryValue(key.get(), name, type, data, 8)) return std::nullopt;
  if (type != REG_DWORD || data.size() != 4) return std::nullopt;
  uint32_t v = 0;
  memcpy(&v, data.data(), 4);
  return v;
}

std::optional<std::vector<uint8_t>> RegistryProfile::getBinary(const std::wstring& section,
                                                               const std::wstring& name,
                                                               size_t maxBytes) const {
  RegKey key(openSection(section, false));
  DWORD type = 0;
  std::vector<uint8_t> data;
  if (!key ||
      !queryValue(key.get(), name, type, data, static_cast<DWORD>(std::min<size_t>(maxBytes, MAXDWORD))))
    return std::nullopt;
  return data;
}

bool RegistryProfile::setValue(const std::wstring& section, const std::wstring& name, DWORD type,
                               const void* data, size_t size) {
  RegKey key(openSection(section, true));
  return key && RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                               static_cast<DWORD>(size)) == ERROR_SUCCESS;
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
  RegKey key(openSection(section, false));
  return key && RegDeleteValueW(key.get(), name.c_str()) == ERROR_SUCCESS;
}

bool RegistryProfile::deleteSection(const std::wstring& section) {
  if (section.empty()) return false;  // never the whole profile
  std::wstring path = m_keyPath + L"\\" + section;
  return RegDeleteTreeW(m_root, path.c_str()) == ERROR_SUCCESS;
}

std::vector<ProfileValue> RegistryProfile::values(const std::wstring& section, size_t maxBytes) const {
  std::vector<ProfileValue> out;
  RegKey key(openSection(section, false));
  if (!key) return out;
  DWORD count = 0, longestData = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return out;
  std::vector<wchar_t> name(kMaxValueNameChars + 1);
  std::vector<uint8_t> data(std::min<size_t>(maxBytes, longestData) + 1);
  out.reserve(count);
  for (DWORD index = 0;; ++index) {
    DWORD nameChars = static_cast<DWORD>(name.size());
    DWORD dataBytes = static_cast<DWORD>(data.size());
    DWORD type = 0;
    LONG rc =
        RegEnumValueW(key.get(), index, name.data(), &nameChars, nullptr, &type, data.data(), &dataBytes);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS || dataBytes > maxBytes) continue;  // too long a name or data: not ours to read
    ProfileValue v;
    v.name.assign(name.data(), nameChars);
    v.kind = type == REG_DWORD                           ? ValueKind::kDword
             : (type == REG_SZ || type == REG_EXPAND_SZ) ? ValueKind::kString
                                                         : ValueKind::kBinary;
    v.data.assign(data.begin(), data.begin() + dataBytes);
    out.push_back(std::move(v));
  }
  return out;
}

}  // namespace vorbin
