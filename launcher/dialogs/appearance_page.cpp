// The appearance page: the entry list, colour and picture buttons, numbers,
// the bar font and the skin list, all on a copy of the bar's appearance.
#include "launcher/dialogs/appearance_page.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>

#include "framework/gdi.h"
#include "launcher/dialogs/skin_rules.h"
#include "launcher/dialogs/skin_store.h"
#include "launcher/render/slot_pictures.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/program_picker.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

namespace {

COLORREF colorRef(const ColorValue& c) { return RGB(c.r, c.g, c.b); }

std::wstring stringFrom(HINSTANCE library, unsigned id) {
  return library ? resourceStringFrom(library, id, kLongString) : resourceString(id);
}

std::wstring comboText(HWND combo, int index) {
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}

bool sameLook(const Colors& a, const Colors& b) {
  if (a.colors != b.colors || a.ellipseWidth != b.ellipseWidth || a.actAlpha != b.actAlpha ||
      a.nonActAlphaGp != b.nonActAlphaGp || a.nonActAlphaAp != b.nonActAlphaAp ||
      a.nonActAlphaQk != b.nonActAlphaQk || a.actColorAlpha != b.actColorAlpha)
    return false;
  for (int i = 0; i < kPictureCount; ++i) {
    if (!sameFileName(a.pictures[i], b.pictures[i])) return false;
  }
  return true;
}

// The name dialog of a skin save.
class CSkinNameDialog : public fw::CDialog {
 public:
  CSkinNameDialog(HINSTANCE resources, std::wstring name)
      : CDialog(IDD_SKIN_NAME, resources), m_name(std::move(name)) {
    m_usesCommonControls = false;
  }
  const std::wstring& name() const { return m_name; }

 protected:
  void doDataExchange(fw::DataExchange& dx) override { dx.text(IDC_SKIN_NAME_EDIT, m_name, MAX_PATH); }

 private:
  std::wstring m_name;
};

}  // namespace

struct CAppearancePage::State {
  explicit State(std::wstring dataFolder) : store(std::move(dataFolder)) {}

  Colors table;  // pictures as full paths while on the page
  // One bitmap per picture slot; slots showing the same file share it, and
  // the last one to let go frees it.
  std::array<std::shared_ptr<fw::Bitmap>, kPictureCount> bitmaps;
  int current = 0;
  std::wstring skinName;    // the chosen skin; empty once the table no longer matches one
  std::wstring loadedSkin;  // the skin the table came from: a save under its name updates it in place
  bool modified = false;
  bool busy = false;
  std::wstring fontFace;
  int fontTenths = 90;
  bool italic = false, bold = false, userFont = false;
  SkinStore store;
};

CAppearancePage::CAppearancePage(AppearanceContext context)
    : CPropertyPage(IDD_APPEARANCE, context.resources),
      m_context(std::move(context)),
      m_state(std::make_unique<State>(m_context.dataFolder)) {
  State& s = *m_state;
  s.table = m_context.colors;
  for (std::wstring& picture : s.table.pictures) {
    picture = picture.empty() || !isBarePictureName(picture) ? L"" : m_context.dataFolder + picture;
  }
  s.skinName = s.loadedSkin = m_context.settings.skinName;
  s.userFont = m_context.settings.userFont;
  s.fontFace = m_context.settings.fontName;
  s.fontTenths = pointsToTenths(m_context.settings.userFontSize);
  s.italic = m_context.settings.isFontItalic;
  s.bold = m_context.settings.isFontBold;
  loadBitmaps();
}

CAppearancePage::~CAppearancePage() = default;

void CAppearancePage::loadBitmaps() {
  State& s = *m_state;
  for (int i = 0; i < kPictureCount; ++i) s.bitmaps[i].reset();
  for (int i = 0; i < kPictureCount; ++i) setPicture(i, s.table.pictures[i]);
}

