// Dragging buttons out of the bar: the dragged items become shortcut files in
// a fresh folder of their own under the temporary folder, offered to other
// programs as the shell's data object of those files; the folder goes away
// once the drag is over.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "launcher/model/group_table.h"

namespace vorbin {

// A folder made for one drag, removed with everything in it at destruction.
class DragFolder {
 public:
  // A new folder under parent (which ends in a backslash; the temporary
  // folder when empty) that did not exist before; nothing when none could be made.
  static std::optional<DragFolder> create(const std::wstring& parent = L"");
  DragFolder(DragFolder&& o) noexcept : m_path(std::exchange(o.m_path, std::wstring())) {}
  DragFolder& operator=(DragFolder&&) = delete;
  ~DragFolder();
  // Ends in a backslash.
  const std::wstring& path() const { return m_path; }

 private:
  explicit DragFolder(std::wstring path) : m_path(std::move(path)) {}
  std::wstring m_path;
};

// What a drag out of the bar carries.
struct DragItems {
  int group = 0;
  std::vector<int> slots;  // buttons; empty with tab
  bool tab = false;        // the whole group as a folder of shortcuts
  int pressedSlot = -1;    // the button the drag began on
  bool rightButton = false;
};

// Writes the shortcut files of the dragged items into folder: one per item,
// named after its title made safe (".url" for web addresses, ".lnk"
// otherwise), a dragged tab as a folder named after the group holding one
// per item. The top-level names written (files or the group's folder);
// fallback names an item whose title cannot be a file name.
std::vector<std::wstring> writeDragFiles(const GroupTable& groups, const DragItems& items, const std::wstring& folder,
                                         const std::wstring& fallback);

// The shell's data object of these names in folder (item-ID lists and file
// names); null when the shell gave none.
IDataObject* shellDataObject(HWND owner, const std::wstring& folder, const std::vector<std::wstring>& names);

// Runs the drag of data with source; the effect done, or nothing when the drag
// was cancelled or failed.
std::optional<DWORD> runDragOut(IDataObject* data, IDropSource* source, DWORD allowed);

// The launcher's own drop source: the drag ends when the starting button is
// released and is cancelled by Escape or the other button.
class BarDropSource final : public IDropSource {
 public:
  explicit BarDropSource(bool rightButton) : m_right(rightButton) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }   // lives on the caller's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
  // Shift and Control as the last query saw them.
  DWORD lastKeys() const { return m_keys; }

 private:
  bool m_right;
  DWORD m_keys = 0;
};

}  // namespace vorbin
