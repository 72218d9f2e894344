// The bar's keyboard bindings: a fixed table from key (with Shift and Ctrl
// mixed into the code) to the button it presses or the focus move it makes.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vorbin {

// Modifier bits mixed into a key code.
inline constexpr uint16_t kKeyShift = 0x100;
inline constexpr uint16_t kKeyCtrl = 0x200;

enum class KeyAction : uint8_t {
  PressLogo = 1,       // area 7: the bar's menu at the logo
  PressFunctionKey,    // area 4, argument 0..7
  PressCaptionBox,     // area 11, argument 0..1
  PressModeButton,     // area 8, argument 0..6
  FocusPage,           // argument -1 back, +1 forward
  FocusEnd,            // argument 0 first, 1 last
  FocusMove,           // argument: direction (0 left, 1 up, 2 right, 3 down)
  FocusMoveExtend,     // the same with Shift: extends the selection
  FocusTab,            // group mode only
  Enter,               // argument 0 plain, -1 with Shift or Ctrl
  Delete,
  PressCommand = 20,   // area 5, argument 0..8; task mode only
};

struct KeyBinding {
  uint16_t key;  // virtual key | kKeyShift | kKeyCtrl
  KeyAction action;
  int8_t argument;
};

std::span<const KeyBinding> keyBindings();
// The binding of a key with the modifier state; task-mode bindings only in task mode.
std::optional<KeyBinding> findKeyBinding(uint16_t virtualKey, bool shift, bool ctrl, bool taskMode);
// Letters that work with Alt as they do alone (the menu key's character is swallowed).
std::wstring_view altLetters();
bool isAltLetter(uint16_t virtualKey);
// Arrow keys and codes up to 9 skip the tool tips' relay.
bool bypassesPreTranslation(uint16_t virtualKey);

}  // namespace vorbin
