// The bar's keyboard binding table.
#include "launcher/bar/key_bindings.h"

#include <gtest/gtest.h>

#include <set>

namespace vorbin {
namespace {

constexpr uint16_t kF1 = 0x70;

TEST(KeyBindings, TableHasFiftyFiveDistinctKeys) {
  std::set<uint16_t> keys;
  for (const auto& b : keyBindings()) EXPECT_TRUE(keys.insert(b.key).second) << "duplicate key " << b.key;
  EXPECT_EQ(keys.size(), 55u);
}

TEST(KeyBindings, FunctionKeysAndTheirLetters) {
  const char letters[] = "XETOLPHC";
  for (int i = 0; i < 8; ++i) {
    auto byF = findKeyBinding(static_cast<uint16_t>(kF1 + 1 + i), false, false, false);
    auto byLetter = findKeyBinding(static_cast<uint16_t>(letters[i]), false, false, false);
    ASSERT_TRUE(byF && byLetter) << i;
    EXPECT_EQ(byF->action, KeyAction::PressFunctionKey);
    EXPECT_EQ(byF->argument, i);
    EXPECT_EQ(byLetter->action, KeyAction::PressFunctionKey);
    EXPECT_EQ(byLetter->argument, i);
  }
  EXPECT_EQ(findKeyBinding(kF1, false, false, false)->action, KeyAction::PressLogo);
  EXPECT_EQ(findKeyBinding('K', false, false, false)->action, KeyAction::PressLogo);
  EXPECT_EQ(findKeyBinding(kF1 + 11, false, false, false)->argument, 1);  // F12: caption box 1
  EXPECT_FALSE(findKeyBinding(kF1 + 9, false, false, false));             // F10 is the system's
}

TEST(KeyBindings, ModeButtonsSkipShiftF4) {
  EXPECT_FALSE(findKeyBinding(kF1 + 3, true, false, false));
  EXPECT_EQ(findKeyBinding(kF1 + 4, true, false, false)->argument, 3);  // Shift+F5: mode button 3
  EXPECT_EQ(findKeyBinding(kF1 + 7, true, false, false)->argument, 6);
  EXPECT_EQ(findKeyBinding(kF1, true, false, false)->action, KeyAction::PressModeButton);
}

TEST(KeyBindings, CommandLettersWorkOnlyInTaskMode) {
  const char letters[] = "SNMGDUAZR";
  for (int i = 0; i < 9; ++i) {
    uint16_t vk = static_cast<uint16_t>(letters[i]);
    EXPECT_FALSE(findKeyBinding(vk, false, false, false)) << letters[i];
    auto b = findKeyBinding(vk, false, false, true);
    ASSERT_TRUE(b) << letters[i];
    EXPECT_EQ(b->action, KeyAction::PressCommand);
    EXPECT_EQ(b->argument, i);
  }
}

TEST(KeyBindings, ModifiersSelectTheEnterAndArrowVariants) {
  constexpr uint16_t kReturn = 0x0D, kLeft = 0x25, kDown = 0x28;
  EXPECT_EQ(findKeyBinding(kReturn, false, false, false)->argument, 0);
  EXPECT_EQ(findKeyBinding(kReturn, true, false, false)->argument, -1);
  EXPECT_EQ(findKeyBinding(kReturn, false, true, false)->argument, -1);
  EXPECT_FALSE(findKeyBinding(kReturn, true, true, false));
  EXPECT_EQ(findKeyBinding(kLeft, false, false, false)->action, KeyAction::FocusMove);
  EXPECT_EQ(findKeyBinding(kDown, true, false, false)->action, KeyAction::FocusMoveExtend);
  EXPECT_FALSE(findKeyBinding('X', true, false, false));  // Shift+letter is not bound
}

TEST(KeyBindings, AltLettersAndPreTranslationBypass) {
  for (wchar_t c : altLetters()) {
    EXPECT_TRUE(isAltLetter(static_cast<uint16_t>(c)));
    // Every Alt letter is a bound letter (in one mode or the other).
    EXPECT_TRUE(findKeyBinding(static_cast<uint16_t>(c), false, false, true)) << char(c);
  }
  EXPECT_FALSE(isAltLetter('B'));
  EXPECT_FALSE(isAltLetter(0x14B));
  EXPECT_TRUE(bypassesPreTranslation(0x09));
  EXPECT_TRUE(bypassesPreTranslation(0x08));
  EXPECT_TRUE(bypassesPreTranslation(0x26));
  EXPECT_FALSE(bypassesPreTranslation(0x0D));
  EXPECT_FALSE(bypassesPreTranslation(0x29));
}

}  // namespace
}  // namespace vorbin
