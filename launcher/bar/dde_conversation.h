// The bar's side of Program Manager DDE: initiates, execute strings run on
// the groups, request answers and terminates, as raw DDE messages.
#pragma once
#include <windows.h>

#include <functional>

#include "launcher/bar/dde_commands.h"
#include "launcher/bar/item_adder.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"

namespace vorbin {

class DdeConversation {
 public:
  // What the bar lends the conversation.
  struct Host {
    GroupTable& groups;
    Settings& settings;
    ItemAdder& adder;
    std::function<int()> currentGroup;  // where adds go when the string chose no group
    std::function<void()> leaveTaskMode;
    std::function<void()> groupsChanged;          // the active group or the table changed: repaint all
    std::function<void(int index)> groupRemoved;  // before groupsChanged: indexes behind it moved down
    std::function<void()> showBar;                // restore the bar when hidden or minimized
    std::function<void()> picturesReady;          // buttons got their pictures: paint them again
  };
  explicit DdeConversation(Host host) : m_host(std::move(host)) {}
  ~DdeConversation();
  DdeConversation(const DdeConversation&) = delete;
  DdeConversation& operator=(const DdeConversation&) = delete;

  // The bar's window is the server of every conversation.
  void attach(HWND bar);
  void detach();

  LRESULT onInitiate(WPARAM client, LPARAM atoms);
  LRESULT onExecute(WPARAM client, LPARAM commands);
  LRESULT onRequest(WPARAM client, LPARAM formatAndItem);
  LRESULT onTerminate(WPARAM client, LPARAM);

  // Runs parsed commands; true when any of them succeeded.
  bool runCommands(const std::vector<DdeCommand>& commands);

 private:
  bool runOperation(const DdeOperation& op, int& chosenGroup);
  // Whether the initiate the bar is handling was also seen by the sentinel,
  // a hidden window owned by the bar: owned windows stand in front of their
  // owner, so a broadcast reaches the sentinel first.
  bool lastInitiateWasBroadcast(HWND client, LPARAM atoms);
  static LRESULT CALLBACK sentinelProc(HWND, UINT, WPARAM, LPARAM);
  // Pictures of the buttons a string added are built a turn at a time
  // through messages posted to the sentinel, so the bar stays answering.
  void schedulePictures();
  void buildPictureTurn();
  void picturesReady();

  Host m_host;
  HWND m_bar = nullptr;
  HWND m_sentinel = nullptr;
  int m_conversations = 0;
  bool m_changed = false;  // the string being run changed the groups; the bar is told at its end
  HWND m_broadcastClient = nullptr;
  LPARAM m_broadcastAtoms = 0;
  DWORD m_broadcastTick = 0;
  bool m_picturesPosted = false;
};

}  // namespace vorbin