void CAppearancePage::setPicture(int slot, std::wstring path) {
  State& s = *m_state;
  s.bitmaps[slot].reset();
  s.table.pictures[slot].clear();
  if (path.empty()) return;
  for (int other = 0; other < kPictureCount; ++other) {
    if (other != slot && s.bitmaps[other] && sameFileName(s.table.pictures[other], path)) {
      s.bitmaps[slot] = s.bitmaps[other];
      s.table.pictures[slot] = path;
      return;
    }
  }
  fw::Bitmap bitmap = loadPictureFile(path);
  if (!bitmap) return;  // a picture that cannot be loaded leaves the slot empty
  s.bitmaps[slot] = std::make_shared<fw::Bitmap>(std::move(bitmap));
  s.table.pictures[slot] = path;
}

const Colors& CAppearancePage::table() const { return m_state->table; }
const std::wstring& CAppearancePage::skinName() const { return m_state->skinName; }
bool CAppearancePage::modified() const { return m_state->modified; }
HBITMAP CAppearancePage::picture(int slot) const {
  const auto& bitmap = m_state->bitmaps[std::clamp(slot, 0, kPictureCount - 1)];
  return bitmap ? bitmap->get() : nullptr;
}

bool CAppearancePage::commit() {
  State& s = *m_state;
  if (initialized()) storeNumbers();
  if (!s.modified) return false;
  Colors& live = m_context.colors;
  Colors chosen = s.table;
  placePictures(chosen.pictures, m_context.dataFolder, live.pictures);
  live = chosen;
  saveColors(m_context.profile, live);
  m_context.settings.skinName = s.skinName;
  m_context.profile.setString(kSettingsSection, L"SkinName", s.skinName);
  m_context.settings.userFont = s.userFont;
  if (s.userFont) {
    m_context.settings.fontName = s.fontFace;
    m_context.settings.userFontSize = tenthsToPoints(s.fontTenths);
    m_context.settings.isFontItalic = s.italic;
    m_context.settings.isFontBold = s.bold;
  }
  s.modified = false;
  return true;
}

// ---- Page

