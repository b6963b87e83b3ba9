// The 20 items of the phone's colour theme that Tintor can recolour, in menu
// order, and the target menu's title. Constant data; no UI, no registry access.
// Labels and order are the app's own; key and value name are the theme
// schema's (platform/win/theme_schema.h): a target that names a value the
// schema does not hold stops the build.
#pragma once

#include <array>
#include <cstdint>

#include "platform/win/theme_schema.h"
#include "platform/win/win_types.h"

struct ThemeTarget {
  std::uint32_t menu_id;   // 17 to 36, the item id in the target menu
  LPCWSTR label;           // "N name", the menu item's text
  LPCWSTR key;             // registry subkey under HKEY_LOCAL_MACHINE
  LPCWSTR value_name;      // REG_DWORD value that holds the colour
};

inline constexpr std::size_t kThemeTargetCount = kThemeItemCount;
inline constexpr std::uint32_t kFirstTargetMenuId = 17;

extern const std::array<ThemeTarget, kThemeTargetCount> kThemeTargets;
inline constexpr LPCWSTR kSystemColorsKey = kThemeSystemKey;  // "\SOFTWARE\Meizu\Theme\Colors"
inline constexpr LPCWSTR kAppColorsKey = kThemeAppKey;         // "\SOFTWARE\Meizu\Theme\Colors\App"
extern const WCHAR kTargetMenuTitle[];  // the target menu's title

// The target chosen by a menu result, or null for any value but 17 to 36.
const ThemeTarget* FindThemeTarget(std::uint32_t menu_result);
