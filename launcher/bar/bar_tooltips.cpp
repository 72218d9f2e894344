// The bar's tip control: made when the pointer first moves over the bar (a
// bar that is never pointed at never pays for it), its tools kept to the hit
// areas, its texts asked by callback, and the picture tip of web links.
#include "launcher/bar/bar_tooltips.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

#include "framework/dialog.h"
#include "framework/trace.h"
#include "launcher/dialogs/skin_rules.h"
#include "launcher/render/jpeg_file.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/process_info.h"
#include "launcher/services/shell_helpers.h"

namespace vorbin {

namespace {

constexpr int kMaxTipWidth = 500;
// Room around the picture, and under it.
constexpr int kPictureGap = 4;
constexpr int kPictureBottom = 8;
constexpr UINT_PTR kPictureSubclassId = 0x5442;  // one subclass, whatever the number of tips

TOOLINFOW toolInfo(HWND bar, uint32_t code) {
  TOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = bar;
  info.uId = code;
  return info;
}

// The shell's information tip of an item-ID-list target.
std::wstring shellInfoTip(const std::vector<uint8_t>& target) {
  PIDLIST_ABSOLUTE list = idListToShell(target);
  if (!list) return {};
  std::wstring text;
  IShellFolder* parent = nullptr;
  PCUITEMID_CHILD child = nullptr;
  if (SUCCEEDED(SHBindToParent(list, IID_IShellFolder, reinterpret_cast<void**>(&parent), &child))) {
    IQueryInfo* info = nullptr;
    if (SUCCEEDED(parent->GetUIObjectOf(nullptr, 1, &child, IID_IQueryInfo, nullptr,
                                        reinterpret_cast<void**>(&info)))) {
      wchar_t* tip = nullptr;
      if (SUCCEEDED(info->GetInfoTip(QITIPF_DEFAULT, &tip)) && tip) {
        text.assign(tip, wcsnlen(tip, kMaxCommentChars));
        CoTaskMemFree(tip);
      }
      info->Release();
    }
    parent->Release();
  }
  CoTaskMemFree(list);
  return text;
}

}  // namespace

BarToolTips::~BarToolTips() {
  releasePicture();
  if (m_tip && IsWindow(m_tip)) DestroyWindow(m_tip);
}

bool BarToolTips::ensureControl(HWND bar) {
  if (m_tip) return true;
  fw::ensureCommonControls();  // the library is loaded on first use, and registers the class
  // Tips show while the bar is not the active window too, and "&" is text.
  m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, bar, nullptr,
                          reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(bar, GWLP_HINSTANCE)), nullptr);
  if (!m_tip) {
    FW_TRACE_FAILURE("CreateWindowExW(tooltips)");
    return false;
  }
  m_bar = bar;
  SendMessageW(m_tip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
  SendMessageW(m_tip, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&m_baseMargin));
  m_tools.clear();
  return true;
}

void BarToolTips::syncTools() {
  std::vector<TipTool> tools = tipTools(m_facts.geometry());
  if (tools == m_tools) return;
  for (const TipTool& t : m_tools) {
    TOOLINFOW info = toolInfo(m_bar, t.code);
    SendMessageW(m_tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  for (const TipTool& t : tools) {
    TOOLINFOW info = toolInfo(m_bar, t.code);
    info.rect = {t.rect.left, t.rect.top, t.rect.right, t.rect.bottom};
    info.lpszText = LPSTR_TEXTCALLBACKW;
    if (!SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)))
      FW_TRACE_FAILURE("TTM_ADDTOOLW");
  }
  m_tools = std::move(tools);
}

