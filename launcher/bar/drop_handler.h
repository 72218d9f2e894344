// What the bar does with a drag from another program: the effect and the
// hover feedback while it is over the bar, reading the dropped data into
// requests, handing a drop on a folder button to the shell, and making the
// buttons once the drag-and-drop loop has returned (message 0x047E).
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/com.h"
#include "launcher/bar/drag_source.h"
#include "launcher/bar/drop_formats.h"
#include "launcher/bar/drop_target.h"
#include "launcher/interact/launch_item.h"
#include "launcher/interact/hit_areas.h"

namespace vorbin {

class BarMenus;
class ButtonMarks;
class HoverTimers;
class ItemAdder;
class ModalBusy;
class PointerActions;
class GroupTable;
struct Settings;

// The shell's drop target of the object an absolute item-ID list names, or a
// path names (a folder takes files into it, a program starts with them); null
// when the shell gives none.
IDropTarget* shellDropTargetOf(HWND owner, PCIDLIST_ABSOLUTE list);
IDropTarget* shellDropTargetOf(HWND owner, const std::wstring& path);

class DropHandler final : public DropEvents {
 public:
  // What drops work with: the bar's model and the collaborators that make,
  // mark, delete and start buttons.
  struct Context {
    Settings& settings;
    GroupTable& groups;
    ItemAdder& adder;
    ModalBusy& modal;
    PointerActions& actions;
    ButtonMarks& marks;
    HoverTimers& timers;
    BarMenus& menus;
    std::function<LaunchContext(bool hideAfter)> launchContext;
    std::function<void()> groupsChanged;
    std::function<void()> repaintAll;
    // Whether the slot's button is in view.
    std::function<bool(int group, int slot)> slotShown;
  };
  explicit DropHandler(Context context) : m_context(std::move(context)) {}
  ~DropHandler() = default;

  // Registers the bar as a drop target (on creation) and revokes it.
  void attach(HWND bar);
  void detach();

  DWORD dragEnter(IDataObject* data, DWORD keys, POINT screen, DWORD allowed) override;
  DWORD dragOver(DWORD keys, POINT screen, DWORD allowed) override;
  void dragLeave() override;
  DWORD drop(IDataObject* data, DWORD keys, POINT screen, DWORD allowed) override;
  // Files dropped by the older protocol (WM_DROPFILES): read, released, and
  // handled as the same files dropped through OLE with the left button.
  void dropFiles(HDROP drop);

  // A drag from another program is over the bar.
  bool dragActive() const { return m_dragActive; }
  // Message 0x022B: the drag-over again at the pointer, only while a drag is over the bar.
  void dragOverNow();
  // Message 0x047E: the queued requests become buttons at the drop point
  // (screen coordinates, signed, packed as x and y words).
  void processQueue(LPARAM point);
  size_t queued() const { return m_queue.size(); }

  // The bar's own buttons or tab, dragged and released over the bar at
  // client: moved, copied or swapped there, a tab reordered, or removed on
  // the caption row.
  void dropInside(const DragItems& items, POINT client, bool copy);
  // The bar's own drag left the bar: it goes on as a drag of shortcut files;
  // a move out deletes the buttons. Returns when the drag is over.
  void dragOut(const DragItems& items);

 private:
  DropPlace placeAt(POINT screen, DWORD keys) const;
  void hover(POINT screen);
  void clearHover();
  DropOffer readOffer(IDataObject* data) const;
  // Queues the requests of a drop at screen and posts 0x047E for them.
  void queueDrop(std::vector<NewItemRequest> requests, POINT screen, bool rightButton);
  // The files, folder by folder, handed to the shell's drop target at screen as a copy.
  void filesToShell(const std::vector<std::wstring>& files, POINT screen);
  // The shell's drop target of the button's target; null when it has none.
  IDropTarget* shellTargetAt(POINT screen) const;
  // The shell's drop target of the button a drag from another program rests
  // on: it sees the drag enter, move and leave, as over the folder itself.
  struct ShellHover {
    int area = -1;
    int index = -1;
    IDropTarget* target = nullptr;  // null: the button has none, or it refused the drag
    DWORD shown = 0;                // the effect it answered last
  };
  // The drag is over the button at screen, whose target takes drops itself:
  // the effect that target answers.
  DWORD overShellTarget(POINT screen, DWORD keys, DWORD allowed);
  static void leave(ShellHover& hover);
  // Hands the whole drop to shell (released here). shown: the effect it
  // answered while the drag rested on it; nothing when it has not seen the
  // drag come in (then it is asked first). The effect it did.
  DWORD dropOnShellTarget(IDropTarget* shell, IDataObject* data, DWORD keys, DWORD dragKeys, POINT screen,
                          DWORD allowed, std::optional<DWORD> shown);
  void addAt(int group, int slot, std::vector<NewItemRequest> requests);
  void launchWithEach(int group, int slot, const std::vector<NewItemRequest>& requests);
  void dropElsewhere(std::vector<NewItemRequest> requests);
  void moveButtons(const DragItems& items, const Hit& hit, bool copy);
  void moveTab(int group, int onto);

  Context m_context;
  HWND m_hwnd = nullptr;
  BarDropTarget* m_target = nullptr;
  bool m_dragActive = false;
  fw::ComPtr<IDataObject> m_data;  // a drag from another program, while over the bar
  bool m_offerUsable = false;      // its data reads as something to drop, every block whole
  bool m_offerWebOnly = false;     // ... and as web addresses only (those always make buttons)
  ShellHover m_shell;
  DWORD m_keysAtEntry = 0;  // the key state when the drag came in (MK_RBUTTON: a right-button drag)
  bool m_rightDrop = false;  // the queued requests came by a right-button drag
  std::vector<NewItemRequest> m_queue;
  std::optional<DragItems> m_outgoing;  // the bar's own drag, while it runs as an OLE drag
};

}  // namespace vorbin
