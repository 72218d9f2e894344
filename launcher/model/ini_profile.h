// The profile in an INI file (a skin's VorbSkin.ini), through the system's
// private-profile functions. INI values have no types: numbers are decimal
// text and binary data hexadecimal text.
#pragma once
#include <windows.h>

#include "launcher/model/profile.h"

namespace vorbin {

class IniProfile : public Profile {
 public:
  explicit IniProfile(std::wstring path) : m_path(std::move(path)) {}

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

  const std::wstring& path() const { return m_path; }
  // Writes pending changes to the disk (the system keeps the file cached).
  void flush() const;

 private:
  // The system writes a new file in the ANSI code page, where names outside
  // it become "?": a file that starts with a UTF-16 byte-order mark is
  // written in UTF-16 from then on.
  bool ensureFile();
  std::vector<std::wstring> keyNames(const std::wstring& section) const;

  std::wstring m_path;
};

}  // namespace vorbin