bool CAppearancePage::onInitDialog() {
  State& s = *m_state;
  s.busy = true;
  HWND entries = item(IDC_APP_ENTRY);
  for (int i = 0; i < kAppearanceEntryCount; ++i) {
    std::wstring name = stringFrom(m_context.resources, IDS_APPEARANCE_ENTRY_FIRST + i);
    SendMessageW(entries, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageW(entries, CB_SETCURSEL, s.current, 0);
  SendDlgItemMessageW(m_hwnd, IDC_APP_ELLIPSE_SPIN, UDM_SETRANGE32, 0, 1000);
  SendDlgItemMessageW(m_hwnd, IDC_APP_ELLIPSE_SPIN, UDM_SETPOS32, 0, s.table.ellipseWidth);
  showFontLine();
  s.busy = false;
  listSkins();
  showEntry();
  return true;
}

bool CAppearancePage::onKillActive() {
  storeNumbers();
  State& s = *m_state;
  const AppearanceEntry& e = appearanceEntry(s.current);
  if ((e.capabilities & kHasPicture) && IsDlgButtonChecked(m_hwnd, IDC_APP_ONE_PICTURE) == BST_CHECKED)
    pictureForAll();
  return true;
}

void CAppearancePage::storeNumbers() {
  State& s = *m_state;
  BOOL ok = FALSE;
  int number = static_cast<int>(GetDlgItemInt(m_hwnd, IDC_APP_NUMBER, &ok, TRUE));
  if (ok) setEntryNumber(s.table, s.current, number);
  int ellipse = static_cast<int>(GetDlgItemInt(m_hwnd, IDC_APP_ELLIPSE, &ok, FALSE));
  if (ok) s.table.ellipseWidth = std::clamp(ellipse, 0, 1000);
}

void CAppearancePage::showEntry() {
  State& s = *m_state;
  s.busy = true;
  const AppearanceEntry& e = appearanceEntry(s.current);
  const bool color = e.capabilities & kHasColor, picture = e.capabilities & kHasPicture;
  const bool strength = e.capabilities & kHasStrength, weight = e.capabilities & kHasWeight;
  EnableWindow(item(IDC_APP_COLOR), color);
  EnableWindow(item(IDC_APP_COLOR_LABEL), color);
  EnableWindow(item(IDC_APP_PICTURE), picture);
  EnableWindow(item(IDC_APP_PICTURE_LABEL), picture);
  EnableWindow(item(IDC_APP_ONE_PICTURE), picture);
  EnableWindow(item(IDC_APP_REMOVE_PICTURE), picture && s.bitmaps[e.picture] != nullptr);
  for (int id : {IDC_APP_NUMBER, IDC_APP_NUMBER_SPIN, IDC_APP_NUMBER_LABEL})
    EnableWindow(item(id), strength || weight);
  if (strength || weight) {
    SendDlgItemMessageW(m_hwnd, IDC_APP_NUMBER_SPIN, UDM_SETRANGE32, strength ? -100 : 0,
                        strength ? 100 : 255);
    SetDlgItemTextW(
        m_hwnd, IDC_APP_NUMBER_LABEL,
        stringFrom(m_context.resources, strength ? IDS_STRENGTH_LABEL : IDS_WEIGHT_LABEL).c_str());
    SendDlgItemMessageW(m_hwnd, IDC_APP_NUMBER_SPIN, UDM_SETPOS32, 0, entryNumber(s.table, s.current));
  }
  const bool frame = s.current == 0;
  for (int id : {IDC_APP_ELLIPSE, IDC_APP_ELLIPSE_SPIN, IDC_APP_ELLIPSE_LABEL}) EnableWindow(item(id), frame);
  InvalidateRect(item(IDC_APP_COLOR), nullptr, TRUE);
  InvalidateRect(item(IDC_APP_PICTURE), nullptr, TRUE);
  InvalidateRect(item(IDC_APP_PREVIEW), nullptr, TRUE);
  s.busy = false;
}

void CAppearancePage::changed() {
  State& s = *m_state;
  InvalidateRect(item(IDC_APP_PREVIEW), nullptr, TRUE);
  if (s.busy) return;
  s.modified = true;
  s.skinName.clear();
  SendDlgItemMessageW(m_hwnd, IDC_APP_SKINS, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  setModified(true);
}

void CAppearancePage::pictureForAll() {
  State& s = *m_state;
  int slot = appearanceEntry(s.current).picture;
  if (slot < 0) return;
  for (int other = 0; other < kPictureCount; ++other) {
    if (other == slot) continue;
    s.bitmaps[other] = s.bitmaps[slot];
    s.table.pictures[other] = s.table.pictures[slot];
  }
}

void CAppearancePage::chooseColor() {
  State& s = *m_state;
  const AppearanceEntry& e = appearanceEntry(s.current);
  if (!(e.capabilities & kHasColor)) return;
  static COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = m_hwnd;
  choose.rgbResult = colorRef(s.table.colors[e.color]);
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&choose)) return;
  ColorValue& c = s.table.colors[e.color];
  c.r = GetRValue(choose.rgbResult);
  c.g = GetGValue(choose.rgbResult);
  c.b = GetBValue(choose.rgbResult);
  changed();
  showEntry();
}

void CAppearancePage::choosePicture() {
  State& s = *m_state;
  const AppearanceEntry& e = appearanceEntry(s.current);
  if (e.picture < 0) return;
  PickRequest request;
  request.owner = m_hwnd;
  request.resources = m_context.resources;
  request.title = stringFrom(m_context.resources, IDS_PICTURE_TITLE);
  request.filter = stringFrom(m_context.resources, IDS_PICTURE_FILTER);
  request.initialFolder = m_context.settings.graphicDirectory;
  request.flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  PickResult result = pickProgram(request);
  if (!result.accepted || result.files.empty()) return;
  m_context.settings.graphicDirectory = result.folder;
  setPicture(e.picture, result.files.front());
  if (IsDlgButtonChecked(m_hwnd, IDC_APP_ONE_PICTURE) == BST_CHECKED) pictureForAll();
  changed();
  showEntry();
}

void CAppearancePage::removePicture() {
  State& s = *m_state;
  int slot = appearanceEntry(s.current).picture;
  const bool all = IsDlgButtonChecked(m_hwnd, IDC_APP_ONE_PICTURE) == BST_CHECKED;
  for (int i = 0; i < kPictureCount; ++i) {
    if (all || i == slot) setPicture(i, L"");
  }
  changed();
  showEntry();
}

void CAppearancePage::chooseFont() {
  State& s = *m_state;
  LOGFONTW font{};
  HDC screen = GetDC(nullptr);
  font.lfHeight = -MulDiv(s.fontTenths, GetDeviceCaps(screen, LOGPIXELSY), 720);
  ReleaseDC(nullptr, screen);
  font.lfWeight = s.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = s.italic;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, s.fontFace.c_str(), LF_FACESIZE);
  CHOOSEFONTW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = m_hwnd;
  choose.lpLogFont = &font;
  choose.Flags = CF_SCREENFONTS | CF_LIMITSIZE | (s.fontFace.empty() ? 0 : CF_INITTOLOGFONTSTRUCT);
  choose.nSizeMin = 6;
  choose.nSizeMax = 24;
  // The language library's layout, so the dialog speaks the bar's language.
  if (m_context.resources &&
      FindResourceW(m_context.resources, MAKEINTRESOURCEW(IDD_FONT_CHOOSER), RT_DIALOG)) {
    choose.Flags |= CF_ENABLETEMPLATE;
    choose.hInstance = m_context.resources;
    choose.lpTemplateName = MAKEINTRESOURCEW(IDD_FONT_CHOOSER);
  }
  if (!ChooseFontW(&choose)) return;
  s.fontFace = font.lfFaceName;
  s.fontTenths = std::clamp(choose.iPointSize, 60, 240);
  s.italic = font.lfItalic != 0;
  s.bold = font.lfWeight >= FW_BOLD;
  s.userFont = true;
  s.busy = true;
  showFontLine();
  s.busy = false;
  changed();
}

