// DrawText-style flags: how Canvas::DrawText places text in its rectangle.
#pragma once

#include "platform/win/win_types.h"

inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;  // with DT_SINGLELINE, or the whole block
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_WORDBREAK = 0x0010;  // wrap at word (and CJK character) breaks
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;  // cut the last visible line with "…"
