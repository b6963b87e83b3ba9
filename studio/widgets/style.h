// The studio's look in one table: every colour and size its panel, card,
// shelf, questions and controls are drawn with. (The sample screens are the
// phone's own screens and are drawn in the phone's colours, not these.)
#pragma once

#include "platform/shell/color.h"

namespace studio_style {

// ---- The dark desk the panel and the shelf stand on ----
inline const Color kDesk = Color::Rgb(0x2B, 0x2E, 0x33);     // the panel's ground
inline const Color kInk = Color::Rgb(0xF2, 0xF4, 0xF7);      // titles and main text
inline const Color kQuiet = Color::Rgb(0xB8, 0xBE, 0xC8);    // notes
inline const Color kFailure = Color::Rgb(0xFF, 0x8F, 0x85);  // what went wrong
inline const Color kSuccess = Color::Rgb(0x9D, 0xE0, 0x9D);  // what went well
inline const Color kNotice = Color::Rgb(0xF2, 0xC9, 0x4C);   // what the studio has to say about itself
inline const Color kRim = Color::Rgb(0x6A, 0x70, 0x7A);      // edges and rules on the desk

// ---- Buttons: face, pressed face, rim and ink of each look ----
struct ButtonLook {
  Color face, pressed, rim, ink;
};
inline const ButtonLook kPlainButton{Color::Rgb(0x45, 0x4A, 0x52), Color::Rgb(0x5A, 0x60, 0x6A),
                                     Color::Rgb(0x6A, 0x70, 0x7A), Color::Rgb(0xF2, 0xF4, 0xF7)};
inline const ButtonLook kLightButton{Color::Rgb(0xF0, 0xF1, 0xF3), Color::Rgb(0xC9, 0xCD, 0xD3),
                                     Color::Rgb(0xB4, 0xB8, 0xBE), Color::Rgb(0x20, 0x20, 0x20)};
// Only for a step that cannot be undone.
inline const ButtonLook kDangerButton{Color::Rgb(0xD9, 0x3A, 0x2B), Color::Rgb(0xB0, 0x2A, 0x1E),
                                      Color::Rgb(0xD9, 0x3A, 0x2B), Color::Rgb(0xFF, 0xFF, 0xFF)};
// The step a question asks for, when it can be undone.
inline const ButtonLook kGoButton{Color::Rgb(0x25, 0x63, 0xD8), Color::Rgb(0x1B, 0x4F, 0xB0),
                                  Color::Rgb(0x25, 0x63, 0xD8), Color::Rgb(0xFF, 0xFF, 0xFF)};
// How far a caption that cannot be used now fades into its face.
inline constexpr double kDisabledInk = 0.6;
// Room left and right of a caption.
inline constexpr int kButtonPad = 10;
inline constexpr double kButtonRadius = 7;
inline constexpr double kButtonTextPx = 14;

// ---- The every-eye toggles ----
inline const Color kToggleOff = Color::Rgb(0x3A, 0x3F, 0x47);
inline const Color kTogglePressed = Color::Rgb(0x5A, 0x60, 0x6A);
inline const Color kToggleOn = Color::Rgb(0xF2, 0xF4, 0xF7);
inline const Color kToggleOffInk = Color::Rgb(0xD8, 0xDC, 0xE2);
inline const Color kToggleOnInk = Color::Rgb(0x20, 0x20, 0x20);
inline constexpr double kToggleTextPx = 12;

// ---- The way back beside the phone while the panel is hidden ----
inline const Color kTabPressed = Color::Rgb(0x3A, 0x3F, 0x47);

// ---- Light sheets over the desk: the questions and the item card ----
inline const Color kSheet = Color::Rgb(0xFF, 0xFF, 0xFF);       // a question
inline const Color kCardSheet = Color::Rgb(0xF7, 0xF8, 0xFA);   // the item card
inline const Color kCardRim = Color::Rgb(0x25, 0x63, 0xD8);
inline const Color kSheetInk = Color::Rgb(0x20, 0x20, 0x20);
inline const Color kSheetNote = Color::Rgb(0x60, 0x60, 0x60);
inline const Color kSheetSoftInk = Color::Rgb(0x4A, 0x4E, 0x56);
inline const Color kSheetBad = Color::Rgb(0xB4, 0x23, 0x18);
inline const Color kSheetGood = Color::Rgb(0x1C, 0x7A, 0x3A);
inline const Color kHardMark = Color::Rgb(0xFF, 0xB4, 0x1E);     // the flag of a hard-to-read swatch
inline const Color kSwatchRim = Color::Rgb(0x9A, 0x9E, 0xA6);
inline const Color kChangeRim = Color::Rgb(0x90, 0x96, 0xA0);    // a colour in a list of changes
inline const Color kCustomMark = Color::Rgb(0x9A, 0x52, 0x00);   // "自定义颜色" in a list of changes

// ---- The name field ----
inline const Color kFieldFace = Color::Rgb(0xFF, 0xFF, 0xFF);
inline const Color kFieldRim = Color::Rgb(0xB4, 0xB8, 0xBE);
inline const Color kFieldFocusRim = Color::Rgb(0x3B, 0x82, 0xF6);
inline const Color kFieldHint = Color::Rgb(0x8A, 0x90, 0x99);
inline const Color kFieldInk = Color::Rgb(0x20, 0x20, 0x20);
inline const Color kFieldSelection = Color::Rgb(0xB4, 0xD5, 0xFE);
inline const Color kFieldFull = Color::Rgb(0xB4, 0x23, 0x18);  // the count of a box at its limit

// ---- Sizes, in logical pixels ----
inline constexpr int kMargin = 12;         // from the panel's and the shelf's edges
inline constexpr int kControlHeight = 26;  // a button or toggle in a row of them
inline constexpr int kMinTarget = 24;      // no control is smaller either way
inline constexpr int kFocusGap = 3;        // the focus ring stands this far outside a control
inline constexpr double kTitlePx = 17;
inline constexpr double kNotePx = 12;
inline constexpr int kSheetPad = 16;
inline constexpr int kSheetButtonHeight = 40;
inline constexpr int kSheetButtonGap = 20;

}  // namespace studio_style
