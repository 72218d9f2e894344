// Adding buttons from requests: the shell's part (shortcuts, display names,
// pictures, hot keys) around the rules of item_request_rules.h.
#include "launcher/bar/item_adder.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "framework/com.h"
#include "framework/trace.h"
#include "launcher/bar/item_request_rules.h"
#include "launcher/bar/menu_rules.h"
#include "launcher/interact/launch_item.h"
#include "launcher/interact/launch_rules.h"
#include "launcher/render/icon_convert.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/shortcut_reader.h"

namespace vorbin {
namespace {

// The file-system path of an item-ID list, or empty for a shell object without one.
std::wstring idListPath(const IdListBytes& bytes) {
  PIDLIST_ABSOLUTE list = idListToShell(bytes);
  if (!list) return {};
  wchar_t path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListW(list, path);
  CoTaskMemFree(list);
  return ok ? std::wstring(path, wcsnlen(path, MAX_PATH)) : std::wstring();
}

std::wstring commandLine(const std::wstring& program, const std::wstring& arguments) {
  std::wstring line = program.find(L' ') != std::wstring::npos ? L"\"" + program + L"\"" : program;
  if (!arguments.empty()) line += L" " + arguments;
  return line;
}

// A shortcut's values fill what the request left empty; its target replaces the link.
void takeShortcut(NewItemRequest& request, const std::wstring& link, const ShortcutContents& s,
                  std::wstring& comment, uint16_t& hotKey) {
  if (!s.path.empty()) {
    request.target = commandLine(s.path, s.arguments);
  } else if (!s.idList.empty()) {
    request.target.clear();
    request.idList = s.idList;
    request.flags |= kItemIdList;
  }
  request.flags = (request.flags & ~kItemShowMask) | showBitsFromShowCommand(s.showCommand);
  if (request.title.empty()) request.title = titleFromPath(link);
  if (request.folder.empty()) request.folder = s.folder;
  if (request.iconFile.empty()) {
    request.iconFile = s.iconFile;
    request.iconIndex = s.iconIndex;
  }
  comment = s.comment.substr(0, kMaxCommentChars);
  hotKey = s.hotKey;
}

}  // namespace

std::optional<ItemAdder::Added> ItemAdder::addItemFromRequest(NewItemRequest request, int group) {
  if (group < 0 || static_cast<size_t>(group) > m_groups.placeholderIndex()) return std::nullopt;
  if (static_cast<size_t>(group) == m_groups.placeholderIndex()) {
    const auto made = m_groups.ensureGroup(group, nullptr, false);
    if (!made) return std::nullopt;
    group = *made;
  }
  const std::optional<int> slot = requestSlot(m_groups[group], request.slot);
  if (!slot) return std::nullopt;

  // A web address that came with a page picture (or asked for one and got
  // none) goes through the thumbnail dialog; Cancel still makes the item.
  RequestThumbnail thumbnail;
  if ((request.flags & kItemUrl) && request.picture != kNoCaptureMark) {
    thumbnail = thumbnailForRequest(reinterpret_cast<HBITMAP>(request.picture),
                                    (request.flags & kRequestShortThumbnail) != 0, request.title, m_thumbOwner,
                                    m_thumbContext);
    if (thumbnail.accepted && !(request.flags & kRequestShortThumbnail)) request.title = thumbnail.title;
  }
  request.flags &= ~kRequestShortThumbnail;

  // An item-ID list that stands for a file-system path becomes that path.
  if ((request.flags & kItemIdList) && !request.idList.empty()) {
    std::wstring path = idListPath(request.idList);
    if (!path.empty()) {
      request.target = std::move(path);
      request.idList.clear();
      request.flags &= ~kItemIdList;
    }
  }

  RequestFacts facts;
  std::wstring comment;
  uint16_t hotKey = 0;
  const uint32_t now = GetTickCount();
  if (isProgramRequest(request.flags)) {
    const ProgramAnswer program = programOf(request.target, now);
    SplitCommand split = program.split;
    if (program.link) {
      takeShortcut(request, split.program, *program.link, comment, hotKey);
      if (isProgramRequest(request.flags)) {
        Win32LaunchSystem system;
        split = splitCommand(request.target, system);
      } else {
        split = {};
      }
    }
    facts.program = split.program;
    facts.argumentsSplit = !split.arguments.empty();
  }
  facts.flags = request.flags & kItemFlagBits;
  facts.target = request.target;
  facts.title = request.title;
  facts.folder = request.folder;
  if (facts.title.empty() && (facts.flags & (kItemIdList | kItemFolder | kItemPrompt)))
    facts.displayName = shellDisplayName(request.target, request.idList);
  const RequestTexts texts = requestItemTexts(facts);

  auto item = std::make_unique<Item>();
  item->title = texts.title;
  item->flags = facts.flags;
  item->folder = texts.folder;
  item->text5 = comment;
  if (thumbnail.accepted && !thumbnail.comment.empty()) item->text5 = thumbnail.comment;
  if (!thumbnail.file.empty()) item->text4 = thumbnail.file;
  if (texts.keepTarget) {
    if (facts.flags & kItemIdList)
      item->target = request.idList;
    else
      item->setTargetPath(request.target);
  }
  const std::wstring iconFile = texts.iconSource ? request.iconFile : std::wstring();
  ItemIconSource source{.iconFile = iconFile,
                        .iconIndex = request.iconIndex,
                        .path = request.target,
                        .idList = (facts.flags & kItemIdList) ? std::span<const uint8_t>(request.idList)
                                                              : std::span<const uint8_t>(),
                        .flags = facts.flags};
  const std::optional<std::wstring> pictureFrom = pictureKey(facts.flags, iconFile, request.iconIndex, request.target);
  // A picture kept from a recent add costs nothing: only new ones wait.
  const IconImage* kept = pictureFrom ? m_pictures.find(*pictureFrom, now) : nullptr;
  const bool later = m_batchDepth > 0 && !kept;
  if (!later) buildPicture(source, pictureFrom, item->image, now);
  if ((facts.flags & kItemUrl) && !iconFile.empty())
    item->text3 = iconFile + L"," + std::to_wstring(request.iconIndex);

  // A reused slot starts from a fresh item: nothing of the old one stays.
  dropOldItem(group, *slot);
  Item& placed = m_groups.placeItem(group, *slot, std::move(item));
  m_groups.setItemHotKey(placed, hotKey);
  m_groups.saveItem(group, *slot, false);
  if (later)
    m_pending.add({.place = {group, *slot},
                   .identity = placed.identity.value(),
                   .flags = facts.flags,
                   .iconFile = iconFile,
                   .iconIndex = request.iconIndex,
                   .path = request.target,
                   .idList = (facts.flags & kItemIdList) ? request.idList : IdListBytes{}});
  return Added{group, *slot};
}

ItemAdder::~ItemAdder() { finishPictures(); }

void ItemAdder::buildPicture(const ItemIconSource& from, const std::optional<std::wstring>& key, IconImage& image,
                             uint32_t now) {
  if (const IconImage* kept = key ? m_pictures.find(*key, now) : nullptr) {
    copyImage(image, *kept);
    return;
  }
  ItemIconSource source = from;  // the lookup may set the icon index
  imageForItem(source, image, nullptr, true);
  if (key) m_pictures.keep(*key, image, now);
}

bool ItemAdder::buildPictures(uint32_t budgetMs) {
  if (m_pending.empty()) return false;
  // The shell's icon objects want COM on this thread.
  fw::ComScope com;
  const DWORD start = GetTickCount();
  const auto build = [this](const PendingPictures::Entry& e, SlotPlace place) {
    Item* item = m_groups.item(place.group, place.slot);
    // A picture given meanwhile (the item's sheet, a thumbnail) is the user's: it stays.
    if (!item || !item->image.empty()) return;
    const ItemIconSource source{.iconFile = e.iconFile,
                                .iconIndex = e.iconIndex,
                                .path = e.path,
                                .idList = std::span<const uint8_t>(e.idList),
                                .flags = e.flags};
    buildPicture(source, pictureKey(e.flags, e.iconFile, e.iconIndex, e.path), item->image, GetTickCount());
    m_groups.saveItem(place.group, place.slot, false);
  };
  return m_pending.run(
      m_groups, build, [start] { return GetTickCount() - start; }, budgetMs);
}

void ItemAdder::finishPictures() {
  while (buildPictures(UINT32_MAX)) {
  }
}

ItemAdder::ProgramAnswer ItemAdder::programOf(const std::wstring& target, uint32_t now) {
  if (const ProgramAnswer* kept = m_programs.find(target, now)) return *kept;
  Win32LaunchSystem system;
  ProgramAnswer answer;
  answer.split = splitCommand(target, system);
  answer.link = readShortcut(answer.split.program);
  m_programs.keep(target, answer, now);
  return answer;
}

void deleteUnnamedPicture(const GroupTable& groups, std::wstring_view named) {
  if (named.empty()) return;
  const std::wstring data = dataFolder(nullptr, L"", false);
  const std::wstring path = deletablePicturePath(named, data);
  if (path.empty() || pictureStillNamed(groups, path, data)) return;
  if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) FW_TRACE_FAILURE("DeleteFileW");
}

