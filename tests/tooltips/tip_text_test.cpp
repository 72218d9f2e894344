// The tips' texts by mode for each kind of element, the program line's
// substitution, and the tools against the hit test.
#include <gtest/gtest.h>

#include <set>

#include "launcher/bar/tip_text.h"
#include "launcher/interact/hit_layout.h"
#include "launcher/model/item_record.h"
#include "launcher/resources/ids_tooltips.h"

namespace vorbin {
namespace {

struct ButtonRow {
  int line;
  ButtonTipFacts facts;
  const wchar_t* texts[3];  // modes 0, 1, 2
};

TEST(TipText, ButtonsByMode) {
  int infoTipAsked = 0;
  auto infoTip = [&] {
    ++infoTipAsked;
    return std::wstring(L"Shell says");
  };
  const ButtonRow rows[] = {
      {__LINE__, {.title = L"Notes", .target = L"C:\\n.exe"}, {L"C:\\n.exe", L"", L""}},
      {__LINE__,
       {.title = L"Long title", .titleCut = true, .comment = L"Comment", .target = L"C:\\n.exe"},
       {L"Long title\r\nComment", L"Long title", L""}},
      {__LINE__,
       {.title = L"Docs", .flags = kItemFolder, .folder = L"C:\\docs", .target = L"x"},
       {L"C:\\docs", L"", L""}},
      {__LINE__,
       {.title = L"Ask", .titleCut = true, .flags = kItemPrompt, .folder = L"D:\\", .target = L"x"},
       {L"Ask\r\nD:\\", L"Ask", L""}},
      {__LINE__, {.title = L"Shell", .flags = kItemIdList, .infoTip = infoTip}, {L"Shell says", L"", L""}},
      // The comment goes before the info tip.
      {__LINE__,
       {.title = L"Shell", .flags = kItemIdList, .comment = L"Mine", .infoTip = infoTip},
       {L"Mine", L"", L""}},
      // A web address with a picture names itself in modes 1 and 2 even when it fits.
      {__LINE__,
       {.title = L"Web", .flags = kItemUrl, .target = L"http://a/", .pictureName = L"1208ABCD.jpg"},
       {L"http://a/", L"Web", L"Web"}},
      // Without a picture name it is an ordinary button.
      {__LINE__, {.title = L"Web", .flags = kItemUrl, .target = L"http://a/"}, {L"http://a/", L"", L""}},
      // Stored text is never a format.
      {__LINE__, {.title = L"%s%n", .titleCut = true, .comment = L"%d%%"}, {L"%s%n\r\n%d%%", L"%s%n", L""}},
  };
  for (const ButtonRow& row : rows) {
    for (int mode = 0; mode < 3; ++mode)
      EXPECT_EQ(buttonTipText(row.facts, mode), row.texts[mode]) << "line " << row.line << " mode " << mode;
  }
  // Asked only where it is shown: rows 5 (mode 0) and none of the others.
  EXPECT_EQ(infoTipAsked, 1);
  // Values outside 0..2 read as detailed tips.
  EXPECT_EQ(buttonTipText(rows[1].facts, 7), L"Long title\r\nComment");
}

TEST(TipText, TabsTasksAndFixedTips) {
  EXPECT_EQ(groupTipText(L"Group", true, 0), L"Group");
  EXPECT_EQ(groupTipText(L"Group", true, 1), L"Group");
  EXPECT_EQ(groupTipText(L"Group", true, 2), L"");
  EXPECT_EQ(groupTipText(L"Group", false, 0), L"");

  int asked = 0;
  auto path = [&] {
    ++asked;
    return std::wstring(L"C:\\p\\%s%n.exe");
  };
  const std::wstring pattern = L"Program: %s%s";
  EXPECT_EQ(taskTipText(L"Editor - %s%n", true, 0, pattern, path),
            L"Editor - %s%n\r\nProgram: C:\\p\\%s%n.exe");
  EXPECT_EQ(taskTipText(L"Editor", false, 0, pattern, path), L"Program: C:\\p\\%s%n.exe");
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(taskTipText(L"Editor", true, 1, pattern, path), L"Editor");
  EXPECT_EQ(taskTipText(L"Editor", true, 2, pattern, path), L"");
  EXPECT_EQ(asked, 2) << "the process is asked only in mode 0";
  EXPECT_EQ(taskTipText(L"Editor", true, 0, pattern, [] { return std::wstring(); }), L"Editor");

  EXPECT_EQ(fixedTipStringId(hit_area::kModes, 0, false, 0), IDS_TIP_MODE_BUTTON);
  EXPECT_EQ(fixedTipStringId(hit_area::kModes, 6, false, 1), IDS_TIP_MODE_BUTTON + 6u);
  EXPECT_EQ(fixedTipStringId(hit_area::kModes, 7, false, 0), 0u);
  EXPECT_EQ(fixedTipStringId(hit_area::kCaptionBoxes, 0, false, 0), IDS_TIP_MAXIMIZE);
  EXPECT_EQ(fixedTipStringId(hit_area::kCaptionBoxes, 0, true, 0), IDS_TIP_RESTORE);
  EXPECT_EQ(fixedTipStringId(hit_area::kCaptionBoxes, 1, true, 1), IDS_TIP_CLOSE_BAR);
  EXPECT_EQ(fixedTipStringId(hit_area::kListScroll, 2, false, 0), IDS_TIP_LIST_SCROLL + 2u);
  EXPECT_EQ(fixedTipStringId(hit_area::kListScroll, 0, false, 0), 0u);
  EXPECT_EQ(fixedTipStringId(hit_area::kModes, 0, false, 2), 0u);
  EXPECT_EQ(fixedTipStringId(hit_area::kClock, 0, false, 0), 0u);
}

TEST(TipText, PatternSubstitutionIsLiteral) {
  EXPECT_EQ(fillPathPattern(L"Program: %s", L"C:\\a%s%n\\b.exe", L"details"), L"Program: C:\\a%s%n\\b.exe");
  EXPECT_EQ(fillPathPattern(L"%s\n%s", L"path", L"%n%x"), L"path\n%n%x");
  EXPECT_EQ(fillPathPattern(L"100%% %d %n %s %s %s", L"A", L"B"), L"100% %d %n A B %s");
  EXPECT_EQ(fillPathPattern(L"no directive", L"A", L"B"), L"no directive");
  EXPECT_EQ(fillPathPattern(L"trailing %", L"A", L"B"), L"trailing %");
  EXPECT_EQ(fillPathPattern(L"%%s", L"A", L"B"), L"%s");
}

// The edges of every tool and a sparse grid between them: the first tool
// under each point is the hit test's answer, and areas without tips have no
// tool that a tip could come from.
void expectToolsMatchHitTest(const HitGeometry& g, int width, int height, const char* what) {
  const std::vector<TipTool> tools = tipTools(g);
  std::set<int> xs, ys;
  for (int x = 0; x < width; x += 7) xs.insert(x);
  for (int y = 0; y < height; y += 7) ys.insert(y);
  for (const TipTool& t : tools) {
    xs.insert({t.rect.left - 1, t.rect.left, t.rect.right - 1, t.rect.right});
    ys.insert({t.rect.top - 1, t.rect.top, t.rect.bottom - 1, t.rect.bottom});
  }
  int mismatches = 0, tipped = 0, points = 0;
  for (int y : ys) {
    for (int x : xs) {
      if (x < 0 || y < 0 || x >= width || y >= height) continue;
      ++points;
      const Hit hit = hitTest(g, x, y);
      const TipTool* first = nullptr;
      for (const TipTool& t : tools)
        if (t.rect.contains(x, y)) {
          first = &t;
          break;
        }
      const bool wantsTool = areaHasTips(hit.area) && hit.index >= 0;
      const bool ok = wantsTool
                          ? first && first->code == hit.code()
                          : !first || !areaHasTips(hitCodeArea(first->code)) || hitCodeIndex(first->code) < 0;
      if (wantsTool) ++tipped;
      if (!ok && ++mismatches <= 5)
        ADD_FAILURE() << what << " at " << x << "," << y << ": hit " << hit.area << "/" << hit.index
                      << " tool " << (first ? hitCodeArea(first->code) : -1) << "/"
                      << (first ? hitCodeIndex(first->code) : 0);
    }
  }
  EXPECT_EQ(mismatches, 0) << what;
  EXPECT_GT(tipped, points / 4) << what << ": most of the bar has tips";
}

TEST(TipTools, MatchTheHitTestEverywhere) {
  for (bool taskMode : {false, true}) {
    const BarLayout layout = computeBarLayout(LayoutMetrics{}, taskMode, 420);
    for (int buttonMode = 0; buttonMode < 3; ++buttonMode) {
      HitState state;
      state.taskMode = taskMode;
      state.buttonMode = buttonMode;
      state.tabDisplayMode = buttonMode;
      state.tabCount = 23;
      const TabLayout tabs = tabLayout(layout, state.tabDisplayMode);
      state.tabScrollOffset =
          taskMode ? 0 : tabs.tabHeight + tabs.tabHeight / 2;  // a row and a half scrolled
      state.groupScrollShown = !taskMode;
      state.clockBox = {layout.width - 60, 2, layout.width - 10, 14};
      const HitGeometry g = hitGeometryFor(layout, state);
      expectToolsMatchHitTest(g, layout.width, 420, taskMode ? "task mode" : "group mode");
    }
  }
}

TEST(TipTools, DamagedGeometryStaysBounded) {
  HitGeometry g;
  g.grid = {0, 0, 100000, 100000};
  g.gridColumns = 100000;
  g.cellWidth = 1;
  g.cellHeight = 1;
  g.tabArea = {0, 0, 10, 10};
  g.tabsPerRow = 0;
  EXPECT_LE(tipTools(g).size(), 4096u);
}

}  // namespace
}  // namespace vorbin
