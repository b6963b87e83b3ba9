// How large the phone's screen may be drawn in a desktop window: a requested
// scale factor, shrunk when the window would not fit the desktop's screen;
// the scale a window starts with, and the steps it is zoomed by.
#pragma once

#include <optional>

// Room left above the window for the title bar that the desktop adds.
constexpr int kWindowTitleAllowance = 40;

// The factor to draw the 480 x 720 screen with on a desktop whose free area
// is usable_width x usable_height pixels: `requested` when the window fits
// (title bar included), else the largest factor that fits, never below 0.25.
// A free area of unknown size (0 or less) keeps the request. The window is
// window_width of the phone's pixels wide: the screen and what stands beside it.
double FitWindowScale(double requested, int usable_width, int usable_height,
                      int window_width = 480);

// The smallest scale a window is resized or zoomed to, or starts with from
// the last run: half the phone's size.
constexpr double kSmallestKeptScale = 0.5;

// The scale a window starts with on that desktop: the one asked for on the
// command line (fitted as above); else the one kept from the last run when
// it is at least kSmallestKeptScale and the window fits the desktop at it;
// else 1, fitted.
double StartWindowScale(std::optional<double> asked, std::optional<double> kept,
                        int usable_width, int usable_height, int window_width = 480);

// The next zoom step from `scale`: one step larger (direction > 0), smaller
// (< 0), or 1 (0); never below kSmallestKeptScale nor above `largest`.
double ZoomWindowScale(double scale, int direction, double largest);
