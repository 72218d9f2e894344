// The profile in the registry: one key per section under the launcher's key
// of the current user (HKCU\Software\Ornel\vorbin96 by default).
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string_view>

#include "launcher/model/profile.h"

namespace vorbin {

inline constexpr wchar_t kProfileKeyPath[] = L"Software\\Ornel\\vorbin96";

class RegistryProfile : public Profile {
 public:
  explicit RegistryProfile(std::wstring keyPath = kProfileKeyPath, HKEY root = HKEY_CURRENT_USER);
  ~RegistryProfile() override;
  RegistryProfile(const RegistryProfile&) = delete;
  RegistryProfile& operator=(const RegistryProfile&) = delete;

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

  const std::wstring& keyPath() const { return m_keyPath; }

  // Reads every section of the profile at once and answers reads from that
  // copy until dropSnapshot(). The start reads a few thousand values, and a
  // request to the registry's owner spends most of its time waiting for the
  // other side to wake up: two readers (this thread and a helper) share the
  // sections out and get through about three times as many. A write to a
  // section, or its deletion, makes that section read live again; sections
  // below sections (with a backslash) are always read live. Without a
  // profile key every section reads as absent and no helper is started.
  void takeSnapshot();
  void dropSnapshot();
  bool hasSnapshot() const { return m_snapshotActive; }

  // Value and section names compare without regard to case, as the registry's do.
  struct NoCaseLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const;
  };

  // A section's values in a few flat buffers: a few allocations to make and
  // free whatever the number of values (a thousand items are four thousand
  // small blocks otherwise).
  struct SectionCopy {
    struct Entry {
      size_t name = 0, nameLength = 0, data = 0, dataLength = 0;
      DWORD type = REG_NONE;
    };
    std::vector<Entry> entries;  // in the registry's order
    std::vector<wchar_t> names;
    std::vector<uint8_t> bytes;
    std::vector<uint32_t> byName;  // entries by name, without regard to case

    std::wstring_view nameOf(const Entry& e) const { return {names.data() + e.name, e.nameLength}; }
    const uint8_t* dataOf(const Entry& e) const { return bytes.data() + e.data; }
    void add(std::wstring_view name, DWORD type, const uint8_t* data, size_t length);
    void index();
    const Entry* find(std::wstring_view name) const;
  };

 private:
  // The copy of a section, or nullptr when it is read live; absent is set
  // when the snapshot knows the section does not exist.
  const SectionCopy* snapshotSection(const std::wstring& section, bool& absent) const;
  // queryValue answered from the snapshot, or nothing when it must go live.
  std::optional<LONG> snapshotQuery(const std::wstring& section, const std::wstring& name, DWORD& type,
                                    std::vector<uint8_t>& data, DWORD maxBytes) const;
  void readLive(const std::wstring& section);

  // Section keys stay open once used: every registry call is a round trip to
  // the registry's owner, and the start reads a few hundred values.
  HKEY openSection(const std::wstring& section, bool create) const;
  void forgetSection(const std::wstring& section) const;
  // Runs an operation on the section's key; a key deleted behind our back
  // (the backup program, another copy) is opened afresh once.
  LONG withSection(const std::wstring& section, bool create, const std::function<LONG(HKEY)>& operation) const;
  bool setValue(const std::wstring& section, const std::wstring& name, DWORD type, const void* data,
                size_t size);

  std::wstring m_keyPath;
  HKEY m_root;
  mutable std::map<std::wstring, HKEY> m_open;
  bool m_snapshotActive = false;
  bool m_snapshotComplete = false;  // every section of the profile was listed
  std::map<std::wstring, SectionCopy, NoCaseLess> m_snapshot;
  std::set<std::wstring, NoCaseLess> m_liveSections;
};

}  // namespace vorbin
