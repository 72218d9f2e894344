// The model's ties to the system: item hot keys of the launcher's thread,
// texts in the ANSI code page, and the options the group table runs with.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"

namespace vorbin {

// Item hot keys registered for the calling thread (they arrive as thread messages).
class ThreadHotKeys : public HotKeyRegistrar {
 public:
  bool registerHotKey(int id, unsigned modifiers, unsigned virtualKey) override;
  void unregisterHotKey(int id) override;
};

// Bytes in the system's ANSI code page as wide text; embedded NULs are kept.
std::wstring systemAnsiDecoder(std::string_view bytes);

// The group table's options for the launcher: settings, the system's code
// page, the thread's hot keys and the new-group title of the language library.
ModelOptions launcherModelOptions(const Settings& settings);

// The wild card of the file lists: the setting, or string 512 of the language library when it is empty.
std::wstring wildCardOrDefault(const Settings& settings);

}  // namespace vorbin
