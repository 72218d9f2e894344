// A right-button drop of a web address on an occupied slot, on a bar of this
// process. Another program's drag loop cannot carry the right button here
// (see the disabled case in drop_e2e_test.cpp), so the test plays the drag
// loop itself: it takes the drop target the bar registered for its window
// (the one the system's drag loop calls) and calls it with the key states a
// right-button drag gives. The bar must ask before it replaces the button;
// the question runs on this thread, so a second thread answers it.
#include <windows.h>
#include <ole2.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "launcher/model/item_record.h"
#include "launcher/services/language_strings.h"
#include "tests/app/bar_geometry.h"
#include "tests/app/launcher_driver.h"
#include "tests/bar/in_process_bar.h"
#include "tests/drop/drop_data_object.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

class RightDrop : public InProcessBarTest {
 protected:
  static void SetUpTestSuite() {
    s_english = LoadLibraryW(e2e::binPath(L"Vorbr2ke.dll").c_str());
    setResourceModule(s_english);
  }
  static void TearDownTestSuite() {
    setResourceModule(nullptr);
    FreeLibrary(s_english);
  }
  void SetUp() override {
    ASSERT_NE(s_english, nullptr);
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    InProcessBarTest::SetUp();
  }
  void TearDown() override {
    InProcessBarTest::TearDown();
    OleUninitialize();
  }

  // One group "Drops" with a program button at slot 5, and its bar.
  void seedAndShow() {
    const std::wstring title = L"Drops";
    ASSERT_TRUE(groups->ensureGroup(static_cast<int>(groups->placeholderIndex()), &title, false));
    auto item = std::make_unique<Item>();
    item->title = L"Editor";
    item->setTargetPath(L"C:\\windows\\notepad.exe");
    groups->placeItem(1, 5, std::move(item));
    ASSERT_TRUE(groups->saveItem(1, 5, false));
    groups->saveOrder();
    section = groups->groupSectionName(1);
    groups->activeGroup = 1;
    HWND w = createShownBar();
    bar->repaintAll();
    e2e::pumpFor(50);
    // What the system's drag loop finds for the window: the target the bar
    // registered with RegisterDragDrop, kept as a property of the window.
    target = static_cast<IDropTarget*>(GetPropW(w, L"OleDropTargetInterface"));
    ASSERT_NE(target, nullptr) << "the bar registered no drop target";
  }
  POINT slot(int n) const { return driver::gridSlotCentre(bar->hwnd(), bar->layout(), n); }

  // A drag of the text coming in, resting over the point and dropped, with
  // the key state while the drag moves and the one at the release; the
  // effects shown over the point and at the drop.
  std::pair<DWORD, DWORD> dragText(const std::wstring& text, POINT at, DWORD movingKeys, DWORD releaseKeys) {
    std::vector<uint8_t> bytes;
    droptest::appendWide(bytes, text);
    droptest::DataObject data({{CF_UNICODETEXT, bytes}});
    const POINTL p{at.x, at.y};
    const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    DWORD effect = allowed;
    EXPECT_EQ(target->DragEnter(&data, movingKeys, p, &effect), S_OK);
    effect = allowed;
    EXPECT_EQ(target->DragOver(movingKeys, p, &effect), S_OK);
    const DWORD shown = effect;
    effect = allowed;
    EXPECT_EQ(target->Drop(&data, releaseKeys, p, &effect), S_OK);
    return {shown, effect};
  }

  // Pumps this thread (where the bar asks its question) while a second
  // thread waits for a message box of this process and answers it with the
  // button; further boxes (a web page's picture) get OK until done() holds
  // (and, when a question is expected, it has been answered).
  struct Answer {
    std::optional<std::wstring> caption, text;
  };
  Answer answerWhile(int button, bool expectQuestion, const std::function<bool()>& done, DWORD timeoutMs) {
    Answer answer;
    std::atomic<bool> stop{false}, answered{false};
    std::thread helper([&] {
      const DWORD me = GetCurrentProcessId();
      HWND box = nullptr;
      if (!e2e::waitUntil([&] { return stop || (box = driver::findDialog(me)) != nullptr; }, timeoutMs) || !box)
        return;
      answer.caption = driver::windowText(box);
      answer.text = driver::answerDialog(me, button, 2000);
      answered = true;
      while (!stop) {
        if (HWND more = driver::findDialog(me)) PostMessageW(more, WM_COMMAND, IDOK, 0);
        Sleep(20);
      }
    });
    e2e::waitUntil([&] { return (answered || !expectQuestion) && done(); }, timeoutMs);
    e2e::pumpFor(200);
    stop = true;
    helper.join();
    return answer;
  }

