// Profile values in an INI file.
#include "launcher/model/ini_profile.h"

#include <algorithm>
#include <cwchar>

#include "framework/handle.h"
#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

// The longest value text read: a binary value of kMaxValueBytes in hexadecimal.
constexpr DWORD kMaxChars = 2 * kMaxValueBytes + 16;

// Calls a private-profile reader with a growing buffer until the answer fits
// (the reader reports a full buffer with size - 1, or size - 2 for lists).
template <class Read>
std::wstring readGrowing(Read read) {
  DWORD size = 256;
  std::wstring buffer;
  for (;;) {
    buffer.assign(size, L'\0');
    DWORD got = read(buffer.data(), size);
    if (got + 2 < size || size >= kMaxChars) {
      buffer.resize(std::min(got, size));
      return buffer;
    }
    size = std::min<DWORD>(size * 4, kMaxChars);
  }
}

// The reader drops the blanks around a value and one pair of quotes around it;
// values that need their blanks (" 0 128 192 50") or quotes are written quoted.
std::wstring quotedIfNeeded(const std::wstring& value) {
  if (value.empty()) return value;
  bool edge = isSpaceOrTab(value.front()) || isSpaceOrTab(value.back()) || value.front() == L'"' ||
              value.front() == L'\'';
  return edge ? L"\"" + value + L"\"" : value;
}

std::wstring unquoted(std::wstring value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::vector<std::wstring> splitList(const std::wstring& list) {
  std::vector<std::wstring> out;
  for (size_t at = 0; at < list.size();) {
    size_t end = list.find(L'\0', at);
    if (end == std::wstring::npos) end = list.size();
    if (end > at) out.emplace_back(list, at, end - at);
    at = end + 1;
  }
  return out;
}

int hexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

std::vector<std::wstring> IniProfile::keyNames(const std::wstring& section) const {
  return splitList(readGrowing([&](wchar_t* buffer, DWORD size) {
    return GetPrivateProfileStringW(section.c_str(), nullptr, L"", buffer, size, m_path.c_str());
  }));
}

std::optional<std::wstring> IniProfile::getString(const std::wstring& section,
                                                  const std::wstring& name) const {
  // An absent key and an empty value read alike: ask the key list.
  auto names = keyNames(section);
  if (std::none_of(names.begin(), names.end(),
                   [&](const std::wstring& n) { return equalsFoldingAscii(n, name); }))
    return std::nullopt;
  return readGrowing([&](wchar_t* buffer, DWORD size) {
    return GetPrivateProfileStringW(section.c_str(), name.c_str(), L"", buffer, size, m_path.c_str());
  });
}

std::optional<uint32_t> IniProfile::getDword(const std::wstring& section, const std::wstring& name) const {
  auto text = getString(section, name);
  if (!text) return std::nullopt;
  std::wstring_view digits = trimmed(*text, isSpaceOrTab);
  if (digits.empty()) return std::nullopt;
  size_t at = (digits[0] == L'-' || digits[0] == L'+') ? 1 : 0;
  if (at >= digits.size() || digits[at] < L'0' || digits[at] > L'9') return std::nullopt;
  int64_t value = 0;
  for (; at < digits.size() && digits[at] >= L'0' && digits[at] <= L'9'; ++at)
    value = std::min<int64_t>(value * 10 + (digits[at] - L'0'), 0xFFFFFFFFll);
  if (digits[0] == L'-') value = -std::min<int64_t>(value, 0x80000000ll);
  return static_cast<uint32_t>(value);
}

std::optional<std::vector<uint8_t>> IniProfile::getBinary(const std::wstring& section,
                                                          const std::wstring& name, size_t maxBytes) const {
  auto text = getString(section, name);
  if (!text || text->size() % 2 != 0 || text->size() / 2 > maxBytes) return std::nullopt;
  std::vector<uint8_t> data;
  data.reserve(text->size() / 2);
  for (size_t i = 0; i < text->size(); i += 2) {
    int high = hexDigit((*text)[i]), low = hexDigit((*text)[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    data.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return data;
}

bool IniProfile::ensureFile() {
  fw::UniqueHandle<fw::FileHandleTraits> file(
      CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError() == ERROR_FILE_EXISTS;  // an existing file keeps its encoding
  static const BYTE kBom[] = {0xFF, 0xFE};
  DWORD written = 0;
  return WriteFile(file.get(), kBom, sizeof(kBom), &written, nullptr) && written == sizeof(kBom);
}

bool IniProfile::setString(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
  if (!ensureFile()) return false;
  return WritePrivateProfileStringW(section.c_str(), name.c_str(), quotedIfNeeded(value).c_str(),
                                    m_path.c_str()) != FALSE;
}

bool IniProfile::setDword(const std::wstring& section, const std::wstring& name, uint32_t value) {
  return setString(section, name, std::to_wstring(static_cast<int32_t>(value)));
}

bool IniProfile::setBinary(const std::wstring& section, const std::wstring& name,
                           std::span<const uint8_t> data) {
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  text.reserve(data.size() * 2);
  for (uint8_t b : data) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 15]);
  }
  return setString(section, name, text);
}

bool IniProfile::deleteValue(const std::wstring& section, const std::wstring& name) {
  if (GetFileAttributesW(m_path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return WritePrivateProfileStringW(section.c_str(), name.c_str(), nullptr, m_path.c_str()) != FALSE;
}

bool IniProfile::deleteSection(const std::wstring& section) {
  if (GetFileAttributesW(m_path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, m_path.c_str()) != FALSE;
}

std::vector<ProfileValue> IniProfile::values(const std::wstring& section, size_t maxBytes) const {
  std::wstring list = readGrowing([&](wchar_t* buffer, DWORD size) {
    return GetPrivateProfileSectionW(section.c_str(), buffer, size, m_path.c_str());
  });
  std::vector<ProfileValue> out;
  for (const std::wstring& line : splitList(list)) {
    size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    std::wstring name(trimmed(std::wstring_view(line).substr(0, equals), isSpaceOrTab));
    std::wstring value =
        unquoted(std::wstring(trimmed(std::wstring_view(line).substr(equals + 1), isSpaceOrTab)));
    if (name.size() > kMaxValueNameChars || value.size() * 2 > maxBytes) continue;
    out.push_back({name, ValueKind::kString, utf16Bytes(value)});
  }
  return out;
}

void IniProfile::flush() const { WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str()); }

}  // namespace vorbin
