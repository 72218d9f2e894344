// The product's name as the bar's title, its tray icon, its logo and its
// messages show it. (The language libraries spell it in their own texts.)
#pragma once

namespace vorbin {

inline constexpr wchar_t kProductName[] = L"Vorb in";

}  // namespace vorbin
