// The bar's keyboard binding table.
#include "launcher/bar/key_bindings.h"

#include <array>

namespace vorbin {

namespace {

// Virtual-key codes (the system's values).
constexpr uint16_t kTab = 0x09, kReturn = 0x0D, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24,
                   kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kDelete = 0x2E, kF1 = 0x70;
constexpr uint16_t F(int n) { return static_cast<uint16_t>(kF1 + n - 1); }
constexpr uint16_t S(uint16_t k) { return static_cast<uint16_t>(k | kKeyShift); }
constexpr uint16_t C(uint16_t k) { return static_cast<uint16_t>(k | kKeyCtrl); }

using A = KeyAction;
constexpr std::array<KeyBinding, 55> kBindings{{
    {F(1), A::PressLogo, 0},
    {'K', A::PressLogo, 0},
    {F(2), A::PressFunctionKey, 0},
    {F(3), A::PressFunctionKey, 1},
    {F(4), A::PressFunctionKey, 2},
    {F(5), A::PressFunctionKey, 3},
    {F(6), A::PressFunctionKey, 4},
    {F(7), A::PressFunctionKey, 5},
    {F(8), A::PressFunctionKey, 6},
    {F(9), A::PressFunctionKey, 7},
    {'X', A::PressFunctionKey, 0},
    {'E', A::PressFunctionKey, 1},
    {'T', A::PressFunctionKey, 2},
    {'O', A::PressFunctionKey, 3},
    {'L', A::PressFunctionKey, 4},
    {'P', A::PressFunctionKey, 5},
    {'H', A::PressFunctionKey, 6},
    {'C', A::PressFunctionKey, 7},
    {F(11), A::PressCaptionBox, 0},
    {F(12), A::PressCaptionBox, 1},
    {'Q', A::PressCaptionBox, 0},
    {'W', A::PressCaptionBox, 1},
    {S(F(1)), A::PressModeButton, 0},
    {S(F(2)), A::PressModeButton, 1},
    {S(F(3)), A::PressModeButton, 2},
    {S(F(5)), A::PressModeButton, 3},
    {S(F(6)), A::PressModeButton, 4},
    {S(F(7)), A::PressModeButton, 5},
    {S(F(8)), A::PressModeButton, 6},
    {'S', A::PressCommand, 0},
    {'N', A::PressCommand, 1},
    {'M', A::PressCommand, 2},
    {'G', A::PressCommand, 3},
    {'D', A::PressCommand, 4},
    {'U', A::PressCommand, 5},
    {'A', A::PressCommand, 6},
    {'Z', A::PressCommand, 7},
    {'R', A::PressCommand, 8},
    {kPrior, A::FocusPage, -1},
    {kNext, A::FocusPage, 1},
    {kHome, A::FocusEnd, 0},
    {kEnd, A::FocusEnd, 1},
    {kLeft, A::FocusMove, 0},
    {kUp, A::FocusMove, 1},
    {kRight, A::FocusMove, 2},
    {kDown, A::FocusMove, 3},
    {S(kLeft), A::FocusMoveExtend, 0},
    {S(kUp), A::FocusMoveExtend, 1},
    {S(kRight), A::FocusMoveExtend, 2},
    {S(kDown), A::FocusMoveExtend, 3},
    {kTab, A::FocusTab, 0},
    {kReturn, A::Enter, 0},
    {S(kReturn), A::Enter, -1},
    {C(kReturn), A::Enter, -1},
    {kDelete, A::Delete, 0},
}};

constexpr std::wstring_view kAltLetters = L"KXETOLPHCQWSNMGDUAZR";

}  // namespace

std::span<const KeyBinding> keyBindings() { return kBindings; }

std::optional<KeyBinding> findKeyBinding(uint16_t virtualKey, bool shift, bool ctrl, bool taskMode) {
  uint16_t code = static_cast<uint16_t>((virtualKey & 0xFF) | (shift ? kKeyShift : 0) | (ctrl ? kKeyCtrl : 0));
  for (const KeyBinding& b : kBindings) {
    if (b.key != code) continue;
    if (static_cast<int>(b.action) >= static_cast<int>(KeyAction::PressCommand) && !taskMode) return std::nullopt;
    return b;
  }
  return std::nullopt;
}

std::wstring_view altLetters() { return kAltLetters; }

bool isAltLetter(uint16_t virtualKey) {
  return virtualKey < 0x80 && kAltLetters.find(static_cast<wchar_t>(virtualKey)) != std::wstring_view::npos;
}

bool bypassesPreTranslation(uint16_t virtualKey) {
  return virtualKey <= 9 || (virtualKey >= kLeft && virtualKey <= kDown);
}

}  // namespace vorbin
