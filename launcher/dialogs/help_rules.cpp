// Help popup rules: the help-string table, the window-details report text,
// and the popup's geometry.
#include "launcher/dialogs/help_rules.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace vorbin {
namespace {

struct Range {
  int first, last, string;
};

// A table of element ranges; 0 when the element is not listed.
int lookUp(std::initializer_list<Range> table, int element) {
  for (const Range& r : table)
    if (element >= r.first && element <= r.last) return r.string;
  return 0;
}

int barString(int element, bool systemResources) {
  const int n = element & 0xF;
  switch (element & 0xFFF0) {
    case 0x10:
      return 253;
    case 0x20:
      return 252;
    case 0x30:
      return 3 + n;
    case 0x40:
      return n == 0 ? (systemResources ? 58 : 13) : 11 + n;
    case 0x50:
      return 160 + n;
    case 0x80:
      return 253 + n;
    case 0x90:
      return 256;
    case 0xA0:
      return n <= 2 ? 1 : 47 + n;
    case 0xB0:
      return 44 + n;
    case 0xC0:
      return 47 + n;
    default:
      return 0;
  }
}

int dialogString(int context, int e) {
  switch (context) {
    case 101:
      return lookUp({{105, 105, 50}, {106, 106, 51}}, e);
    case 111:
      return e - 187;
    case 130:
      return lookUp({{106, 106, 17},   {107, 107, 18}, {108, 108, 19},   {2049, 2049, 19}, {109, 109, 21},
                     {2050, 2050, 21}, {110, 110, 23}, {2051, 2051, 23}, {111, 111, 31},   {197, 197, 24},
                     {220, 220, 24},   {286, 286, 26}, {323, 323, 26},   {287, 287, 28},   {324, 324, 28},
                     {288, 288, 30},   {290, 290, 25}, {322, 322, 25},   {291, 291, 14},   {328, 328, 14},
                     {342, 342, 15},   {343, 343, 56}},
                    e);
    case 131:
      return lookUp(
          {{101, 101, 36}, {108, 108, 36}, {107, 107, 33}, {121, 121, 35}, {288, 288, 38}, {1001, 1001, 37}},
          e);
    case 132:
      return lookUp({{106, 106, 129}, {270, 270, 130}}, e);
    case 133:
      if (const int s = lookUp({{127, 127, 65},
                                {137, 137, 66},
                                {236, 236, 932},
                                {323, 323, 932},
                                {290, 290, 80},
                                {322, 322, 80}},
                               e))
        return s;
      return e - 234;
    case 135:
      return lookUp(
          {{164, 165, 81},  {330, 330, 81},  {214, 215, 85},  {331, 331, 85},  {227, 227, 95}, {317, 318, 95},
           {228, 228, 114}, {319, 320, 114}, {236, 237, 86},  {332, 332, 86},  {238, 238, 88}, {345, 345, 88},
           {239, 239, 84},  {310, 310, 84},  {256, 256, 87},  {299, 299, 91},  {400, 400, 91}, {309, 309, 82},
           {311, 311, 90},  {353, 353, 90},  {312, 312, 115}, {313, 313, 92},  {314, 314, 93}, {315, 315, 94},
           {388, 388, 94},  {316, 316, 96},  {323, 323, 97},  {360, 360, 120}, {380, 380, 83}, {387, 387, 83},
           {301, 308, 83}},
          e);
    case 138:
      return lookUp({{180, 180, 145},
                     {333, 334, 145},
                     {335, 337, 147},
                     {340, 340, 147},
                     {347, 349, 147},
                     {338, 339, 146}},
                    e);
    case 168:
      if (const int s = lookUp({{400, 405, 192},
                                {4096, 4101, 193},
                                {4112, 4117, 194},
                                {229, 229, 185},
                                {324, 325, 185},
                                {311, 311, 183},
                                {344, 346, 184},
                                {347, 349, 186},
                                {350, 350, 188},
                                {389, 389, 188},
                                {353, 355, 187}},
                               e))
        return s;
      return e - 122;
    case 193:
      return lookUp({{186, 187, 29},
                     {287, 287, 20},
                     {288, 288, 30},
                     {292, 292, 26},
                     {325, 325, 26},
                     {302, 304, 27},
                     {327, 327, 27},
                     {326, 326, 22},
                     {32769, 32771, 22}},
                    e);
    case 1538:
      return lookUp({{110, 110, 118},
                     {2051, 2051, 118},
                     {1089, 1089, 119},
                     {1136, 1136, 119},
                     {1090, 1090, 116},
                     {1152, 1152, 116},
                     {1120, 1120, 117}},
                    e);
    case 1541:
      return lookUp({{106, 106, 43},
                     {110, 110, 39},
                     {2051, 2051, 39},
                     {186, 187, 40},
                     {287, 287, 34},
                     {288, 288, 38},
                     {303, 303, 41},
                     {329, 329, 42},
                     {500, 501, 57}},
                    e);
    case 1544:
      return lookUp({{108, 108, 98},
                     {2049, 2049, 98},
                     {109, 109, 99},
                     {369, 369, 99},
                     {291, 291, 101},
                     {328, 328, 101},
                     {360, 360, 100}},
                    e);
    default:
      return 0;
  }
}

std::wstring hex(uint64_t value, int digits) {
  wchar_t text[24];
  std::swprintf(text, 24, L"%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

int helpStringId(int context, int element, bool systemResourcesAvailable) {
  int id = 0;
  if (context != kHelpContextTask && element == 1)
    id = 16;
  else if (context != kHelpContextTask && element == 2)
    id = 32;
  else if (context == kHelpContextBar)
    id = barString(element, systemResourcesAvailable);
  else if (context != kHelpContextTask)
    id = dialogString(context, element);
  // A subtraction rule can fall below any string that exists.
  return id < 1 ? kDefaultHelpString : id;
}

bool validTaskEntry(int index, size_t entryCount) {
  return index >= 1 && static_cast<size_t>(index) < entryCount;
}

std::wstring windowDetailsReport(const DetailsFacts& f, std::wstring_view programPath,
                                 const DetailsTexts& t) {
  std::wstring details(t.heading);
  const int state = f.showState >= 1 && f.showState <= 3 ? f.showState - 1 : 3;
  details += t.shown[state];
  if (f.topmost) details += t.topmost;
  auto line = [&](std::wstring_view label, std::wstring_view value) {
    details += L"\n  ";
    details += label;
    details += value;
  };
  line(L"Window Handle\t: ", hex(f.handle, 8));
  line(L"Parent hWnd\t: ", hex(f.parent, 8));
  line(L"Owner hWnd\t: ", hex(f.owner, 8));
  line(L"Window Proc\t: ", hex(f.procedure, 16));
  line(L"Process ID\t: ", hex(f.processId, 8));
  line(L"Base Priority\t: ", f.priorityName);
  line(L"Type\t\t: ", f.typeName);
  line(L"Window Rect\t: ( ", std::to_wstring(f.left) + L", " + std::to_wstring(f.top) + L")-( " +
                                 std::to_wstring(f.width) + L", " + std::to_wstring(f.height) + L")");
  line(L"Window Style\t: ", hex(f.style, 8));
  line(L"Extra Style\t: ", hex(f.exStyle, 8));
  line(L"Class Name\t: ", f.className);
  line(L"Class Style\t: ", hex(f.classStyle, 8));

  const std::wstring_view path = programPath.empty() ? t.unknownProgram : programPath;
  // The pattern's first "%s" takes the path, the second the details; nothing else in it is read.
  std::wstring out;
  int argument = 0;
  for (size_t i = 0; i < t.pattern.size(); ++i) {
    if (t.pattern[i] == L'%' && i + 1 < t.pattern.size() && t.pattern[i + 1] == L's' && argument < 2) {
      out += argument++ == 0 ? path : std::wstring_view(details);
      ++i;
    } else {
      out.push_back(t.pattern[i]);
    }
  }
  return out;
}

PopupSize popupSize(std::span<const PopupLine> lines, int h) {
  int widest = 0;
  for (const PopupLine& l : lines) widest = std::max(widest, l.width + (l.hasTab ? 2 * h : 0));
  const int count = static_cast<int>(lines.size());
  return {h + h / 2 + widest + 3, h + (3 * h * count) / 2 + h / 2 - 1, h / 2 - 1};
}

PopupRect placePopup(int anchorX, int anchorY, PopupSize size, PopupRect screen) {
  int left = anchorX - size.width / 2;
  int top = anchorY + 20;
  // Below the screen's end the popup goes above the anchor instead.
  if (top + size.height > screen.bottom) top = anchorY - 20 - size.height;
  left = std::max(screen.left, std::min(left, screen.right - size.width));
  top = std::max(screen.top, std::min(top, screen.bottom - size.height));
  return {left, top, left + size.width, top + size.height};
}

bool PopupCloser::press(bool isF1Key) {
  if (!isF1Key) armed = true;
  return false;
}

bool PopupCloser::release(bool isF1Key) { return armed && !isF1Key; }

}  // namespace vorbin
