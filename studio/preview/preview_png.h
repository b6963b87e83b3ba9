// A picture of the studio's panel for the registry as it is now, written
// into a PNG file (--preview-png).
#pragma once

#include <string>

#include "model/checks/colour_science.h"

// Draws the panel for the registry as it is now into a PNG file of
// PreviewPanel::kWidth x kHeight times `scale` pixels. A file in the way is
// replaced, never written through (a link there is replaced, not followed).
// False with `error` set when the file cannot be written. When the registry
// cannot be read the picture shows the defaults, and `unreadable` (if given)
// says why. With a colour-vision deficiency the picture is as a person with
// it sees it; with `item` (1 to 20) that item is outlined and its card open.
bool WritePreviewPng(const std::string& path, double scale, std::string& error,
                     std::string* unreadable = nullptr,
                     ColourVision vision = ColourVision::kTypical, int item = 0);
