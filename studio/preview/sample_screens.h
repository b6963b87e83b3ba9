// The phone's sample screens in a theme: a lock screen with the mute tip, a
// music player's lyrics, a calendar and a settings window with list, button,
// edit box and toolbar. Every theme item is drawn where its row in
// item_places.h puts it, marked with its menu number and, when it is hard to
// read on its surface, with a chip that says so.
#pragma once

#include <vector>

#include "studio/preview/item_places.h"
#include "model/checks/readability.h"
#include "model/theme/theme_values.h"

class Canvas;

// What a chip says: "难以阅读 2.6:1", or the APCA figure when only that fails.
std::u16string ChipText(const Readability& figures);

// Turns the finished picture in `area` (the panel's coordinates, as the
// canvas now maps them) into what a person with `vision` sees, then says on
// the line between the cards and the window which items on one surface that
// person can hardly tell apart.
void ShowAsSeenWith(Canvas& canvas, const RECT& area, const ThemeValues& theme,
                    ColourVision vision);

// Outlines every place where item `number` is drawn.
void OutlineItem(Canvas& canvas, int number);

// Draws the screens with their top left at (0, kSampleScreensTop).
void PaintSampleScreens(Canvas& canvas, const ThemeValues& theme,
                        const std::vector<ReadabilityWarning>& warnings);
