// Skin folders: listing, reading, saving and deleting.
#include "launcher/dialogs/skin_store.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "framework/trace.h"
#include "launcher/dialogs/skin_rules.h"
#include "launcher/model/ini_profile.h"
#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

bool isFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring fullPath(const std::wstring& path) {
  std::wstring out(MAX_PATH, L'\0');
  for (;;) {
    DWORD got = GetFullPathNameW(path.c_str(), static_cast<DWORD>(out.size()), out.data(), nullptr);
    if (got == 0) return {};
    if (got < out.size()) {
      out.resize(got);
      return out;
    }
    out.resize(got + 1);
  }
}

std::wstring withoutBackslash(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

// The data folder is made on first use; a skin folder needs it first.
void makeFolder(const std::wstring& folder) {
  if (isFolder(folder)) return;
  if (int result = SHCreateDirectoryExW(nullptr, withoutBackslash(folder).c_str(), nullptr);
      result != ERROR_SUCCESS && result != ERROR_ALREADY_EXISTS)
    FW_TRACE_FAILURE_CODE("SHCreateDirectoryExW", result);
}

}  // namespace

bool placePictures(std::array<std::wstring, kPictureCount>& pictures, const std::wstring& folder,
                   const std::array<std::wstring, kPictureCount>& previous) {
  auto plan = planPictureCopies(pictures, folder);
  if (std::any_of(plan.begin(), plan.end(), [](const PictureCopy& p) { return p.copy; })) makeFolder(folder);
  bool allCopied = true;
  for (size_t i = 0; i < pictures.size(); ++i) {
    if (plan[i].source.empty()) {
      pictures[i].clear();
      continue;
    }
    bool ok = !plan[i].copy || CopyFileW(plan[i].source.c_str(), (folder + plan[i].name).c_str(), FALSE);
    if (!ok) {
      FW_TRACE_FAILURE("CopyFileW");
      allCopied = false;
      // A slot sharing this copy fails with it.
      for (size_t j = i + 1; j < pictures.size(); ++j) {
        if (!plan[j].copy && sameFileName(plan[j].source, plan[i].source) &&
            !sameFileName(folderOf(plan[j].source), folder))
          plan[j].name.clear();
      }
      pictures[i] = previous[i];
      continue;
    }
    pictures[i] = plan[i].name.empty() ? previous[i] : plan[i].name;
  }
  return allCopied;
}

bool SkinStore::nameAcceptable(const std::wstring& storedName) const {
  return skinNameAcceptable(storedName, m_dataFolder.size());
}

std::wstring SkinStore::folder(const std::wstring& storedName) const {
  return nameAcceptable(storedName) ? m_dataFolder + storedName + L"\\" : std::wstring{};
}

std::vector<std::wstring> SkinStore::list() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW((m_dataFolder + L"*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..") continue;
    if (exists(name)) names.push_back(name);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return foldAscii(x) < foldAscii(y); });
  });
  return names;
}

bool SkinStore::exists(const std::wstring& storedName) const {
  std::wstring skinFolder = folder(storedName);
  return !skinFolder.empty() && isFile(skinFolder + kSkinFileName);
}

bool SkinStore::load(const std::wstring& storedName, Colors& colors) const {
  if (!exists(storedName)) return false;
  std::wstring skinFolder = folder(storedName);
  IniProfile skin(skinFolder + kSkinFileName);
  readSkinColors(skin, colors);
  for (std::wstring& picture : colors.pictures) {
    if (!picture.empty()) picture = skinFolder + picture;
  }
  return true;
}

bool SkinStore::save(const std::wstring& storedName, const std::wstring& loadedFrom,
                     const Colors& colors) const {
  std::wstring skinFolder = folder(storedName);
  if (skinFolder.empty()) return false;
  const bool sameSkin = !loadedFrom.empty() && sameFileName(storedName, loadedFrom);
  const bool usesFolder =
      std::any_of(colors.pictures.begin(), colors.pictures.end(),
                  [&](const std::wstring& p) { return !p.empty() && sameFileName(folderOf(p), skinFolder); });
  if (!sameSkin && !usesFolder && isFolder(skinFolder) && !removeFolder(skinFolder)) return false;
  makeFolder(m_dataFolder);
  if (!CreateDirectoryW(skinFolder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    FW_TRACE_FAILURE("CreateDirectoryW");
    return false;
  }

  IniProfile skin(skinFolder + kSkinFileName);
  std::array<std::wstring, kPictureCount> oldNames;
  for (int i = 0; i < kPictureCount; ++i)
    oldNames[i] = skin.getText(kColorsSection, pictureName(static_cast<PictureSlot>(i)));
  std::array<std::wstring, kPictureCount> keep;
  for (int i = 0; i < kPictureCount; ++i) keep[i] = isBarePictureName(oldNames[i]) ? oldNames[i] : L"";

  Colors stored = colors;
  placePictures(stored.pictures, skinFolder, keep);
  for (const std::wstring& doomed : picturesToDelete(oldNames, stored.pictures)) {
    if (!DeleteFileW((skinFolder + doomed).c_str())) FW_TRACE_FAILURE("DeleteFileW");
  }
  saveColors(skin, stored);
  skin.flush();
  return isFile(skin.path());
}

bool SkinStore::directChild(const std::wstring& skinFolder) const {
  std::wstring target = withoutBackslash(fullPath(skinFolder));
  std::wstring parent = withoutBackslash(fullPath(m_dataFolder));
  if (target.empty() || parent.empty() || target.size() <= parent.size() + 1) return false;
  std::wstring_view rest = std::wstring_view(target).substr(parent.size());
  return sameFileName(std::wstring_view(target).substr(0, parent.size()), parent) && rest[0] == L'\\' &&
         rest.find_first_of(L"\\/", 1) == std::wstring_view::npos && rest != L"\\." && rest != L"\\..";
}

bool SkinStore::removeFolder(const std::wstring& skinFolder) const {
  if (!directChild(skinFolder) || !isFolder(skinFolder)) return false;
  // A link to another place is removed as a link, never followed.
  if (GetFileAttributesW(skinFolder.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT)
    return RemoveDirectoryW(withoutBackslash(skinFolder).c_str()) != FALSE;
  std::wstring from = withoutBackslash(skinFolder);
  from.push_back(L'\0');  // the shell wants a list ending in two terminators
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  if (int result = SHFileOperationW(&operation); result != 0)
    FW_TRACE_FAILURE_CODE("SHFileOperationW", result);
  return !isFolder(skinFolder);
}

bool SkinStore::remove(const std::wstring& storedName) const {
  std::wstring skinFolder = folder(storedName);
  if (skinFolder.empty()) return false;
  if (!isFolder(skinFolder)) return true;
  return removeFolder(skinFolder);
}

}  // namespace vorbin
