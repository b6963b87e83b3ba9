// How large the phone's screen may be drawn in a desktop window: a requested
// scale factor, shrunk when the window would not fit the desktop's screen.
#pragma once

// Room left above the window for the title bar that the desktop adds.
constexpr int kWindowTitleAllowance = 40;

// The factor to draw the 480 x 720 screen with on a desktop whose free area
// is usable_width x usable_height pixels: `requested` when the window fits
// (title bar included), else the largest factor that fits, never below 0.25.
// A free area of unknown size (0 or less) keeps the request. The window is
// window_width of the phone's pixels wide: the screen and what stands beside it.
double FitWindowScale(double requested, int usable_width, int usable_height,
                      int window_width = 480);
