// The behaviour page: activation places (one always kept), mouse buttons, the
// switches, the language list and the bar hot key, which is only tried here;
// the bar switches to it when the sheet is accepted.
#include "launcher/dialogs/behavior_page.h"

#include <commctrl.h>

#include "launcher/app/resource_library.h"
#include "launcher/model/group_table.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

namespace {

// An id no other hot key of the launcher uses: the page's short trial registration.
constexpr int kTrialHotKeyId = 0xBFF0;

struct Switch {
  int id;
  bool Settings::*field;
  bool inverted;
};
const Switch kSwitches[] = {
    {IDC_START_HIDDEN, &Settings::runWithOpen, true},
    {IDC_LOCK_WITH_TOP, &Settings::lockWithTop, false},
    {IDC_OPEN_AT_CLICK, &Settings::openAtClickPos, false},
    {IDC_CLOSE_INACTIVE, &Settings::noActiveToClose, false},
    {IDC_FAST_EXIT, &Settings::fastExit, false},
    {IDC_SHIFT_SELECT, &Settings::shiftSelOnly, false},
    {IDC_QUERY_DELETE, &Settings::queryDelete, false},
    {IDC_TRAY_ICON, &Settings::dispIconInTray, false},
    {IDC_KEEP_COMPRESSION, &Settings::keepCompression, false},
    {IDC_END_MESSAGE, &Settings::dispEndMessage, false},
    {IDC_IGNORE_DIRECTX, &Settings::ignoreClickOnDX, false},
};

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void setCheck(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

bool libraryPresent(const std::wstring& folder, const wchar_t* file) {
  const DWORD attributes = GetFileAttributesW((folder + file).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CBehaviorPage::CBehaviorPage(OptionsPageLink link)
    : CMappedDialog(IDD_OPTIONS_BEHAVIOR, link.resources), m_link(std::move(link)) {}

std::span<const fw::CommandEntry<CBehaviorPage>> CBehaviorPage::commandMap() {
  using P = CBehaviorPage;
  constexpr int kClicked = BN_CLICKED;
  static const fw::CommandEntry<P> entries[] = {
      {IDC_PLACE_LEFT, kClicked, &P::onPlaceClicked},
      {IDC_PLACE_TOP, kClicked, &P::onPlaceClicked},
      {IDC_PLACE_RIGHT, kClicked, &P::onPlaceClicked},
      {IDC_PLACE_BOTTOM, kClicked, &P::onPlaceClicked},
      {IDC_PLACE_DESKTOP, kClicked, &P::onPlaceClicked},
      {IDC_MOUSE_LEFT_PRIMARY, kClicked, &P::onMouseButtonChosen},
      {IDC_MOUSE_RIGHT_PRIMARY, kClicked, &P::onMouseButtonChosen},
      {IDC_MOUSE_SECONDARY, kClicked, &P::onChanged},
      {IDC_MOUSE_DOUBLE_CLICK, kClicked, &P::onChanged},
      {IDC_START_HIDDEN, kClicked, &P::onChanged},
      {IDC_LOCK_WITH_TOP, kClicked, &P::onChanged},
      {IDC_OPEN_AT_CLICK, kClicked, &P::onChanged},
      {IDC_CLOSE_INACTIVE, kClicked, &P::onChanged},
      {IDC_FAST_EXIT, kClicked, &P::onChanged},
      {IDC_SHIFT_SELECT, kClicked, &P::onChanged},
      {IDC_QUERY_DELETE, kClicked, &P::onChanged},
      {IDC_TRAY_ICON, kClicked, &P::onChanged},
      {IDC_GROUP_SCROLL, kClicked, &P::onChanged},
      {IDC_KEEP_COMPRESSION, kClicked, &P::onChanged},
      {IDC_END_MESSAGE, kClicked, &P::onChanged},
      {IDC_IGNORE_DIRECTX, kClicked, &P::onChanged},
      {IDC_LANGUAGE, CBN_SELCHANGE, &P::onChanged},
      {IDC_BAR_HOTKEY, EN_CHANGE, &P::onChanged},
  };
  return entries;
}

std::span<const fw::MessageEntry<CBehaviorPage>> CBehaviorPage::messageMap() {
  static const fw::MessageEntry<CBehaviorPage> entries[] = {{WM_DRAWITEM, &CBehaviorPage::onDrawItem}};
  return entries;
}

bool CBehaviorPage::onInitDialog() {
  const Settings& s = m_link.settings;
  m_places = activationChecks(s.vorbBar);
  for (int i = 0; i < kActivationPlaces; ++i) setCheck(m_hwnd, IDC_PLACE_LEFT + i, m_places[i]);

  const MouseChoices mouse = mouseChoices(s.mouseButton);
  setCheck(m_hwnd, mouse.rightPrimary ? IDC_MOUSE_RIGHT_PRIMARY : IDC_MOUSE_LEFT_PRIMARY, true);
  setCheck(m_hwnd, IDC_MOUSE_SECONDARY, mouse.secondary);
  setCheck(m_hwnd, IDC_MOUSE_DOUBLE_CLICK, mouse.doubleClick);
  labelSecondaryButton();

  for (const Switch& sw : kSwitches) setCheck(m_hwnd, sw.id, s.*(sw.field) != sw.inverted);
  setCheck(m_hwnd, IDC_GROUP_SCROLL, s.grpScrollMode == 1);

  m_languages = languageEntries(libraryPresent(s.programFolder, kJapaneseLibrary),
                                libraryPresent(s.programFolder, kEnglishLibrary));
  HWND list = item(IDC_LANGUAGE);
  for (const LanguageEntry& entry : m_languages)
    SendMessageW(
        list, CB_ADDSTRING, 0,
        reinterpret_cast<LPARAM>(resourceStringFrom(m_link.resources, entry.textId, kShortString).c_str()));
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(languageEntryIndex(m_languages, s.language)), 0);

  HWND hotKey = item(IDC_BAR_HOTKEY);
  SendMessageW(hotKey, HKM_SETRULES, HKCOMB_NONE, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  SendMessageW(hotKey, HKM_SETHOTKEY, static_cast<WPARAM>(s.hotKey & 0xFFFF), 0);

  m_picture.reset(static_cast<HBITMAP>(LoadImageW(m_link.resources, MAKEINTRESOURCEW(IDB_BEHAVIOR_PICTURE),
                                                  IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  return true;
}

void CBehaviorPage::labelSecondaryButton() {
  const bool rightPrimary = checked(m_hwnd, IDC_MOUSE_RIGHT_PRIMARY);
  SetDlgItemTextW(m_hwnd, IDC_MOUSE_SECONDARY,
                  resourceStringFrom(m_link.resources,
                                     rightPrimary ? IDS_SECONDARY_LEFT : IDS_SECONDARY_RIGHT, kMediumString)
                      .c_str());
}

void CBehaviorPage::onPlaceClicked() {
  ActivationChecks now{};
  for (int i = 0; i < kActivationPlaces; ++i) now[i] = checked(m_hwnd, IDC_PLACE_LEFT + i);
  if (!anyChecked(now)) {
    // The bar must stay reachable: the last place cannot go.
    MessageBeep(0);
    for (int i = 0; i < kActivationPlaces; ++i) setCheck(m_hwnd, IDC_PLACE_LEFT + i, m_places[i]);
    return;
  }
  m_places = now;
  setModified();
}

void CBehaviorPage::onMouseButtonChosen() {
  labelSecondaryButton();
  setModified();
}

void CBehaviorPage::onChanged() { setModified(); }

LRESULT CBehaviorPage::onDrawItem(WPARAM, LPARAM lParam) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (!draw || draw->CtlID != IDC_BEHAVIOR_PICTURE) return notHandled();
  drawStretched(draw->hDC, draw->rcItem, m_picture.get());
  return TRUE;
}

bool CBehaviorPage::hotKeyAvailable(int hotKey) {
  // The bar holds its own key; an empty key is never registered.
  if (hotKey == m_link.liveHotKey || (hotKey & 0xFF) == 0) return true;
  const auto key = static_cast<uint16_t>(hotKey);
  if (!RegisterHotKey(m_hwnd, kTrialHotKeyId, systemHotKeyModifiers(key), key & 0xFFu)) return false;
  UnregisterHotKey(m_hwnd, kTrialHotKeyId);
  return true;
}

bool CBehaviorPage::takeValues() {
  Settings& s = m_link.settings;
  s.vorbBar = activationMask(m_places, activationChecks(s.vorbBar));
  MouseChoices mouse;
  mouse.rightPrimary = checked(m_hwnd, IDC_MOUSE_RIGHT_PRIMARY);
  mouse.secondary = checked(m_hwnd, IDC_MOUSE_SECONDARY);
  mouse.doubleClick = checked(m_hwnd, IDC_MOUSE_DOUBLE_CLICK);
  s.mouseButton = mouseButtonOf(mouse, s.mouseButton);
  for (const Switch& sw : kSwitches) s.*(sw.field) = checked(m_hwnd, sw.id) != sw.inverted;
  s.grpScrollMode = checked(m_hwnd, IDC_GROUP_SCROLL) ? 1 : 0;
  const auto index = static_cast<int>(SendDlgItemMessageW(m_hwnd, IDC_LANGUAGE, CB_GETCURSEL, 0, 0));
  s.language = languageOfEntry(m_languages, index, s.language);

  const int hotKey =
      hotKeyWithModifier(static_cast<int>(SendDlgItemMessageW(m_hwnd, IDC_BAR_HOTKEY, HKM_GETHOTKEY, 0, 0)));
  if (!hotKeyAvailable(hotKey)) {
    // Another program holds the key: the old one stays, and so does the page.
    SendDlgItemMessageW(m_hwnd, IDC_BAR_HOTKEY, HKM_SETHOTKEY, static_cast<WPARAM>(s.hotKey & 0xFFFF), 0);
    UserMessage message;
    message.text = IDS_HOTKEY_TAKEN;
    message.caption = IDS_OPTIONS_CAPTION;
    message.library = m_link.resources;
    showMessage(GetParent(m_hwnd), message, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  s.hotKey = hotKey;
  return true;
}

bool CBehaviorPage::onKillActive() { return takeValues(); }

bool CBehaviorPage::onApply() {
  if (!takeValues()) return false;
  if (m_link.applied) m_link.applied();
  if (m_link.ending) m_link.ending();
  return true;
}

void CBehaviorPage::onReset() {
  if (m_link.ending) m_link.ending();
}

}  // namespace vorbin