  static std::vector<ProfileValue> itemValues(const Profile& stored, const std::wstring& section) {
    std::vector<ProfileValue> out;
    for (ProfileValue& v : stored.values(section))
      if (v.name.find(L',') != std::wstring::npos) out.push_back(std::move(v));
    return out;
  }
  // The button at the slot of group 1 as the profile holds it now.
  std::optional<Item> storedItem(int slot) {
    GroupTable reread(profile, groups->options());  // the section names the bar uses
    reread.loadGroups();
    if (reread.placeholderIndex() < 2 || static_cast<size_t>(slot) >= reread[1].items.size() ||
        !reread[1].items[slot])
      return std::nullopt;
    return *reread[1].items[slot];
  }

  static HMODULE s_english;
  std::wstring section;
  IDropTarget* target = nullptr;
};

HMODULE RightDrop::s_english = nullptr;

bool sameValues(const std::vector<ProfileValue>& a, const std::vector<ProfileValue>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || a[i].kind != b[i].kind || a[i].data != b[i].data) return false;
  return true;
}

// Cancel keeps the button and writes nothing; OK replaces it with the
// address. Between the two, and after, the bar still takes a plain drop.
TEST_F(RightDrop, OnAnOccupiedSlotItAsksAndCancelKeepsTheButtonWhileOkReplacesIt) {
  seedAndShow();
  const std::vector<std::wstring> texts = driver::libraryStrings(448), captions = driver::libraryStrings(449);
  ASSERT_FALSE(texts.at(0).empty());
  ASSERT_FALSE(captions.at(0).empty());
  const std::vector<ProfileValue> before = itemValues(profile, section);
  ASSERT_EQ(before.size(), 1u);
  const size_t writesBefore = profile.writeCount();

  {
    SCOPED_TRACE("Cancel");
    // The right button is held while the drag moves; Windows reports the key
    // state after the release at the drop, so the button is gone from it.
    const auto [shown, done] = dragText(L"http://drop.test/other", slot(5), MK_RBUTTON, 0);
    EXPECT_NE(shown, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_NE(done, static_cast<DWORD>(DROPEFFECT_NONE));
    const Answer answer = answerWhile(IDCANCEL, true, [] { return true; }, 8000);
    ASSERT_TRUE(answer.text) << "no question came";
    EXPECT_EQ(*answer.caption, captions.at(0));
    EXPECT_EQ(*answer.text, texts.at(0));
    e2e::pumpFor(200);
    EXPECT_EQ(profile.writeCount(), writesBefore) << "Cancel wrote to the profile";
    EXPECT_TRUE(sameValues(itemValues(profile, section), before));
    const std::optional<Item> kept = storedItem(5);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->title, L"Editor");
    EXPECT_EQ(kept->targetPath(), L"C:\\windows\\notepad.exe");
    ASSERT_NE(groups->item(1, 5), nullptr);
    EXPECT_EQ(groups->item(1, 5)->title, L"Editor");
  }
  {
    SCOPED_TRACE("a plain drop after Cancel");
    // The handler is ready for the next drag: a left drop on the empty slot 7
    // makes a button there without any question about replacing.
    dragText(L"http://drop.test/seven", slot(7), MK_LBUTTON, 0);
    const Answer answer = answerWhile(IDOK, false, [&] { return storedItem(7).has_value(); }, 8000);
    if (answer.caption) EXPECT_NE(*answer.caption, captions.at(0)) << "a drop on an empty slot asked to replace";
    const std::optional<Item> made = storedItem(7);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->targetPath(), L"http://drop.test/seven");
    EXPECT_EQ(storedItem(5)->title, L"Editor");
  }
  {
    SCOPED_TRACE("OK");
    dragText(L"http://drop.test/other", slot(5), MK_RBUTTON, 0);
    const Answer answer = answerWhile(
        IDOK, true,
        [&] {
          const std::optional<Item> now = storedItem(5);
          return now && now->targetPath() == L"http://drop.test/other";
        },
        8000);
    ASSERT_TRUE(answer.text) << "no question came";
    EXPECT_EQ(*answer.caption, captions.at(0));
    EXPECT_EQ(*answer.text, texts.at(0));
    const std::optional<Item> replaced = storedItem(5);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->targetPath(), L"http://drop.test/other");
    EXPECT_TRUE(replaced->flags & kItemUrl);
    EXPECT_EQ(itemValues(profile, section).size(), 2u) << "slot 5 holds one value, slot 7 the other";
  }
  // The bar still answers its window messages.
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(bar->hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &result), 0);
}

}  // namespace
}  // namespace vorbin
