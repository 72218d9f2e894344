// Task-list updates from the hook library's reports.
#include "launcher/bar/task_change.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

void* W(int n) { return reinterpret_cast<void*>(static_cast<uintptr_t>(n)); }

TaskEntry entry(int n, int showState) {
  TaskEntry e;
  e.window = W(n);
  e.showState = showState;
  e.title = L"w" + std::to_wstring(n);
  return e;
}

// Windows of the table in order, after the dummy entry.
std::vector<int> order(const TaskTable& t) {
  std::vector<int> out;
  for (size_t i = 1; i < t.size(); ++i)
    out.push_back(static_cast<int>(reinterpret_cast<uintptr_t>(t[i].window)));
  return out;
}

class TaskChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int n : {1, 2, 3}) table.add(entry(n, 1));
    for (int n : {4, 5}) table.add(entry(n, 0));
  }
  TaskTable table;
};

TEST_F(TaskChanges, DestroyedWindowLeavesTheList) {
  EXPECT_EQ(applyTaskChange(table, W(2), kTaskDestroyed, {}), TaskChange::Updated);
  EXPECT_EQ(order(table), (std::vector<int>{1, 3, 4, 5}));
  EXPECT_EQ(applyTaskChange(table, W(5), kTaskDestroyed, {}), TaskChange::Updated);
  EXPECT_EQ(order(table), (std::vector<int>{1, 3, 4}));
  // A visible window added later still goes before the hidden ones.
  table.add(entry(9, 1));
  EXPECT_EQ(order(table), (std::vector<int>{1, 3, 9, 4}));
}

TEST_F(TaskChanges, HiddenAndShownWindowsMoveToTheBoundary) {
  TaskWindowFacts hiddenNow;
  EXPECT_EQ(applyTaskChange(table, W(1), 0, hiddenNow), TaskChange::Updated);
  EXPECT_EQ(order(table), (std::vector<int>{2, 3, 1, 4, 5}));  // the first hidden one
  EXPECT_EQ(table[3].showState, 0);

  TaskWindowFacts shownNow;
  shownNow.visible = true;
  EXPECT_EQ(applyTaskChange(table, W(5), 1, shownNow), TaskChange::Updated);
  EXPECT_EQ(order(table), (std::vector<int>{2, 3, 5, 1, 4}));  // the last visible one
}

TEST_F(TaskChanges, ShowStateIsCorrectedByTheWindowItself) {
  TaskWindowFacts maximized;
  maximized.visible = true;
  maximized.maximized = true;
  maximized.topmost = true;
  applyTaskChange(table, W(2), 1, maximized);
  EXPECT_EQ(table[2].showState, 3);
  EXPECT_EQ(table[2].topmost, 1);
  EXPECT_EQ(order(table), (std::vector<int>{1, 2, 3, 4, 5}));  // stays where it was

  TaskWindowFacts minimized;
  minimized.visible = true;
  applyTaskChange(table, W(2), 2, minimized);
  EXPECT_EQ(table[2].showState, 2);
}

TEST_F(TaskChanges, TitlesAndIconsAndUnknownWindows) {
  TaskWindowFacts retitled;
  retitled.title = std::wstring(300, L'x');
  EXPECT_EQ(applyTaskChange(table, W(3), kTaskRetitled, retitled), TaskChange::Updated);
  EXPECT_EQ(table[3].title.size(), 255u);

  TaskWindowFacts icon;
  icon.icon = W(77);
  applyTaskChange(table, W(4), kTaskNewIcon, icon);
  EXPECT_EQ(table[4].icon, W(77));

  EXPECT_EQ(applyTaskChange(table, W(42), 4, {}), TaskChange::NotListed);
  EXPECT_EQ(applyTaskChange(table, W(42), kTaskRetitled, {}), TaskChange::NotListed);
  EXPECT_EQ(applyTaskChange(table, W(42), 1, {}), TaskChange::None);
  EXPECT_EQ(applyTaskChange(table, W(42), kTaskDestroyed, {}), TaskChange::None);
  EXPECT_EQ(applyTaskChange(table, W(1), 77, {}), TaskChange::None);
  EXPECT_EQ(order(table), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(TaskListing, OrdinaryTopLevelWindowsOrAnythingLiveWhenDetailed) {
  TaskCandidate ordinary{true, false, false, true, false, true};
  EXPECT_TRUE(qualifiesForTaskList(ordinary, false));
  for (auto broken : {&TaskCandidate::systemMenu, &TaskCandidate::titled}) {
    TaskCandidate w = ordinary;
    w.*broken = false;
    EXPECT_FALSE(qualifiesForTaskList(w, false));
    EXPECT_TRUE(qualifiesForTaskList(w, true));
  }
  for (auto broken : {&TaskCandidate::child, &TaskCandidate::owned, &TaskCandidate::toolWindow}) {
    TaskCandidate w = ordinary;
    w.*broken = true;
    EXPECT_FALSE(qualifiesForTaskList(w, false));
    EXPECT_TRUE(qualifiesForTaskList(w, true));
  }
  TaskCandidate dead = ordinary;
  dead.alive = false;
  EXPECT_FALSE(qualifiesForTaskList(dead, true));
  TaskCandidate excluded = ordinary;
  excluded.excluded = true;
  EXPECT_FALSE(qualifiesForTaskList(excluded, true));
}

TEST(TaskListing, UntitledWindowsShowTheirClassOnlyInADetailedList) {
  const std::wstring longClass(300, L'c');
  const struct {
    int line;
    std::wstring_view title, className;
    bool detailed;
    std::wstring expected;
  } rows[] = {
      {__LINE__, L"Notepad", L"Edit", true, L"Notepad"},
      {__LINE__, L"Notepad", L"Edit", false, L"Notepad"},
      {__LINE__, L"", L"tooltips_class32", true, L"class:tooltips_class32"},
      {__LINE__, L"", L"tooltips_class32", false, L""},
      {__LINE__, L"", L"", true, L"class:"},
      {__LINE__, L"", longClass, true, (L"class:" + longClass).substr(0, kTaskTitleLimit)},
      {__LINE__, std::wstring_view(longClass), L"X", false, longClass.substr(0, kTaskTitleLimit)},
  };
  for (const auto& r : rows)
    EXPECT_EQ(taskTitle(r.title, r.className, r.detailed), r.expected) << "row of line " << r.line;
}

TEST_F(TaskChanges, DummyEntryIsNeverMatched) {
  TaskTable empty;
  EXPECT_EQ(applyTaskChange(empty, nullptr, kTaskDestroyed, {}), TaskChange::None);
  EXPECT_EQ(empty.size(), 1u);
}

}  // namespace
}  // namespace vorbin