void BarToolTips::relayMouse(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ensureControl(bar)) return;
  if (message == WM_MOUSEMOVE) syncTools();
  // As with the system's own tips, a press puts the tip away until the pointer
  // reaches another tool (some tip controls would show it again over a held
  // or just released arrow).
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  const auto under = std::find_if(m_tools.begin(), m_tools.end(), [&](const TipTool& t) {
    return x >= t.rect.left && x < t.rect.right && y >= t.rect.top && y < t.rect.bottom;
  });
  const std::optional<uint32_t> tool = under == m_tools.end() ? std::nullopt : std::optional(under->code);
  if (message != WM_MOUSEMOVE) {
    m_pressedTool = tool;
  } else if (m_pressedTool && tool == m_pressedTool) {
    return;
  } else {
    m_pressedTool.reset();
  }
  MSG msg{bar, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  const DWORD pos = GetMessagePos();
  msg.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  SendMessageW(m_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

const Item* BarToolTips::buttonItem(uint32_t code) const {
  const int area = hitCodeArea(code), index = hitCodeIndex(code);
  if (index < 0) return nullptr;
  if (area == hit_area::kQuick) return m_facts.groups.item(0, index);
  if (area != hit_area::kGrid) return nullptr;
  const int group = m_facts.groups.activeGroup;
  return m_facts.groups.item(group, index + m_facts.firstVisibleSlot(group));
}

std::wstring BarToolTips::textFor(uint32_t code) {
  const int area = hitCodeArea(code), index = hitCodeIndex(code);
  const int mode = m_facts.settings.toolTipMode;
  if (!areaHasTips(area) || index < 0) return {};
  if (area == hit_area::kGrid || area == hit_area::kQuick) {
    const Item* item = buttonItem(code);
    if (!item) return {};
    const std::wstring target = item->targetPath();
    ButtonTipFacts facts{.title = item->title,
                         .titleCut = item->titleCut != 0,
                         .flags = item->flags,
                         .comment = item->text5,
                         .folder = item->folder,
                         .target = target,
                         .pictureName = item->text4,
                         .infoTip = [item] { return shellInfoTip(item->target); }};
    return buttonTipText(facts, mode);
  }
  if (area == hit_area::kTabs) {
    if (m_facts.settings.taskMode) {
      const TaskTable& tasks = m_facts.tasks.table();
      if (static_cast<size_t>(index) >= tasks.size() || index == 0) return {};
      const TaskEntry& task = tasks[static_cast<size_t>(index)];
      HWND window = static_cast<HWND>(task.window);
      return taskTipText(task.title, task.titleCut != 0, mode, resourceString(IDS_TASK_PROGRAM),
                         [window] { return queryProcess(window).imagePath; });
    }
    const Group* group = m_facts.groups.group(index);
    return group ? groupTipText(group->title, group->titleCut != 0, mode) : std::wstring();
  }
  const unsigned id = fixedTipStringId(area, index, m_facts.maximized(), mode);
  return id ? resourceString(id) : std::wstring();
}

void BarToolTips::preparePicture(uint32_t code, const std::wstring& text) {
  releasePicture();
  RECT margin = m_baseMargin;
  const Item* item = buttonItem(code);
  // Only a bare file name: a stored path or ".." never reaches outside the two folders.
  if (item && !text.empty() && hasPictureTip(item->flags, item->text4) && isBarePictureName(item->text4)) {
    const std::wstring path = dataFolder(item->text4.c_str(), m_facts.settings.programFolder, false);
    if (auto picture = readJpegFile(path); picture && picture->width > 0 && picture->height > 0) {
      void* bits = nullptr;
      m_picture.reset(fw::createImageBitmap(picture->width, picture->height, &bits));
      if (m_picture && bits) {
        std::copy(picture->pixels.begin(), picture->pixels.end(), static_cast<uint32_t*>(bits));
        m_pictureSize = {picture->width, picture->height};
      } else {
        m_picture.reset();
      }
    }
  }
  if (m_picture) {
    // The text's width as the tip will lay it out decides how far the sides grow.
    RECT textRect{0, 0, kMaxTipWidth, 0};
    {
      fw::WindowDC dc(m_tip);
      fw::SelectScope font(dc, reinterpret_cast<HFONT>(SendMessageW(m_tip, WM_GETFONT, 0, 0)));
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    const int need = m_pictureSize.cx + 2 * kPictureGap - (textRect.right - textRect.left);
    if (need > 0) {
      margin.left += need / 2 + 1;
      margin.right += need - need / 2 + 1;
    }
    margin.bottom += kPictureGap + m_pictureSize.cy + kPictureBottom;
    if (!m_subclassed &&
        SetWindowSubclass(m_tip, pictureProc, kPictureSubclassId, reinterpret_cast<DWORD_PTR>(this)))
      m_subclassed = true;
  }
  SendMessageW(m_tip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
}

void BarToolTips::releasePicture() {
  if (m_subclassed && m_tip) RemoveWindowSubclass(m_tip, pictureProc, kPictureSubclassId);
  m_subclassed = false;
  m_picture.reset();
  m_pictureSize = {};
}

void BarToolTips::drawPicture(HWND tip) {
  if (!m_picture) return;
  RECT client;
  GetClientRect(tip, &client);
  const int x = (client.right - m_pictureSize.cx) / 2;
  const int y = client.bottom - kPictureBottom - m_pictureSize.cy;
  fw::WindowDC dc(tip);
  fw::MemoryDC source(dc);
  fw::SelectScope picture(source, m_picture.get());
  BitBlt(dc, x, y, m_pictureSize.cx, m_pictureSize.cy, source, 0, 0, SRCCOPY);
}

LRESULT CALLBACK BarToolTips::pictureProc(HWND tip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
  if (message == WM_PAINT) {
    // The control paints its frame and text first; the picture goes under the text.
    const LRESULT result = DefSubclassProc(tip, message, wParam, lParam);
    reinterpret_cast<BarToolTips*>(self)->drawPicture(tip);
    return result;
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(tip, pictureProc, kPictureSubclassId);
    reinterpret_cast<BarToolTips*>(self)->m_subclassed = false;
  }
  return DefSubclassProc(tip, message, wParam, lParam);
}

std::optional<LRESULT> BarToolTips::notify(const NMHDR& header) {
  if (!m_tip || header.hwndFrom != m_tip) return std::nullopt;
  switch (header.code) {
    case TTN_GETDISPINFOW: {
      auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
      // A show already timed when the tool was pressed stays empty (no tip).
      const auto code = static_cast<uint32_t>(info.hdr.idFrom);
      m_text = m_pressedTool == code ? std::wstring() : textFor(code);
      preparePicture(code, m_text);
      info.lpszText = m_text.data();
      info.szText[0] = L'\0';
      info.hinst = nullptr;
      return 0;
    }
    case TTN_POP:
      releasePicture();
      return 0;
    default:
      return 0;
  }
}

}  // namespace vorbin
