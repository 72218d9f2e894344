// The options sheet from the bar's side: opening it, and taking over the
// values and the look of the accepted sheet.
#include "launcher/bar/bar_window.h"

#include "framework/trace.h"
#include "hook/vorber2k.h"
#include "launcher/app/resource_library.h"
#include "launcher/bar/hot_keys.h"
#include "launcher/dialogs/options_sheet.h"
#include "launcher/model/settings.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

void CBarWindow::openOptions() {
  if (m_optionsSheet && IsWindow(m_optionsSheet)) {
    SetForegroundWindow(m_optionsSheet);
    return;
  }
  // The folder stays put while the launcher runs, and finding it goes through
  // the registry (which the shell may even rewrite): once is enough.
  static const std::wstring folder = dataFolder(nullptr, m_context.settings.programFolder, false);
  m_optionsSheet = openOptionsSheet({
      .settings = m_context.settings,
      .colors = m_context.colors,
      .profile = m_context.profile,
      .bar = m_hwnd,
      .dataFolder = folder,
      .resources = static_cast<HINSTANCE>(resourceModule()),
      .accept =
          [this](const Settings& sheet, const Colors* look) {
            applyOptions(sheet);
            if (look) applyAppearance(*look);
          },
  });
}

void CBarWindow::applyOptions(const Settings& sheet) {
  Settings& s = m_context.settings;
  const int previousHotKey = s.hotKey;
  const OptionChanges changed = takeOptions(s, sheet);
  SetVorbMode(static_cast<UINT>(s.mouseButton), s.vorbBar);
  SetDirectXFlag(s.ignoreClickOnDX);
  if (changed.language) {
    int language = sheet.language;
    if (loadResourceLibrary(false, language)) s.language = language;
  }
  if (changed.hotKey) {
    // The page tried the key, but another program may have taken it since:
    // then the bar keeps the old one rather than none.
    if (!registerBarHotKey(m_hwnd, static_cast<uint16_t>(s.hotKey))) {
      s.hotKey = previousHotKey;
      registerBarHotKey(m_hwnd, static_cast<uint16_t>(s.hotKey));
    }
  } else if (changed.language) {
    registerBarHotKey(m_hwnd, static_cast<uint16_t>(s.hotKey));
  }
  if (changed.trayIcon) m_tray.show(s.dispIconInTray);
  if (changed.keepCompression) {
    // Images in memory keep their form until the next start.
    UserMessage message;
    message.text = IDS_KEEP_COMPRESSION_CHANGED;
    message.caption = IDS_KEEP_COMPRESSION_CAPTION;
    showMessage(m_hwnd, message, MB_OK | MB_ICONINFORMATION);
  }
  saveOptions(m_context.profile, s);
  if (changed.layout) relayout();
  // The tabs' and the command buttons' texts come from the library.
  if (changed.language && !changed.layout) repaintAll();
  if (changed.taskList) refreshTaskList();
  m_tabArea.update(m_hwnd);
}

void CBarWindow::applyAppearance(const Colors& colors) {
  m_context.colors = colors;
  loadColours();
  repaintAll();
}

}  // namespace vorbin
