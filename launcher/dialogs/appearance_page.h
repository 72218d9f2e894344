// The appearance page of the options sheet: colours, pictures, weights, the
// bar font and skins. It edits the sheet's copies only; commit() makes the
// choice permanent when the sheet is accepted, so Cancel leaves the bar alone.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "framework/property_sheet.h"
#include "launcher/model/profile.h"
#include "launcher/model/settings.h"

namespace vorbin {

struct AppearanceContext {
  Settings& settings;  // the sheet's copy: font values
  Colors& colors;      // the sheet's copy: colours, pictures, weights
  Profile& profile;    // where Colors, the weights and SkinName are written on commit
  std::wstring dataFolder;
  HINSTANCE resources;  // the language library
};

class CAppearancePage : public fw::CPropertyPage {
 public:
  explicit CAppearancePage(AppearanceContext context);
  ~CAppearancePage() override;

  // On the sheet's OK, before the bar takes the settings: copies chosen pictures into the data
  // folder, fixes the picture names in the copy, writes Colors, weights and SkinName.
  // Answers whether the look changed.
  bool commit();

  // What the page holds now (for its tests): the working copy, its pictures
  // as full paths, the chosen skin and whether OK must commit.
  const Colors& table() const;
  const std::wstring& skinName() const;
  bool modified() const;
  HBITMAP picture(int slot) const;

 protected:
  bool onInitDialog() override;
  bool onKillActive() override;
  bool handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct State;
  void loadBitmaps();
  // Sets a slot's picture; a file another slot shows shares that slot's bitmap.
  void setPicture(int slot, std::wstring path);  // by value: it may be the slot's own name
  void storeNumbers();
  void showEntry();
  void showFontLine();
  // A value changed: the page must commit and no longer shows a skin.
  void changed();
  void pictureForAll();
  void chooseColor();
  void choosePicture();
  void removePicture();
  void chooseFont();
  void listSkins();
  void previewSkin(const std::wstring& name);
  void saveSkin();
  void deleteSkin();
  void drawSample(const DRAWITEMSTRUCT& draw);
  void drawPreview(const DRAWITEMSTRUCT& draw);
  void fillArea(HDC dc, const RECT& area, int color, int pictureSlot);
  AppearanceContext m_context;
  std::unique_ptr<State> m_state;
};

}  // namespace vorbin
