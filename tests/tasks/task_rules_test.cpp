// Marking task entries, command targets, tile and cascade geometry, the
// Explorer test and the new button's target.
#include "launcher/bar/task_rules.h"

#include <gtest/gtest.h>

#include "launcher/bar/task_scroll.h"

#include <set>
#include <string>

namespace vorbin {
namespace {

TaskTable tableOf(int entries) {
  TaskTable t;
  for (int i = 1; i <= entries; ++i) {
    TaskEntry e;
    e.window = reinterpret_cast<void*>(static_cast<uintptr_t>(0x100 * i));
    e.showState = 1;
    t.add(e);
  }
  return t;
}

std::string marks(const TaskTable& t) {
  std::string s;
  for (size_t i = 1; i < t.size(); ++i) s += t[i].marked ? 'x' : '.';
  return s;
}

TEST(TaskMarking, ClicksWithModifiersMarkLikeAFileList) {
  struct Step {
    int line;
    MarkClick click;
    std::string after;
    bool switchTo;
  };
  // One sequence on a list of six entries; each step sees the previous marks.
  const Step steps[] = {
      {__LINE__, {2, false, false}, "......", true},  // a plain click switches, marks nothing
      {__LINE__, {2, true, false}, ".x....", false},  // Ctrl toggles on and anchors
      {__LINE__, {5, false, true}, ".xxxx.", false},  // Shift extends from the anchor
      {__LINE__, {3, true, false}, ".x.xx.", false},  // Ctrl toggles off, anchor 3
      {__LINE__, {1, false, true}, "xxxxx.", false},  // Shift upwards from the new anchor
      {__LINE__, {9, true, false}, "xxxxx.", false},  // beyond the list: nothing
      {__LINE__, {0, false, true}, "xxxxx.", false},  // the dummy entry: nothing
      {__LINE__, {6, true, true}, "xxxxxx", false},   // Ctrl+Shift extends as well
  };
  TaskTable t = tableOf(6);
  int anchor = 0;
  for (const Step& s : steps) {
    const MarkOutcome out = markByClick(t, anchor, s.click);
    EXPECT_EQ(marks(t), s.after) << "line " << s.line;
    EXPECT_EQ(out.switchTo, s.switchTo) << "line " << s.line;
  }
  EXPECT_EQ(markedCount(t), 6);
}

TEST(TaskMarking, ShiftWithoutAnchorMarksOnlyTheEntryAndRangesClip) {
  TaskTable t = tableOf(4);
  int anchor = 0;
  EXPECT_TRUE(markByClick(t, anchor, {3, false, true}).changed);
  EXPECT_EQ(marks(t), "..x.");
  EXPECT_FALSE(markByClick(t, anchor, {3, false, true}).changed) << "nothing new";
  EXPECT_TRUE(markRange(t, 9, -3));
  EXPECT_EQ(marks(t), "xxxx");
  TaskTable empty;
  EXPECT_FALSE(markRange(empty, 1, 3));
}

TEST(TaskTargets, MarkedWindowsAreACopyInListOrder) {
  TaskTable t = tableOf(5);
  t[4].marked = 1;
  t[2].marked = 1;
  const std::vector<void*> windows = markedWindows(t);
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[0], t[2].window);
  EXPECT_EQ(windows[1], t[4].window);
  t.reset();  // the list changes while the copy is worked on
  EXPECT_EQ(windows[1], reinterpret_cast<void*>(0x400));
  EXPECT_TRUE(markedWindows(tableOf(3)).empty());
}

TEST(TileChoice, MenuBitsPickDirectionAndHalfOfTheWorkArea) {
  // A work area that starts neither at 0 nor has an even width.
  const Rect work{100, 30, 1101, 731};
  struct Row {
    int line;
    int id;
    bool horizontal;
    Rect area;
  };
  const Row rows[] = {
      {__LINE__, 0x4000, false, work},
      {__LINE__, 0x4020, false, {100, 30, 600, 731}},
      {__LINE__, 0x4030, false, {600, 30, 1101, 731}},
      {__LINE__, 0x4040, false, {100, 30, 1101, 380}},
      {__LINE__, 0x4050, false, {100, 380, 1101, 731}},
      {__LINE__, 0x6020, true, {100, 30, 600, 731}},
      {__LINE__, 0x6050, true, {100, 380, 1101, 731}},
      {__LINE__, 0x4060, false, work},  // an unknown area: the whole work area
      {__LINE__, 0x2070, true, work},
  };
  for (const Row& r : rows) {
    const TileChoice c = tileChoice(r.id, work);
    EXPECT_EQ(c.horizontal, r.horizontal) << "line " << r.line;
    EXPECT_EQ(c.area, r.area) << "line " << r.line;
  }
}

// Every rectangle inside the area, none overlapping, together covering it.
void expectTiling(const std::vector<Rect>& rects, const Rect& area, int line) {
  long long covered = 0;
  for (size_t i = 0; i < rects.size(); ++i) {
    const Rect& r = rects[i];
    EXPECT_FALSE(r.empty()) << "line " << line << " rect " << i;
    EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom)
        << "line " << line << " rect " << i;
    covered += static_cast<long long>(r.width()) * r.height();
    for (size_t j = 0; j < i; ++j) {
      const Rect cut = intersectRect(r, rects[j]);
      EXPECT_TRUE(cut.empty()) << "line " << line << " rects " << j << "," << i;
    }
  }
  EXPECT_EQ(covered, static_cast<long long>(area.width()) * area.height()) << "line " << line;
}

