// Typed reads shared by all profile back ends, and the in-memory back end.
#include "launcher/model/profile.h"

#include <algorithm>
#include <cstring>

#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

// The registry compares names without regard to case; so does the memory profile.
bool sameName(const std::wstring& a, const std::wstring& b) { return equalsFoldingAscii(a, b); }

std::wstring folded(const std::wstring& s) {
  std::wstring out = s;
  std::transform(out.begin(), out.end(), out.begin(), foldAscii);
  return out;
}

}  // namespace

std::wstring wideFromUtf16(std::span<const char16_t> units) {
  std::wstring out;
  out.reserve(units.size());
  if constexpr (sizeof(wchar_t) == 2) {
    for (char16_t u : units) out.push_back(static_cast<wchar_t>(u));
  } else {
    for (size_t i = 0; i < units.size(); ++i) {
      char32_t c = units[i];
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
          units[i + 1] < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
        ++i;
      }
      out.push_back(static_cast<wchar_t>(c));
    }
  }
  return out;
}

void appendUtf16(std::vector<uint8_t>& out, const std::wstring& text) {
  auto put = [&out](uint32_t u) {
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>((u >> 8) & 0xFF));
  };
  for (wchar_t wc : text) {
    uint32_t c = static_cast<uint32_t>(wc);
    if constexpr (sizeof(wchar_t) > 2) {
      if (c >= 0x10000 && c <= 0x10FFFF) {
        c -= 0x10000;
        put(0xD800 + (c >> 10));
        put(0xDC00 + (c & 0x3FF));
        continue;
      }
      if (c > 0xFFFF) c = 0xFFFD;
    }
    put(c);
  }
}

std::vector<uint8_t> utf16Bytes(const std::wstring& text) {
  std::vector<uint8_t> out;
  appendUtf16(out, text);
  return out;
}

int Profile::getInt(const std::wstring& section, const std::wstring& name, int fallback) const {
  auto v = getDword(section, name);
  return v ? static_cast<int>(*v) : fallback;
}

std::wstring Profile::getText(const std::wstring& section, const std::wstring& name,
                              const std::wstring& fallback) const {
  auto v = getString(section, name);
  return v ? *v : fallback;
}

// ---- MemoryProfile

const ProfileValue* MemoryProfile::find(const std::wstring& section, const std::wstring& name) const {
  auto it = m_sections.find(folded(section));
  if (it == m_sections.end()) return nullptr;
  for (const ProfileValue& v : it->second)
    if (sameName(v.name, name)) return &v;
  return nullptr;
}

void MemoryProfile::put(const std::wstring& section, ProfileValue value) {
  ++m_writes;
  auto& list = m_sections[folded(section)];
  for (ProfileValue& v : list) {
    if (sameName(v.name, value.name)) {
      v.kind = value.kind;
      v.data = std::move(value.data);
      return;
    }
  }
  list.push_back(std::move(value));
}

std::optional<std::wstring> MemoryProfile::getString(const std::wstring& section,
                                                     const std::wstring& name) const {
  const ProfileValue* v = find(section, name);
  if (!v || v->kind != ValueKind::kString) return std::nullopt;
  std::vector<char16_t> units(v->data.size() / 2);
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(v->data[2 * i] | (v->data[2 * i + 1] << 8));
  // Stored strings may carry their terminator and anything after it.
  auto end = std::find(units.begin(), units.end(), u'\0');
  return wideFromUtf16(std::span<const char16_t>(units.data(), static_cast<size_t>(end - units.begin())));
}

std::optional<uint32_t> MemoryProfile::getDword(const std::wstring& section, const std::wstring& name) const {
  const ProfileValue* v = find(section, name);
  if (!v || v->kind != ValueKind::kDword || v->data.size() != 4) return std::nullopt;
  return static_cast<uint32_t>(v->data[0]) | (static_cast<uint32_t>(v->data[1]) << 8) |
         (static_cast<uint32_t>(v->data[2]) << 16) | (static_cast<uint32_t>(v->data[3]) << 24);
}

std::optional<std::vector<uint8_t>> MemoryProfile::getBinary(const std::wstring& section,
                                                             const std::wstring& name,
                                                             size_t maxBytes) const {
  const ProfileValue* v = find(section, name);
  if (!v || v->data.size() > maxBytes) return std::nullopt;
  return v->data;
}

bool MemoryProfile::setString(const std::wstring& section, const std::wstring& name,
                              const std::wstring& value) {
  put(section, ProfileValue{name, ValueKind::kString, utf16Bytes(value)});
  return true;
}

bool MemoryProfile::setDword(const std::wstring& section, const std::wstring& name, uint32_t value) {
  std::vector<uint8_t> data{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  put(section, ProfileValue{name, ValueKind::kDword, std::move(data)});
  return true;
}

bool MemoryProfile::setBinary(const std::wstring& section, const std::wstring& name,
                              std::span<const uint8_t> data) {
  put(section, ProfileValue{name, ValueKind::kBinary, std::vector<uint8_t>(data.begin(), data.end())});
  return true;
}

bool MemoryProfile::deleteValue(const std::wstring& section, const std::wstring& name) {
  auto it = m_sections.find(folded(section));
  if (it == m_sections.end()) return false;
  auto& list = it->second;
  auto pos =
      std::find_if(list.begin(), list.end(), [&](const ProfileValue& v) { return sameName(v.name, name); });
  if (pos == list.end()) return false;
  list.erase(pos);
  return true;
}

bool MemoryProfile::deleteSection(const std::wstring& section) {
  return m_sections.erase(folded(section)) != 0;
}

std::vector<ProfileValue> MemoryProfile::values(const std::wstring& section, size_t maxBytes) const {
  std::vector<ProfileValue> out;
  auto it = m_sections.find(folded(section));
  if (it == m_sections.end()) return out;
  for (const ProfileValue& v : it->second)
    if (v.name.size() <= kMaxValueNameChars && v.data.size() <= maxBytes) out.push_back(v);
  return out;
}

bool MemoryProfile::hasSection(const std::wstring& section) const {
  return m_sections.count(folded(section)) != 0;
}

size_t MemoryProfile::valueCount(const std::wstring& section) const {
  auto it = m_sections.find(folded(section));
  return it == m_sections.end() ? 0 : it->second.size();
}

}  // namespace vorbin
