// Taking over the values of the accepted options sheet.
#include "launcher/bar/bar_window.h"

#include "hook/vorber2k.h"
#include "launcher/app/resource_library.h"

namespace vorbin {

void CBarWindow::applyOptions(const Settings& sheet) {
  Settings& s = m_context.settings;
  s.shiftSelOnly = sheet.shiftSelOnly;
  s.runWithOpen = sheet.runWithOpen;
  s.lockWithTop = sheet.lockWithTop;
  s.fastExit = sheet.fastExit;
  s.queryDelete = sheet.queryDelete;
  s.dispEndMessage = sheet.dispEndMessage;
  s.ignoreClickOnDX = sheet.ignoreClickOnDX;
  s.vorbBar = sheet.vorbBar;
  s.openAtClickPos = sheet.openAtClickPos;
  s.noActiveToClose = sheet.noActiveToClose;

  // Right button primary, secondary button, double-click mode from the sheet;
  // bit 4 is the launcher's own and stays.
  s.mouseButton = (sheet.mouseButton & 0x83) | (s.mouseButton & 0x10);
  SetVorbMode(static_cast<UINT>(s.mouseButton), s.vorbBar);
  SetDirectXFlag(s.ignoreClickOnDX);
  s.is24Hour = sheet.is24Hour;
  s.toolTipMode = sheet.toolTipMode;

  // In task mode the entries show details or not: the list is built again.
  const bool rebuildTasks = s.taskMode && sheet.dispTaskDetails != s.dispTaskDetails;
  const bool relayout = sheet.groupAsCenter != s.groupAsCenter ||
                        sheet.dispTaskDetails != s.dispTaskDetails ||
                        sheet.grpScrollMode != s.grpScrollMode || sheet.dispModeButton != s.dispModeButton ||
                        sheet.scrollBtnSize != s.scrollBtnSize || sheet.fontSize != s.fontSize ||
                        sheet.smallFont != s.smallFont || sheet.userFont != s.userFont ||
                        sheet.fontName != s.fontName || sheet.userFontSize != s.userFontSize ||
                        sheet.isFontBold != s.isFontBold || sheet.isFontItalic != s.isFontItalic;
  s.groupAsCenter = sheet.groupAsCenter;
  s.dispTaskDetails = sheet.dispTaskDetails;
  s.grpScrollMode = sheet.grpScrollMode;
  s.dispModeButton = sheet.dispModeButton;
  s.scrollBtnSize = sheet.scrollBtnSize;
  s.fontSize = sheet.fontSize;
  s.smallFont = sheet.smallFont;
  s.userFont = sheet.userFont;
  s.fontName = sheet.fontName;
  s.userFontSize = sheet.userFontSize;
  s.isFontBold = sheet.isFontBold;
  s.isFontItalic = sheet.isFontItalic;

  const bool hotKeyChanged = sheet.hotKey != s.hotKey;
  s.hotKey = sheet.hotKey;
  const bool languageChanged = sheet.language != s.language;
  if (languageChanged) {
    int language = sheet.language;
    if (loadResourceLibrary(false, language)) s.language = language;
  }
  if (hotKeyChanged || languageChanged) registerBarHotKey();

  s.wildCard = sheet.wildCard;
  s.alwaysOpenAppl = sheet.alwaysOpenAppl;
  s.growByFill = sheet.growByFill;
  s.usualyTopGroup = sheet.usualyTopGroup;
  s.superLock = sheet.superLock;
  s.appearPos = sheet.appearPos;
  s.closeDelayTime = sheet.closeDelayTime;
  s.intervalAtSel = sheet.intervalAtSel;
  s.intervalAtScroll = sheet.intervalAtScroll;
  s.scrollTime = sheet.scrollTime;
  s.skinName = sheet.skinName;
  s.lockLevel = lockLevelOf(s.lock, s.superLock);

  if (sheet.dispIconInTary != s.dispIconInTary) addTrayIcon(sheet.dispIconInTary);
  s.dispIconInTary = sheet.dispIconInTary;
  if (sheet.keepCompression != s.keepCompression) {
    // Images in memory keep their form until the next start.
    MessageBoxW(m_hwnd, resourceString(352).c_str(), resourceString(353).c_str(), MB_OK | MB_ICONINFORMATION);
    s.keepCompression = sheet.keepCompression;
  }
  saveOptions(m_context.profile, s);
  if (relayout) this->relayout();
  // The tabs' and the command buttons' texts come from the library.
  if (languageChanged && !relayout) repaintAll();
  if (rebuildTasks) refreshTaskList();
  updateGroupScrollBar();
}

}  // namespace vorbin