TEST(TileRects, TilesCoverTheAreaWithoutOverlap) {
  const Rect area{100, 30, 601, 731};
  struct Row {
    int line;
    size_t count;
    bool horizontal;
    int columns;  // distinct left edges
    int rows;     // distinct top edges
  };
  const Row table[] = {
      {__LINE__, 1, false, 1, 1}, {__LINE__, 3, false, 3, 1}, {__LINE__, 3, true, 1, 3},
      {__LINE__, 4, false, 2, 2}, {__LINE__, 5, false, 2, 3}, {__LINE__, 9, true, 3, 3},
  };
  for (const Row& r : table) {
    const std::vector<Rect> rects = tileRects(r.count, area, r.horizontal);
    ASSERT_EQ(rects.size(), r.count) << "line " << r.line;
    expectTiling(rects, area, r.line);
    std::set<int> lefts, tops;
    for (const Rect& x : rects) {
      lefts.insert(x.left);
      tops.insert(x.top);
    }
    EXPECT_EQ(static_cast<int>(lefts.size()), r.columns) << "line " << r.line;
    EXPECT_EQ(static_cast<int>(tops.size()), r.rows) << "line " << r.line;
  }
  EXPECT_TRUE(tileRects(0, area, false).empty());
  EXPECT_TRUE(tileRects(3, Rect{10, 10, 10, 50}, false).empty());
}

TEST(CascadeRects, StepsDownAndRightAndWrapsInsideTheArea) {
  const Rect area{50, 20, 950, 620};
  const std::vector<Rect> rects = cascadeRects(40, area, 25);
  ASSERT_EQ(rects.size(), 40u);
  EXPECT_EQ(rects[0].left, 50);
  EXPECT_EQ(rects[0].top, 20);
  EXPECT_EQ(rects[1].left, 75);
  EXPECT_EQ(rects[1].top, 45);
  bool wrapped = false;
  for (size_t i = 0; i < rects.size(); ++i) {
    const Rect& r = rects[i];
    EXPECT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom)
        << "rect " << i;
    EXPECT_EQ(r.width(), 600);
    EXPECT_EQ(r.height(), 400);
    if (i > 0 && r.left < rects[i - 1].left) wrapped = true;
  }
  EXPECT_TRUE(wrapped) << "40 steps of 25 cannot fit in 300 pixels of room";
  EXPECT_TRUE(cascadeRects(0, area, 25).empty());
}

TEST(TaskButton, ExplorerByFileNameAndTargetQuoting) {
  struct Row {
    int line;
    const wchar_t* path;
    bool explorer;
  };
  const Row rows[] = {
      {__LINE__, L"C:\\windows\\explorer.exe", true},
      {__LINE__, L"C:\\WINDOWS\\EXPLORER.EXE", true},
      {__LINE__, L"explorer.exe", true},
      {__LINE__, L"C:\\tools\\explorer\\viewer.exe", false},  // a folder of that name
      {__LINE__, L"C:\\tools\\myexplorer.exe", false},
      {__LINE__, L"C:\\tools\\explorer.exe.bak", false},
      {__LINE__, L"", false},
  };
  for (const Row& r : rows) EXPECT_EQ(isExplorerProgram(r.path), r.explorer) << "line " << r.line;

  EXPECT_EQ(taskButtonTarget(L"C:\\a\\b.exe", L""), L"C:\\a\\b.exe");
  EXPECT_EQ(taskButtonTarget(L"C:\\Program Files\\b.exe", L""), L"\"C:\\Program Files\\b.exe\"");
  EXPECT_EQ(taskButtonTarget(L"C:\\Program Files\\b.exe", L"/x \"y z\""),
            L"\"C:\\Program Files\\b.exe\" /x \"y z\"");
  EXPECT_EQ(taskButtonTarget(L"C:\\a\\b.exe", L"doc.txt"), L"C:\\a\\b.exe doc.txt");
}

