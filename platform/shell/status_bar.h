// The phone's status bar across the top 35 pixels: signal strength on the
// left, the clock "HH:MM" in the middle, wireless and battery on the right.
#pragma once

class Canvas;

// minutes: minutes since midnight.
void PaintStatusBar(Canvas& canvas, int width, int height, int minutes);
