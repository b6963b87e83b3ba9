// A modal message box with a caption, text of several lines and one confirm
// button; Enter, Esc or the button dismiss it.
#pragma once

#include "platform/win/win_types.h"

inline constexpr UINT MZ_OK = 0;  // the one confirm button
inline constexpr int IDOK = 1;

// flags: 0 for a result box, 1 for an information (About) box, which the
// shell draws with its information look. Returns IDOK once dismissed.
int MzMessageBoxEx(HWND hWndOwner, LPCWSTR text, LPCWSTR caption, UINT type = MZ_OK,
                   int flags = 0);
