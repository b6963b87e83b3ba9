// The phone's sample screens in a theme: a lock screen with the mute tip, a
// music player's lyrics, a calendar and a settings window with list, button,
// edit box and toolbar. Every theme item is drawn where the phone shows it,
// marked with its menu number and, when it is hard to read on its surface,
// with the contrast it has.
#pragma once

#include <vector>

#include "studio/theme_snapshot.h"

class Canvas;

// Text whose contrast with its surface is below this is marked (WCAG's
// threshold for large text).
inline constexpr double kReadableContrast = 3.0;

struct ReadabilityWarning {
  int item = 0;        // menu number
  double ratio = 1.0;  // contrast with the surface, 1 to 21
};

// The items whose colour is hard to read on the surface the phone draws them
// on (the window background for window texts), in menu order: a contrast
// below `least`.
std::vector<ReadabilityWarning> FindReadabilityWarnings(const ThemeSnapshot& theme,
                                                        double least = kReadableContrast);

// The area the screens take, in the panel's logical pixels.
inline constexpr int kSampleScreensTop = 94;
inline constexpr int kSampleScreensWidth = 520;
inline constexpr int kSampleScreensHeight = 622;

// Draws the screens with their top left at (0, kSampleScreensTop).
void PaintSampleScreens(Canvas& canvas, const ThemeSnapshot& theme,
                        const std::vector<ReadabilityWarning>& warnings);
