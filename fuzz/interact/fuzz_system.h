// A launch system for fuzzing: answers derived from the text itself, so that
// every branch of the path rules can be reached without a file system.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "launcher/interact/launch_rules.h"

namespace vorbin {

class FuzzSystem : public LaunchSystem {
 public:
  explicit FuzzSystem(uint8_t answers) : m_answers(answers) {}

  std::optional<std::wstring> expandEnvironment(const std::wstring& text) override {
    std::wstring out;
    for (wchar_t c : text)
      out += (c == L'%' && (m_answers & 1)) ? std::wstring(L"C:\\Expanded") : std::wstring(1, c);
    if (out.size() > kMaxPathChars) return std::nullopt;
    return out;
  }
  bool exists(const std::wstring& path) override { return score(path) % 3 == 0; }
  bool isFolder(const std::wstring& path) override { return (score(path) & 2) != 0; }
  std::optional<std::wstring> searchPath(const std::wstring& name, const std::wstring& extension) override {
    if (score(name + extension) % 5 != 0) return std::nullopt;
    return L"C:\\Found\\" + name + extension;
  }
  std::wstring windowsFolder() override { return L"C:\\Windows"; }
  bool setCurrentFolder(const std::wstring& folder) override { return !folder.empty(); }
  bool is16BitWindowsProgram(const std::wstring&) override { return (m_answers & 2) != 0; }
  std::optional<std::wstring> shortPath(const std::wstring& path) override {
    if (m_answers & 4) return std::nullopt;
    return path.substr(0, 8);
  }
  std::wstring classDefaultVerb(const std::wstring& extension) override {
    return (m_answers & 8) ? extension : L"";
  }
  Association findExecutable(const std::wstring& file) override {
    if (m_answers & 16) return {31, L""};
    return {42, file + L".exe"};
  }

  // Texts from fuzz bytes: two bytes per character.
  static std::wstring text(const uint8_t* data, size_t size) {
    std::wstring out;
    for (size_t i = 0; i + 1 < size; i += 2) out += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return out;
  }

 private:
  static unsigned score(const std::wstring& s) {
    unsigned h = 7;
    for (wchar_t c : s) h = h * 31 + static_cast<unsigned>(c);
    return h;
  }
  uint8_t m_answers;
};

}  // namespace vorbin