TEST(TaskDetails, LineNamesFileProcessPriorityAndType) {
  EXPECT_EQ(taskDetailsLine(L"C:\\w\\notepad.exe", 12, L"Normal", L"32Bit"), L"notepad.exe  (pid 12, Normal, 32Bit)");
  EXPECT_EQ(taskDetailsLine(L"", 7, L"", L"16Bit"), L"?  (pid 7, 16Bit)");
  EXPECT_EQ(taskDetailsLine(L"/x/y", 1, L"High", L"32Bit"), L"y  (pid 1, High, 32Bit)");
}

TEST(TaskScroll, FirstRowStaysWithinTheListAsItAndTheAreaChange) {
  struct Row {
    int line, firstRow, entries, perRow, areaHeight, expected;
  };
  // Tabs 40 pixels high; an area of 200 shows five rows.
  const Row rows[] = {
      {__LINE__, 0, 30, 1, 200, 0},   {__LINE__, 25, 30, 1, 200, 25},  // the last page
      {__LINE__, 26, 30, 1, 200, 25},  // one row too far: the last page ends with the last row
      {__LINE__, 25, 12, 1, 200, 7},   // windows went away: the last rows stay in view
      {__LINE__, 25, 5, 1, 200, 0},    // all fit: from the first row
      {__LINE__, 25, 0, 1, 200, 0},    // nothing listed
      {__LINE__, 10, 30, 1, 400, 10}, {__LINE__, 25, 30, 1, 400, 20},  // a taller bar
      {__LINE__, 3, 30, 1, 20, 3},  // an area lower than a tab still shows one row
      {__LINE__, 29, 30, 1, 20, 29},  {__LINE__, 30, 30, 1, 20, 29},
      {__LINE__, 9, 30, 3, 200, 5},  // ten rows of three
      {__LINE__, -4, 30, 1, 200, 0},
  };
  for (const Row& r : rows)
    EXPECT_EQ(clampedTaskRow(r.firstRow, {r.entries, r.perRow, 40, r.areaHeight}), r.expected)
        << "line " << r.line;
}

TEST(TaskScroll, ANewDisplayModeKeepsTheFirstShownEntryInTheFirstRow) {
  struct Row {
    int line, firstRow, oldPerRow, newPerRow, tabHeight, expected;
  };
  // 60 entries in an area of 200 pixels.
  const Row rows[] = {
      {__LINE__, 12, 1, 1, 25, 12},  // same width, lower rows: the row stays (its pixels rescale)
      {__LINE__, 12, 1, 1, 40, 12},         {__LINE__, 58, 1, 1, 40, 55},  // taller rows: fewer fit
      {__LINE__, 10, 1, 4, 40, 2},  // entry 10 is in row 2 of four columns
      {__LINE__, 3, 4, 1, 40, 12},          {__LINE__, 0, 4, 1, 40, 0},
      {__LINE__, 0x7FFFFFF, 64, 1, 40, 55},  // an absurd old row cannot overflow
  };
  for (const Row& r : rows)
    EXPECT_EQ(taskRowForNewMode(r.firstRow, r.oldPerRow, {60, r.newPerRow, r.tabHeight, 200}), r.expected)
        << "line " << r.line;
}

