// The help popup's rules: help strings by context and element, the details
// report, the popup's size, place and closing.
#include <gtest/gtest.h>

#include <vector>

#include "launcher/dialogs/help_rules.h"

namespace vorbin {
namespace {

TEST(HelpRules, StringsByContextAndElement) {
  struct Row {
    int context, element, string, line;
  } rows[] = {
      {1, 0x30 + 2, 5, __LINE__},
      {1, 0x40, 13, __LINE__},
      {1, 0x41, 12, __LINE__},
      {1, 0x50 + 8, 168, __LINE__},
      {1, 0x80 + 1, 254, __LINE__},
      {1, 0x90, 256, __LINE__},
      {1, 0xA2, 1, __LINE__},
      {1, 0xA3, 50, __LINE__},
      {1, 0xB1, 45, __LINE__},
      {1, 0xC0, 47, __LINE__},
      {1, 0x60, 55, __LINE__},
      {1, 0x10, 253, __LINE__},
      {1, 1, 16, __LINE__},
      {1, 2, 32, __LINE__},
      {130, 1, 16, __LINE__},
      {1541, 2, 32, __LINE__},
      {130, 2049, 19, __LINE__},
      {130, 343, 56, __LINE__},
      {130, 999, 55, __LINE__},
      {135, 305, 83, __LINE__},
      {135, 309, 82, __LINE__},
      {138, 336, 147, __LINE__},
      {168, 4100, 193, __LINE__},
      {168, 300, 178, __LINE__},
      {193, 32770, 22, __LINE__},
      {1538, 1120, 117, __LINE__},
      {1544, 369, 99, __LINE__},
      {133, 236, 932, __LINE__},
      {133, 300, 66, __LINE__},
      {111, 318, 131, __LINE__},
      // Subtraction rules that fall to zero or below give the default, not only -1.
      {111, 187, 55, __LINE__},
      {111, 186, 55, __LINE__},
      {111, 5, 55, __LINE__},
      {133, 234, 55, __LINE__},
      {133, 100, 55, __LINE__},
      {168, 122, 55, __LINE__},
      {168, -40, 55, __LINE__},
      {9999, 105, 55, __LINE__},
      {101, 106, 51, __LINE__},
      {2, 1, 55, __LINE__},
  };
  for (const Row& r : rows)
    EXPECT_EQ(helpStringId(r.context, r.element, false), r.string) << "line " << r.line;
  EXPECT_EQ(helpStringId(1, 0x40, true), 58);
}

TEST(HelpRules, TaskEntriesSkipThePlaceholder) {
  EXPECT_FALSE(validTaskEntry(0, 5));
  EXPECT_TRUE(validTaskEntry(1, 5));
  EXPECT_TRUE(validTaskEntry(4, 5));
  EXPECT_FALSE(validTaskEntry(5, 5));
  EXPECT_FALSE(validTaskEntry(-1, 5));
  EXPECT_FALSE(validTaskEntry(1, 0));
}

TEST(HelpRules, DetailsReportInFullWidth) {
  DetailsFacts f;
  f.handle = 0x1234AB;
  f.parent = 0;
  f.owner = 0xFFFFFFFF80001234ull;
  f.procedure = 0x00007FF6A1B2C3D4ull;
  f.processId = 0x2C;
  f.priorityName = L"Normal";
  f.typeName = L"32Bit";
  f.className = L"TestClass";
  f.left = -8;
  f.top = 10;
  f.width = 300;
  f.height = 200;
  f.style = 0x14CF0000;
  f.exStyle = 0x100;
  f.classStyle = 0x3;
  f.showState = 3;
  f.topmost = true;
  DetailsTexts t{
      L"[state ", {L"normal", L"min", L"max", L"other"}, L", topmost", L"%s|%s|%s %d", L"(unknown)"};
  const std::wstring report = windowDetailsReport(f, L"C:\\app.exe", t);
  EXPECT_EQ(report,
            L"C:\\app.exe|[state max, topmost"
            L"\n  Window Handle\t: 001234AB"
            L"\n  Parent hWnd\t: 00000000"
            L"\n  Owner hWnd\t: FFFFFFFF80001234"
            L"\n  Window Proc\t: 00007FF6A1B2C3D4"
            L"\n  Process ID\t: 0000002C"
            L"\n  Base Priority\t: Normal"
            L"\n  Type\t\t: 32Bit"
            L"\n  Window Rect\t: ( -8, 10)-( 300, 200)"
            L"\n  Window Style\t: 14CF0000"
            L"\n  Extra Style\t: 00000100"
            L"\n  Class Name\t: TestClass"
            L"\n  Class Style\t: 00000003|%s %d");
  f.showState = 0;
  f.topmost = false;
  const std::wstring unknown = windowDetailsReport(f, L"", t);
  EXPECT_EQ(unknown.rfind(L"(unknown)|[state other\n", 0), 0u) << unknown.substr(0, 40);
}

TEST(HelpRules, PopupGeometryAndClosing) {
  const std::vector<PopupLine> lines{{100, false}, {80, true}, {20, false}};
  const PopupSize s = popupSize(lines, 16);
  EXPECT_EQ(s.width, 16 + 8 + 112 + 3);
  EXPECT_EQ(s.height, 16 + (3 * 16 * 3) / 2 + 8 - 1);
  EXPECT_EQ(s.shadow, 7);

  const PopupRect screen{0, 0, 800, 600};
  PopupRect r = placePopup(400, 100, s, screen);
  EXPECT_EQ(r.left, 400 - s.width / 2);
  EXPECT_EQ(r.top, 120);
  r = placePopup(5, 590, s, screen);
  EXPECT_EQ(r.left, 0);
  EXPECT_LE(r.bottom, 600);
  EXPECT_LT(r.bottom, 590);
  r = placePopup(799, -50, s, screen);
  EXPECT_EQ(r.right, 800);
  EXPECT_GE(r.top, 0);

  PopupCloser c;
  EXPECT_FALSE(c.press(true));
  EXPECT_FALSE(c.release(true));   // F1 alone never closes
  EXPECT_FALSE(c.release(false));  // a release without a press inside neither
  EXPECT_FALSE(c.press(false));
  EXPECT_TRUE(c.release(false));
}

}  // namespace
}  // namespace vorbin
