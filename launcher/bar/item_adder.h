// Turning a NewItemRequest into a saved button: the one road for every button
// the item wizard does not make (Program Manager additem, 0x0520 requests,
// drops, folder registration).
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "launcher/bar/item_request_rules.h"
#include "launcher/bar/new_item_request.h"
#include "launcher/interact/launch_rules.h"
#include "launcher/render/icon_convert.h"
#include "launcher/model/group_table.h"
#include "launcher/services/shortcut_reader.h"
#include "launcher/services/thumbnail_capture.h"

namespace vorbin {

// Deletes the picture file a web item named (by bare name or path) once no
// item of the table names it any more, when it is one of the launcher's own
// pictures in its data folder; anything else is left alone.
void deleteUnnamedPicture(const GroupTable& groups, std::wstring_view named);

class ItemAdder {
 public:
  // How long and how many of the system's answers about targets are kept.
  static constexpr uint32_t kRecentAnswerMs = 5000;
  static constexpr size_t kRecentAnswers = 32;

  explicit ItemAdder(GroupTable& groups) : m_groups(groups) {}
  // Pictures still waiting are built and saved before the adder goes.
  ~ItemAdder();
  ItemAdder(const ItemAdder&) = delete;
  ItemAdder& operator=(const ItemAdder&) = delete;

  // While a batch is open, an add saves its item at once without a picture
  // and leaves the picture (the slow part: the shell reads the program's
  // icon) to buildPictures, which saves the item again with it. The stored
  // value ends the same as when the picture is made at once; until then it
  // holds the blank picture of an item without one. Batches nest.
  class PictureBatch {
   public:
    explicit PictureBatch(ItemAdder& adder) : m_adder(adder) { ++m_adder.m_batchDepth; }
    ~PictureBatch() { --m_adder.m_batchDepth; }
    PictureBatch(const PictureBatch&) = delete;
    PictureBatch& operator=(const PictureBatch&) = delete;

   private:
    ItemAdder& m_adder;
  };
  bool picturesPending() const { return !m_pending.empty(); }
  // Builds and saves waiting pictures for about budgetMs (at least one);
  // true when some remain. The caller repaints the buttons afterwards.
  bool buildPictures(uint32_t budgetMs);
  // Builds every waiting picture.
  void finishPictures();

  struct Added {
    int group = 0;
    int slot = 0;  // in the group, not relative to its first visible slot
  };
  // Fills the empty fields from the target (shortcut, shell name, file
  // name), builds the picture, registers the hot key and saves the item in
  // group (the caller's current group; the placeholder becomes a real group).
  // An occupied slot gets a fresh item and loses its old value. Nothing when
  // the group has no slot below kMaxItemSlots left.
  std::optional<Added> addItemFromRequest(NewItemRequest request, int group);

  struct RequestOutcome {
    bool groupAdded = false;     // a folder request made a group after the active one
    std::optional<Added> added;  // any other request's button
    bool highlight = false;      // the value asked for the new button to be highlighted
  };
  // A folder request (flag 0x0040) makes a group named after the folder;
  // any other request becomes a button at the first free slot of the active
  // group, its flags taken from value.
  RequestOutcome addRequest(NewItemRequest request, uint32_t value);

  // The owner and settings of the thumbnail dialog of web items made from requests.
  void setThumbnailHost(HWND owner, const ThumbnailContext& context) {
    m_thumbOwner = owner;
    m_thumbContext = context;
  }

 private:
  // Deletes the stored value of the item in the slot (and its own picture file).
  void dropOldItem(int group, int slot);

  // A program target's command line split into program and arguments, and
  // the shortcut the program names, if it is one.
  struct ProgramAnswer {
    SplitCommand split;
    std::optional<ShortcutContents> link;
  };
  // The answer for target, asked of the system unless a recent add asked already.
  ProgramAnswer programOf(const std::wstring& target, uint32_t now);

  // The item's picture from source, through the recent pictures.
  void buildPicture(const ItemIconSource& source, const std::optional<std::wstring>& key, IconImage& image,
                    uint32_t now);

  GroupTable& m_groups;
  int m_batchDepth = 0;
  PendingPictures m_pending;
  // A thousand adds of one program ask the system about it once.
  RecentAnswers<IconImage> m_pictures{kRecentAnswerMs, kRecentAnswers};
  RecentAnswers<ProgramAnswer> m_programs{kRecentAnswerMs, kRecentAnswers};
  HWND m_thumbOwner = nullptr;
  ThumbnailContext m_thumbContext;
};

}  // namespace vorbin
