// Skins on disk: one folder per skin directly inside the data folder, holding
// VorbSkin.ini and the skin's picture files. Every operation checks the name
// first, so no skin name reaches the data folder itself, its parent or a
// place outside it.
#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "launcher/model/settings.h"

namespace vorbin {

// Copies the pictures named by full paths into folder (one copy per distinct
// file, clashing names renamed) and replaces the paths by the file names there.
// A slot whose copy fails keeps its name from `previous`. False when a copy failed.
bool placePictures(std::array<std::wstring, kPictureCount>& pictures, const std::wstring& folder,
                   const std::array<std::wstring, kPictureCount>& previous);

class SkinStore {
 public:
  // dataFolder ends in a backslash.
  explicit SkinStore(std::wstring dataFolder) : m_dataFolder(std::move(dataFolder)) {}

  const std::wstring& dataFolder() const { return m_dataFolder; }
  bool nameAcceptable(const std::wstring& storedName) const;
  // The skin folder with its trailing backslash; empty for a refused name.
  std::wstring folder(const std::wstring& storedName) const;

  // The skins whose folder holds a skin file, sorted without regard to case.
  std::vector<std::wstring> list() const;
  bool exists(const std::wstring& storedName) const;
  // Reads a skin; its picture names become full paths in the skin folder.
  bool load(const std::wstring& storedName, Colors& colors) const;
  // Saves colors (pictures as full paths) as a skin. loadedFrom names the skin
  // the values came from: saving under that name updates its folder in place;
  // another existing skin of the name is replaced, unless a picture of the
  // values lies in its folder. Picture files the old skin file named and the
  // new one does not are deleted. The values themselves are left unchanged.
  bool save(const std::wstring& storedName, const std::wstring& loadedFrom, const Colors& colors) const;
  // Deletes a skin folder with its contents, after checking that it is a
  // folder directly inside the data folder.
  bool remove(const std::wstring& storedName) const;

 private:
  bool directChild(const std::wstring& folder) const;
  bool removeFolder(const std::wstring& folder) const;

  std::wstring m_dataFolder;
};

}  // namespace vorbin
