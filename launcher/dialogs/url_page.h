// The web-link page of a web item's property sheet: the item's thumbnail and
// the button that photographs the page again.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "framework/property_sheet.h"
#include "launcher/render/jpeg_file.h"
#include "launcher/services/thumbnail_capture.h"

namespace vorbin {

struct Item;

class CSetUrl : public fw::CMappedDialog<CSetUrl, fw::CPropertyPage> {
 public:
  // thumbnail: the item's file name (text 4); url: the address as the sheet
  // holds it now.
  CSetUrl(std::wstring thumbnail, std::function<std::wstring()> url, const ThumbnailContext& context);
  static std::span<const fw::MessageEntry<CSetUrl>> messageMap();
  static std::span<const fw::CommandEntry<CSetUrl>> commandMap();

  const std::wstring& thumbnail() const { return m_thumbnail; }
  bool madeNewFile() const { return m_madeNew; }
  // After OK: the item names the page's file. Returns the name it replaced,
  // for the caller to delete once no other button names it.
  std::wstring commitTo(Item& item) const;
  // After Cancel: the file this page made goes.
  void discardNewFile();

 protected:
  bool onInitDialog() override;

 private:
  LRESULT onDrawItem(WPARAM wParam, LPARAM lParam);
  void onCapture();
  void loadPicture();

  std::wstring m_thumbnail;
  std::function<std::wstring()> m_url;
  ThumbnailContext m_context;
  bool m_madeNew = false;
  std::optional<JpegPicture> m_picture;
};

// The picture a web item names, looked up as a bare name in the data folder,
// then beside the program; nothing for any other name or an unreadable file.
std::optional<JpegPicture> loadThumbnail(const std::wstring& name);

// Draws picture into box of dc, shrunk to fit with its proportions, centred.
void drawThumbnail(HDC dc, const RECT& box, const JpegPicture& picture);

}  // namespace vorbin