void CAppearancePage::showFontLine() {
  State& s = *m_state;
  HWND combo = item(IDC_APP_FONT_LINE);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  std::wstring standard = stringFrom(m_context.resources, IDS_STANDARD_FONT);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(standard.c_str()));
  const bool user = s.userFont && !s.fontFace.empty();
  if (user) {
    std::wstring line = fontLine(s.fontFace, s.fontTenths, s.bold, s.italic);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, user ? 1 : 0, 0);
  EnableWindow(combo, user);
}

// ---- Skins

void CAppearancePage::listSkins() {
  State& s = *m_state;
  HWND combo = item(IDC_APP_SKINS);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& name : s.store.list())
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  if (s.skinName.empty()) return;
  LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(s.skinName.c_str()));
  if (index == CB_ERR) return;
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // The skin may have changed on disk since it was chosen: the page shows it as stored.
  Colors before = s.table;
  previewSkin(s.skinName);
  if (sameLook(before, s.table)) {
    s.modified = false;
    setModified(false);
  }
}

void CAppearancePage::previewSkin(const std::wstring& name) {
  State& s = *m_state;
  HWND combo = item(IDC_APP_SKINS);
  Colors skin = s.table;
  if (!s.store.load(name, skin)) {
    LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(name.c_str()));
    if (index != CB_ERR) SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    return;
  }
  s.table = skin;
  loadBitmaps();
  s.skinName = s.loadedSkin = name;
  s.busy = true;
  SendDlgItemMessageW(m_hwnd, IDC_APP_ELLIPSE_SPIN, UDM_SETPOS32, 0, s.table.ellipseWidth);
  s.busy = false;
  showEntry();
  s.modified = true;
  setModified(true);
}

void CAppearancePage::saveSkin() {
  State& s = *m_state;
  storeNumbers();
  CSkinNameDialog dialog(m_context.resources, s.skinName);
  if (dialog.doModal(m_hwnd) != IDOK) return;
  std::wstring name = storedSkinName(dialog.name());
  if (!s.store.nameAcceptable(name)) {
    showMessage(
        m_hwnd,
        UserMessage{IDS_SKIN_NAME_REFUSED, IDS_SKIN_CAPTION, std::nullopt, std::nullopt, m_context.resources},
        MB_OK | MB_ICONWARNING);
    return;
  }
  if (IsDlgButtonChecked(m_hwnd, IDC_APP_ONE_PICTURE) == BST_CHECKED) pictureForAll();
  if (!s.store.save(name, s.loadedSkin, s.table)) return;
  s.skinName = s.loadedSkin = name;
  HWND combo = item(IDC_APP_SKINS);
  LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(name.c_str()));
  if (index == CB_ERR) index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // SkinName is written on OK.
  s.modified = true;
  setModified(true);
}

