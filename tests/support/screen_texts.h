// Reading what the window says, as a person does: every text drawn in a
// fresh frame and where it shows, and a tap on the words one means.
#pragma once

#include <string>
#include <vector>

#include "platform/host/headless_host.h"
#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"

// The texts of a frame drawn now, in the order drawn (what lies on top
// last), placed in the window's logical pixels.
std::vector<Canvas::DrawnText> ScreenTexts(Shell& shell);
// The texts of a frame drawn now, joined by line breaks.
std::u16string ScreenSays(Shell& shell);
// Taps the middle of the topmost text that reads `text` exactly; false
// (nothing tapped) when no text on the screen does.
bool TapText(HeadlessHost& host, Shell& shell, std::u16string_view text);
