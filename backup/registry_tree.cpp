// Reading, clearing and writing whole registry trees.
#include "backup/registry_tree.h"

#include "framework/handle.h"
#include "framework/trace.h"

namespace backup {

namespace {
// Deeper than the registry allows; a guard against a crafted hive.
constexpr int kMaxDepth = 512;

struct KeyInfo {
  DWORD subkeys = 0, maxSubkeyLength = 0, maxClassLength = 0;
  DWORD values = 0, maxValueNameLength = 0, maxValueLength = 0;
};

LONG queryInfo(HKEY key, std::wstring* className, KeyInfo& info) {
  wchar_t classBuffer[MAX_PATH + 1] = {};
  DWORD classLength = MAX_PATH + 1;
  LONG rc = RegQueryInfoKeyW(key, className ? classBuffer : nullptr, className ? &classLength : nullptr,
                             nullptr, &info.subkeys, &info.maxSubkeyLength, &info.maxClassLength,
                             &info.values, &info.maxValueNameLength, &info.maxValueLength, nullptr, nullptr);
  if (rc == ERROR_MORE_DATA && className) {
    // A class longer than any we write: read the rest without it.
    rc = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &info.subkeys, &info.maxSubkeyLength,
                          &info.maxClassLength, &info.values, &info.maxValueNameLength, &info.maxValueLength,
                          nullptr, nullptr);
    classLength = 0;
  }
  if (rc != ERROR_SUCCESS) {
    FW_TRACE_FAILURE_CODE("RegQueryInfoKeyW", rc);
    return rc;
  }
  if (className) className->assign(classBuffer, classLength);
  return rc;
}

LONG readValues(HKEY key, const KeyInfo& info, RegistryTree& tree) {
  std::vector<wchar_t> name(info.maxValueNameLength + 2);
  std::vector<uint8_t> data(info.maxValueLength + 2);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    LONG rc = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
    if (rc == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (rc == ERROR_MORE_DATA) {
      // The key changed under us: grow and read this entry again.
      name.resize(name.size() * 2 + 16);
      data.resize(data.size() * 2 + 16);
      if (name.size() > 65536 || data.size() > (1u << 30)) {
        FW_TRACE_FAILURE_CODE("RegEnumValueW", rc);
        return rc;
      }
      --index;
      continue;
    }
    if (rc != ERROR_SUCCESS) {
      FW_TRACE_FAILURE_CODE("RegEnumValueW", rc);
      return rc;
    }
    tree.values.push_back({std::wstring(name.data(), nameLength), type,
                           std::vector<uint8_t>(data.begin(), data.begin() + dataSize)});
  }
}

LONG readTree(HKEY key, RegistryTree& tree, int depth) {
  if (depth > kMaxDepth) return ERROR_BADDB;
  KeyInfo info;
  LONG rc = queryInfo(key, &tree.className, info);
  if (rc != ERROR_SUCCESS) return rc;
  rc = readValues(key, info, tree);
  if (rc != ERROR_SUCCESS) return rc;

  std::vector<wchar_t> name(info.maxSubkeyLength + 2);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    rc = RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (rc == ERROR_MORE_DATA && name.size() < 1024) {
      name.resize(1024);
      --index;
      continue;
    }
    if (rc != ERROR_SUCCESS) {
      FW_TRACE_FAILURE_CODE("RegEnumKeyExW", rc);
      return rc;
    }
    std::wstring subkeyName(name.data(), nameLength);
    fw::RegKey subkey;
    rc = RegOpenKeyExW(key, subkeyName.c_str(), 0, KEY_READ, subkey.put());
    if (rc != ERROR_SUCCESS) {
      FW_TRACE_FAILURE_CODE("RegOpenKeyExW", rc);
      return rc;
    }
    RegistryTree child;
    rc = readTree(subkey.get(), child, depth + 1);
    if (rc != ERROR_SUCCESS) return rc;
    tree.subkeys.emplace_back(std::move(subkeyName), std::move(child));
  }
}

LONG writeTree(HKEY key, const RegistryTree& tree, int depth) {
  if (depth > kMaxDepth) return ERROR_BADDB;
  for (const RegistryValue& value : tree.values) {
    LONG rc = RegSetValueExW(key, value.name.c_str(), 0, value.type,
                             value.data.empty() ? nullptr : value.data.data(),
                             static_cast<DWORD>(value.data.size()));
    if (rc != ERROR_SUCCESS) {
      FW_TRACE_FAILURE_CODE("RegSetValueExW", rc);
      return rc;
    }
  }
  for (const auto& [name, child] : tree.subkeys) {
    fw::RegKey subkey;
    std::wstring className = child.className;
    LONG rc = RegCreateKeyExW(key, name.c_str(), 0, className.empty() ? nullptr : className.data(), 0,
                              KEY_ALL_ACCESS, nullptr, subkey.put(), nullptr);
    if (rc != ERROR_SUCCESS) {
      FW_TRACE_FAILURE_CODE("RegCreateKeyExW", rc);
      return rc;
    }
    rc = writeTree(subkey.get(), child, depth + 1);
    if (rc != ERROR_SUCCESS) return rc;
  }
  return ERROR_SUCCESS;
}
}  // namespace

LONG readRegistryTree(HKEY key, RegistryTree& tree) {
  tree = {};
  return readTree(key, tree, 0);
}

LONG clearRegistryKey(HKEY key) {
  // Names first, then deletions: deleting while enumerating by index would
  // skip entries, and one that can't be deleted must not loop for ever.
  RegistryTree current;
  LONG rc = readRegistryTree(key, current);
  if (rc != ERROR_SUCCESS) return rc;
  for (const RegistryValue& value : current.values) {
    rc = RegDeleteValueW(key, value.name.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) {
      FW_TRACE_FAILURE_CODE("RegDeleteValueW", rc);
      return rc;
    }
  }
  for (const auto& subkey : current.subkeys) {
    rc = RegDeleteTreeW(key, subkey.first.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) {
      FW_TRACE_FAILURE_CODE("RegDeleteTreeW", rc);
      return rc;
    }
  }
  return ERROR_SUCCESS;
}

LONG writeRegistryTree(HKEY key, const RegistryTree& tree) { return writeTree(key, tree, 0); }

}  // namespace backup
