// A registry key with all its values and subkeys held in memory, so that a
// key can be replaced as a whole and put back when that fails half-way.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace backup {

struct RegistryValue {
  std::wstring name;
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
};

struct RegistryTree {
  std::wstring className;
  std::vector<RegistryValue> values;
  std::vector<std::pair<std::wstring, RegistryTree>> subkeys;
};

// Reads key (opened for reading) with everything below it.
LONG readRegistryTree(HKEY key, RegistryTree& tree);
// Deletes every value and subkey of key (opened with all access).
LONG clearRegistryKey(HKEY key);
// Writes the tree's values and subkeys into key; the first error stops it.
LONG writeRegistryTree(HKEY key, const RegistryTree& tree);

}  // namespace backup
