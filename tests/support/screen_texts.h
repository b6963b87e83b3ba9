// Reading what the window says, as a person does: every text drawn in a
// fresh frame and where it shows, and a tap on the words one means.
#pragma once

#include <initializer_list>
#include <optional>
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

// The texts the layer on top draws now, placed in the window's logical
// pixels: what a person reads there, without what it covers.
std::vector<Canvas::DrawnText> LayerTexts(Shell& shell);
// The texts of the layer on top, joined by line breaks.
std::u16string LayerSays(Shell& shell);
// Follows `path` over the layer on top's texts: from the one reading its
// first words to the nearest reading the next (nearest in height first, then
// across), and so on: {"春天", "应用"} is the 应用 of the row named 春天,
// {"深色 1", "应用", "保存"} the 保存 beside the 应用 under 深色 1. Empty words
// stand for any other text. None when a step finds nothing.
std::optional<Canvas::DrawnText> LayerTextNear(Shell& shell, std::initializer_list<std::u16string_view> path);
// Taps the middle of what LayerTextNear finds; false when it finds nothing.
bool TapTextNear(HeadlessHost& host, Shell& shell, std::initializer_list<std::u16string_view> path);
