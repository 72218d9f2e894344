// The help popup's rules: which string explains a bar area or a dialog's
// control, the window-details report, and the popup's size and place.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vorbin {

// Contexts besides dialog template ids.
inline constexpr int kHelpContextBar = 1;   // element: area kind (high bits) and index (low four)
inline constexpr int kHelpContextTask = 2;  // element: task entry index
inline constexpr int kDefaultHelpString = 55;

// The string that explains element of context; kDefaultHelpString when none does.
int helpStringId(int context, int element, bool systemResourcesAvailable);

// Entry 0 of the task table is a placeholder: only 1..count-1 name windows.
bool validTaskEntry(int index, size_t entryCount);

// What the report says about one window.
struct DetailsFacts {
  uint64_t handle = 0, parent = 0, owner = 0, procedure = 0;
  uint32_t processId = 0;
  std::wstring priorityName, typeName, className;
  int left = 0, top = 0, width = 0, height = 0;
  uint32_t style = 0, exStyle = 0, classStyle = 0;
  int showState = 0;  // 1 normal, 2 minimised, 3 maximised
  bool topmost = false;
};
// Texts of the resource library the report is made of.
struct DetailsTexts {
  std::wstring_view heading;         // 54
  std::wstring_view shown[4];        // 1048..1051: normal, minimised, maximised, other
  std::wstring_view topmost;         // 1052
  std::wstring_view pattern;         // 1053: "%s" for the path, then "%s" for the details
  std::wstring_view unknownProgram;  // 1000
};
// The whole report; handles in eight hex digits (more when set above), the
// window procedure in sixteen.
std::wstring windowDetailsReport(const DetailsFacts& facts, std::wstring_view programPath,
                                 const DetailsTexts& texts);

struct PopupLine {
  int width = 0;
  bool hasTab = false;
};
struct PopupSize {
  int width = 0, height = 0, shadow = 0;
};
PopupSize popupSize(std::span<const PopupLine> lines, int lineHeight);

struct PopupRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
// Centred under the anchor, 20 pixels below it, kept inside the screen area.
PopupRect placePopup(int anchorX, int anchorY, PopupSize size, PopupRect screen);

// The popup closes on the release that follows a press inside it; F1 never arms it.
struct PopupCloser {
  bool armed = false;
  // Returns true when the popup should close now.
  bool press(bool isF1Key);
  bool release(bool isF1Key);
};

}  // namespace vorbin
