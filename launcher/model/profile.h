// The profile: named values in named sections, behind one interface so that
// the registry, an INI file (skins) or memory (tests) can hold them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorbin {

enum class ValueKind { kString, kDword, kBinary };

struct ProfileValue {
  std::wstring name;
  ValueKind kind = ValueKind::kBinary;
  std::vector<uint8_t> data;  // strings: UTF-16 code units, no terminator; dwords: 4 bytes LE
};

// Largest value data the launcher ever reads: packed lengths travel in 16 bits.
inline constexpr size_t kMaxValueBytes = 65535;
// Longest value name the launcher accepts while enumerating a section.
inline constexpr size_t kMaxValueNameChars = 519;

class Profile {
 public:
  virtual ~Profile() = default;

  virtual std::optional<std::wstring> getString(const std::wstring& section,
                                                const std::wstring& name) const = 0;
  virtual std::optional<uint32_t> getDword(const std::wstring& section, const std::wstring& name) const = 0;
  // Nothing when absent or longer than maxBytes.
  virtual std::optional<std::vector<uint8_t>> getBinary(const std::wstring& section, const std::wstring& name,
                                                        size_t maxBytes = kMaxValueBytes) const = 0;
  virtual bool setString(const std::wstring& section, const std::wstring& name,
                         const std::wstring& value) = 0;
  virtual bool setDword(const std::wstring& section, const std::wstring& name, uint32_t value) = 0;
  virtual bool setBinary(const std::wstring& section, const std::wstring& name,
                         std::span<const uint8_t> data) = 0;
  virtual bool deleteValue(const std::wstring& section, const std::wstring& name) = 0;
  virtual bool deleteSection(const std::wstring& section) = 0;
  // Every value of a section in storage order; names longer than
  // kMaxValueNameChars and data longer than maxBytes are left out.
  virtual std::vector<ProfileValue> values(const std::wstring& section,
                                           size_t maxBytes = kMaxValueBytes) const = 0;

  // Typed helpers shared by every back end.
  int getInt(const std::wstring& section, const std::wstring& name, int fallback) const;
  std::wstring getText(const std::wstring& section, const std::wstring& name,
                       const std::wstring& fallback = {}) const;
  bool setInt(const std::wstring& section, const std::wstring& name, int value) {
    return setDword(section, name, static_cast<uint32_t>(value));
  }
};

// A profile held in memory: the back end of the native tests and benchmarks.
class MemoryProfile : public Profile {
 public:
  std::optional<std::wstring> getString(const std::wstring& section, const std::wstring& name) const override;
  std::optional<uint32_t> getDword(const std::wstring& section, const std::wstring& name) const override;
  std::optional<std::vector<uint8_t>> getBinary(const std::wstring& section, const std::wstring& name,
                                                size_t maxBytes = kMaxValueBytes) const override;
  bool setString(const std::wstring& section, const std::wstring& name, const std::wstring& value) override;
  bool setDword(const std::wstring& section, const std::wstring& name, uint32_t value) override;
  bool setBinary(const std::wstring& section, const std::wstring& name,
                 std::span<const uint8_t> data) override;
  bool deleteValue(const std::wstring& section, const std::wstring& name) override;
  bool deleteSection(const std::wstring& section) override;
  std::vector<ProfileValue> values(const std::wstring& section,
                                   size_t maxBytes = kMaxValueBytes) const override;

  bool hasSection(const std::wstring& section) const;
  size_t valueCount(const std::wstring& section) const;
  // Counts of writes, to show that an operation left stored data alone.
  size_t writeCount() const { return m_writes; }

 private:
  const ProfileValue* find(const std::wstring& section, const std::wstring& name) const;
  void put(const std::wstring& section, ProfileValue value);

  // Values keep their insertion order, as the registry enumerates them.
  std::map<std::wstring, std::vector<ProfileValue>> m_sections;
  size_t m_writes = 0;
};

// UTF-16 code units <-> wide text, whatever the width of wchar_t.
std::wstring wideFromUtf16(std::span<const char16_t> units);
void appendUtf16(std::vector<uint8_t>& out, const std::wstring& text);
std::vector<uint8_t> utf16Bytes(const std::wstring& text);

}  // namespace vorbin