void ItemAdder::dropOldItem(int group, int slot) {
  const Item* old = m_groups.item(group, slot);
  if (!old) return;
  const std::wstring picture = (old->flags & kItemUrl) ? old->text4 : std::wstring();
  m_groups.saveItem(group, slot, true);
  m_groups.removeItem(group, slot);
  // Copied buttons share a picture: it goes with the last of them.
  deleteUnnamedPicture(m_groups, picture);
}

ItemAdder::RequestOutcome ItemAdder::addRequest(NewItemRequest request, uint32_t value) {
  RequestOutcome out;
  if (request.flags & kItemFolder) {
    const bool byIdList = (request.flags & kItemIdList) && !request.idList.empty();
    std::wstring name =
        shellDisplayName(byIdList ? L"" : request.target, byIdList ? request.idList : IdListBytes{});
    if (name.empty()) name = titleFromPath(request.target);
    SHFILEINFOW info{};
    IconImage icon;
    PIDLIST_ABSOLUTE list = byIdList ? idListToShell(request.idList) : nullptr;
    const wchar_t* what = list ? reinterpret_cast<const wchar_t*>(list) : request.target.c_str();
    if ((list || !byIdList) &&
        SHGetFileInfoW(what, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | (list ? SHGFI_PIDL : 0)))
      icon = imageFromIcon(info.hIcon, true, true);
    if (list) CoTaskMemFree(list);
    out.groupAdded = m_groups
                         .ensureGroup(m_groups.activeGroup, name.empty() ? nullptr : &name, true,
                                      icon.bits.empty() ? nullptr : &icon)
                         .has_value();
    return out;
  }
  int active = m_groups.activeGroup;
  if (static_cast<size_t>(active) >= m_groups.placeholderIndex()) {
    const auto made = m_groups.ensureGroup(static_cast<int>(m_groups.placeholderIndex()), nullptr, false);
    if (!made) return out;
    active = *made;
    m_groups.activeGroup = active;
  }
  request.slot = -1;
  request.flags = addRequestFlags(value);
  out.added = addItemFromRequest(std::move(request), active);
  out.highlight = out.added && addRequestHighlights(value);
  return out;
}

}  // namespace vorbin
