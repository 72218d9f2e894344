// Taking over the values of the accepted options sheet.
#include "launcher/bar/bar_window.h"

#include "hook/vorber2k.h"
#include "launcher/app/resource_library.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/widgets/user_message.h"
#include "launcher/model/settings.h"

namespace vorbin {

void CBarWindow::applyOptions(const Settings& sheet) {
  Settings& s = m_context.settings;
  const OptionChanges changed = takeOptions(s, sheet);
  SetVorbMode(static_cast<UINT>(s.mouseButton), s.vorbBar);
  SetDirectXFlag(s.ignoreClickOnDX);
  if (changed.language) {
    int language = sheet.language;
    if (loadResourceLibrary(false, language)) s.language = language;
  }
  if (changed.hotKey || changed.language) registerBarHotKey();
  if (changed.trayIcon) m_tray.show(s.dispIconInTray);
  if (changed.keepCompression) {
    // Images in memory keep their form until the next start.
    showMessage(m_hwnd, {.text = IDS_KEEP_COMPRESSION_CHANGED, .caption = IDS_KEEP_COMPRESSION_CAPTION},
                MB_OK | MB_ICONINFORMATION);
  }
  saveOptions(m_context.profile, s);
  if (changed.layout) relayout();
  // The tabs' and the command buttons' texts come from the library.
  if (changed.language && !changed.layout) repaintAll();
  if (changed.taskList) refreshTaskList();
  updateGroupScrollBar();
}

}  // namespace vorbin
