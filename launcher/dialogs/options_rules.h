// The rules of the options sheet's behaviour and timing pages that need no
// window: how controls map to settings values and back, and what is refused.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

// The five activation places, in the order of their checks (bit 0 first).
inline constexpr int kActivationPlaces = 5;
using ActivationChecks = std::array<bool, kActivationPlaces>;
ActivationChecks activationChecks(unsigned vorbBar);
// The mask of the checks; with none checked, the mask of `kept` (at least one place stays).
unsigned activationMask(const ActivationChecks& checks, const ActivationChecks& kept);
bool anyChecked(const ActivationChecks& checks);

// The mouse-button choices of the behaviour page and their bits in MouseButton.
struct MouseChoices {
  bool rightPrimary = false;  // bit 0
  bool secondary = false;     // bit 1
  bool doubleClick = false;   // bit 7
};
MouseChoices mouseChoices(int mouseButton);
// The bits the page owns replaced in `previous`; every other bit (the launcher's bit 4) stays.
int mouseButtonOf(const MouseChoices& choices, int previous);

// A spin and the edit beside it: the setting's bounds.
struct SpinBounds {
  int min;
  int max;
};
inline constexpr SpinBounds kCloseDelayBounds{0, 30};
inline constexpr SpinBounds kIntervalAtSelBounds{-1, 10000};
inline constexpr SpinBounds kIntervalAtScrollBounds{0, 10000};
inline constexpr SpinBounds kScrollTimeBounds{0, 10000};
inline constexpr SpinBounds kScrollBtnSizeBounds{1, 8};
inline constexpr SpinBounds kPercentBounds{0, 100};
// The number typed into a spin's edit, clamped into the bounds; `previous` when
// the text holds no number. Blanks and thousands separators are allowed.
int readSpinText(std::wstring_view text, SpinBounds bounds, int previous);

// FontSize (-2..2) and the entry of the font-size list that shows it.
int fontSizeEntry(int fontSize);
int fontSizeOfEntry(int entry);

// AppearPos: the horizontal percentage in the low word, the vertical in the high one.
struct AppearPosition {
  int horizontal = 50;
  int vertical = 10;
};
AppearPosition appearPosition(int appearPos);  // each clamped to 0..100
int appearPosValue(AppearPosition position);

// The five description/pattern pairs of WildCard ("desc|pattern|...|").
inline constexpr int kPatternPairs = 5;
struct PatternPair {
  std::wstring description;
  std::wstring pattern;
};
using PatternPairs = std::array<PatternPair, kPatternPairs>;
PatternPairs splitWildCard(std::wstring_view wildCard);
// Pairs with both fields non-empty, each followed by "|", and one more "|" at
// the end; vertical bars inside a field are dropped.
std::wstring joinWildCard(const PatternPairs& pairs);
std::wstring withoutBars(std::wstring_view text);

// The language list: each entry keeps the Language value it stands for.
struct LanguageEntry {
  int language;
  unsigned textId;  // the entry's label
};
std::vector<LanguageEntry> languageEntries(bool japaneseAvailable, bool englishAvailable);
// The entry showing `language`, or 0 when it is not listed (-1 for an empty list).
int languageEntryIndex(const std::vector<LanguageEntry>& entries, int language);
// The Language value of the chosen entry, `previous` when none is chosen.
int languageOfEntry(const std::vector<LanguageEntry>& entries, int index, int previous);

// A hot key as the hot-key control gives it (key in the low byte, modifiers in
// the high byte): a key without modifier gets Control+Alt; no key stays 0.
int hotKeyWithModifier(int hotKey);

}  // namespace vorbin