void CAppearancePage::deleteSkin() {
  State& s = *m_state;
  HWND combo = item(IDC_APP_SKINS);
  LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  std::wstring name = index == CB_ERR ? L"" : comboText(combo, static_cast<int>(index));
  if (name.empty()) {
    showMessage(
        m_hwnd,
        UserMessage{IDS_NO_SKIN_CHOSEN, IDS_SKIN_CAPTION, std::nullopt, std::nullopt, m_context.resources},
        MB_OK | MB_ICONWARNING);
    return;
  }
  if (showMessage(
          m_hwnd,
          UserMessage{IDS_DELETE_SKIN_QUERY, IDS_SKIN_CAPTION, name, std::nullopt, m_context.resources},
          MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  s.store.remove(name);
  SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  if (sameFileName(s.loadedSkin, name)) s.loadedSkin.clear();
  s.skinName.clear();
  s.modified = true;
  setModified(true);
}

// ---- Drawing

void CAppearancePage::drawSample(const DRAWITEMSTRUCT& draw) {
  State& s = *m_state;
  const AppearanceEntry& e = appearanceEntry(s.current);
  RECT r = draw.rcItem;
  const bool pushed = draw.itemState & ODS_SELECTED;
  const bool disabled = draw.itemState & ODS_DISABLED;
  DrawFrameControl(draw.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  InflateRect(&r, -3, -3);
  if (pushed) OffsetRect(&r, 1, 1);
  RECT sample = r, arrow = r;
  sample.right = r.left + (r.right - r.left) * 3 / 4;
  arrow.left = sample.right;
  if (!disabled) {
    if (draw.CtlID == IDC_APP_COLOR) {
      fw::Brush brush(CreateSolidBrush(colorRef(s.table.colors[e.color])));
      FillRect(draw.hDC, &sample, brush.get());
    } else if (HBITMAP bitmap = e.picture >= 0 ? picture(e.picture) : nullptr) {
      fw::MemoryDC source(draw.hDC);
      fw::SelectScope keep(source, bitmap);
      BitBlt(draw.hDC, sample.left, sample.top, sample.right - sample.left, sample.bottom - sample.top,
             source, 0, 0, SRCCOPY);
    }
  }
  DrawFrameControl(draw.hDC, &arrow, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (disabled ? DFCS_INACTIVE : 0));
  DrawEdge(draw.hDC, &arrow, EDGE_SUNKEN, BF_RECT);
  if (draw.itemState & ODS_FOCUS) {
    RECT focus = draw.rcItem;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(draw.hDC, &focus);
  }
}

void CAppearancePage::fillArea(HDC dc, const RECT& area, int color, int pictureSlot) {
  HBITMAP bitmap = pictureSlot >= 0 ? picture(pictureSlot) : nullptr;
  fw::Brush brush(bitmap ? CreatePatternBrush(bitmap)
                         : CreateSolidBrush(colorRef(m_state->table.colors[color])));
  FillRect(dc, &area, brush.get());
}

void CAppearancePage::drawPreview(const DRAWITEMSTRUCT& draw) {
  const Colors& c = m_state->table;
  HDC dc = draw.hDC;
  RECT all = draw.rcItem;
  fillArea(dc, all, kBord, kBordPic);
  const int height = all.bottom - all.top, width = all.right - all.left;
  const int pad = std::max(2, height / 8);
  auto box = [&](int left, int right) {
    return RECT{all.left + left, all.top + pad, all.left + right, all.bottom - pad};
  };
  auto label = [&](RECT r, const wchar_t* text, int color) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(c.colors[color]));
    DrawTextW(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  };
  RECT tab = box(pad, width * 22 / 100);
  fillArea(dc, tab, kGroupBase, kGroupPic);
  label(tab, L"Group", kGroupName);
  RECT items = box(width * 22 / 100 + pad, width * 62 / 100);
  fillArea(dc, items, kApplBase, kApplPic);
  RECT lit = items;
  lit.right = lit.left + (lit.right - lit.left) / 2;
  InflateRect(&lit, -1, -1);
  fw::Brush light(CreateSolidBrush(colorRef(c.colors[kLight])));
  FrameRect(dc, &lit, light.get());
  label(lit, L"Item", kApplName);
  RECT title = items;
  title.left = lit.right + 2;
  label(title, L"Title", kActTitle);
  RECT key = box(width * 62 / 100 + pad, width * 74 / 100);
  fillArea(dc, key, kFunctionKey, kFuncPic);
  label(key, L"F1", kFuncKeyLabel);
  RECT exit = box(width * 74 / 100 + pad, width * 84 / 100);
  fillArea(dc, exit, kFunctionKey, kFuncPic);
  label(exit, L"X", kExitKeyLabel);
  RECT command = box(width * 84 / 100 + pad, width - pad - 6);
  fillArea(dc, command, kCommandButton, kCmdPic);
  label(command, L"Run", kCommandName);
  RECT indicator{all.right - pad - 4, all.top + pad, all.right - pad, all.top + pad + 4};
  fw::Brush mark(CreateSolidBrush(colorRef(c.colors[kIndicator])));
  FillRect(dc, &indicator, mark.get());
}

// ---- Messages

bool CAppearancePage::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  State& s = *m_state;
  if (msg == WM_DRAWITEM) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw.CtlID == IDC_APP_PREVIEW) {
      drawPreview(draw);
    } else if (draw.CtlID == IDC_APP_COLOR || draw.CtlID == IDC_APP_PICTURE) {
      drawSample(draw);
    } else {
      return CPropertyPage::handleMessage(msg, wParam, lParam, result);
    }
    result = TRUE;
    return true;
  }
  if (msg != WM_COMMAND || !m_hwnd) return CPropertyPage::handleMessage(msg, wParam, lParam, result);
  const int id = LOWORD(wParam), code = HIWORD(wParam);
  switch (id) {
    case IDC_APP_ENTRY:
      if (code != CBN_SELCHANGE) break;
      storeNumbers();
      s.current = std::clamp(static_cast<int>(SendMessageW(item(id), CB_GETCURSEL, 0, 0)), 0,
                             kAppearanceEntryCount - 1);
      showEntry();
      break;
    case IDC_APP_COLOR:
      if (code == BN_CLICKED) chooseColor();
      break;
    case IDC_APP_PICTURE:
      if (code == BN_CLICKED) choosePicture();
      break;
    case IDC_APP_REMOVE_PICTURE:
      if (code == BN_CLICKED) removePicture();
      break;
    case IDC_APP_NUMBER:
    case IDC_APP_ELLIPSE:
      if (code == EN_CHANGE && !s.busy) {
        storeNumbers();
        changed();
      }
      break;
    case IDC_APP_SKINS:
      if (code == CBN_SELCHANGE) {
        LRESULT index = SendMessageW(item(id), CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) previewSkin(comboText(item(id), static_cast<int>(index)));
      }
      break;
    case IDC_APP_SAVE_SKIN:
      if (code == BN_CLICKED) saveSkin();
      break;
    case IDC_APP_DELETE_SKIN:
      if (code == BN_CLICKED) deleteSkin();
      break;
    case IDC_APP_FONT:
      if (code == BN_CLICKED) chooseFont();
      break;
    case IDC_APP_FONT_LINE:
      if (code == CBN_SELCHANGE) {
        bool user = SendMessageW(item(id), CB_GETCURSEL, 0, 0) == 1;
        if (user != s.userFont) {
          s.userFont = user;
          showFontLine();
          changed();
        }
      }
      break;
    default:
      return CPropertyPage::handleMessage(msg, wParam, lParam, result);
  }
  result = 0;
  return true;
}

}  // namespace vorbin