TEST(TaskTargets, AReusedHandleIsNotTheListedWindow) {
  struct Row {
    int line;
    bool exists;
    uint32_t recorded, now;
    bool same;
  };
  const Row rows[] = {
      {__LINE__, true, 40, 40, true},  {__LINE__, false, 40, 40, false},  // gone
      {__LINE__, true, 40, 44, false},  // the handle now belongs to another program
      {__LINE__, true, 0, 0, false},    // no process recorded: it cannot be told
      {__LINE__, true, 40, 0, false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(sameTaskWindow(r.exists, r.recorded, r.now), r.same) << "line " << r.line;

  TaskTable t = tableOf(3);
  t[1].processId = 7;
  t[3].processId = 9;
  t[1].marked = t[3].marked = 1;
  const std::vector<TaskTarget> targets = markedTargets(t);
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(targets[0].window, t[1].window);
  EXPECT_EQ(targets[0].processId, 7u);
  EXPECT_EQ(targets[1].processId, 9u);
}

TEST(TaskMarking, ARubberBandMarksWhatItTouchesAndKeepsOnlyTheKeptMarks) {
  TaskTable t = tableOf(6);
  t[1].marked = t[6].marked = 1;
  // Without Ctrl nothing is kept: the band's entries replace the marks.
  EXPECT_TRUE(markByBand(t, {}, {2, 3}));
  EXPECT_EQ(marks(t), ".xx...");
  EXPECT_FALSE(markByBand(t, {}, {3, 2})) << "the same entries again change nothing";
  // The band shrinks back while it is drawn: entries it left lose their mark.
  EXPECT_TRUE(markByBand(t, {}, {2}));
  EXPECT_EQ(marks(t), ".x....");
  // With Ctrl the marks from before the band stay, also where the band passed.
  const std::vector<void*> kept{t[5].window, t[2].window};
  EXPECT_TRUE(markByBand(t, kept, {3, 4}));
  EXPECT_EQ(marks(t), ".xxxx.");
  EXPECT_TRUE(markByBand(t, kept, {}));
  EXPECT_EQ(marks(t), ".x..x.");
  // Entries beyond the list and the dummy entry are ignored.
  EXPECT_TRUE(markByBand(t, {}, {0, 6, 42, -1}));
  EXPECT_EQ(marks(t), ".....x");
}

// A desktop of windows on threads of processes, asked as the listing asks
// the system: one window at a time, or one thread's windows at once.
struct FakeDesktop {
  struct Window {
    uint32_t thread, process;
  };
  std::vector<Window> windows;  // window k is handle k + 1
  int questions = 0;

  static void* handle(size_t k) { return reinterpret_cast<void*>(static_cast<uintptr_t>(k + 1)); }
  uint32_t processOf(size_t k, WindowOwners& owners) {
    if (const uint32_t known = owners.known(handle(k))) return known;
    ++questions;
    const Window& w = windows[k];
    if (owners.asked(w.thread, w.process)) {
      ++questions;
      std::vector<void*> ofThread;
      for (size_t j = 0; j < windows.size(); ++j)
        if (windows[j].thread == w.thread) ofThread.push_back(handle(j));
      owners.listed(w.process, ofThread);
    }
    return w.process;
  }
};

TEST(TaskOwners, EveryWindowGetsItsProcessWithOneListingPerBusyThread) {
  FakeDesktop desk;
  // Threads 1 and 2 (process 10) with 40 windows each, interleaved; thread 3
  // (process 20) with one window; thread 4 (process 30) with two.
  for (int k = 0; k < 40; ++k) {
    desk.windows.push_back({1, 10});
    desk.windows.push_back({2, 10});
  }
  desk.windows.push_back({3, 20});
  desk.windows.push_back({4, 30});
  desk.windows.push_back({4, 30});
  WindowOwners owners;
  for (size_t k = 0; k < desk.windows.size(); ++k)
    EXPECT_EQ(desk.processOf(k, owners), desk.windows[k].process) << "window " << k;
  // Two answers and one listing per thread of many windows; a lone window one
  // answer; a thread of two windows no more than one question more than asking each.
  EXPECT_EQ(desk.questions, 3 + 3 + 1 + 3);
  // Each thread is listed once: asking again about a listed thread lists nothing.
  EXPECT_FALSE(owners.asked(1, 10));
  EXPECT_FALSE(owners.asked(4, 30));
}

TEST(TaskOwners, FailedAnswersAndUnknownWindowsAreNeverGuessed) {
  WindowOwners owners;
  int dummy = 0;
  EXPECT_EQ(owners.known(&dummy), 0u);
  // A window gone before its answer gives thread and process 0: nothing listed.
  EXPECT_FALSE(owners.asked(0, 0));
  EXPECT_FALSE(owners.asked(0, 0));
  EXPECT_FALSE(owners.asked(7, 0));
  EXPECT_FALSE(owners.asked(7, 0));
  owners.listed(0, {&dummy});
  EXPECT_EQ(owners.known(&dummy), 0u) << "no process: nothing recorded";
  EXPECT_FALSE(owners.asked(5, 9));
  EXPECT_TRUE(owners.asked(5, 9));
  owners.listed(9, {&dummy});
  EXPECT_EQ(owners.known(&dummy), 9u);
}

TEST(TaskOwners, LeftOutWindowsGoAndTheOrderStays) {
  int w[6] = {};
  const std::vector<void*> all = {&w[0], &w[1], &w[2], &w[3], &w[4], &w[5]};
  EXPECT_EQ(windowsWithout(all, {}), all);
  EXPECT_EQ(windowsWithout(all, {&w[4], &w[1], &w[5]}), (std::vector<void*>{&w[0], &w[2], &w[3]}));
  // Windows to leave out that are not listed change nothing.
  int other = 0;
  EXPECT_EQ(windowsWithout(all, {&other}), all);
  EXPECT_TRUE(windowsWithout({}, {&w[0]}).empty());
}

}  // namespace
}  // namespace vorbin
