// tintor --make-theme SOURCE [--dark] [--exact] [--name NAME]: makes a theme
// from a colour (#RRGGBB or a swatch's id) or from the dominant colour of a
// PNG or JPEG picture, checks it, saves it under a name that no theme has
// yet and prints its report. It is not applied. Exit codes: 0 saved; 1 no
// theme holds every rule (the closest is printed, nothing is saved) or it
// cannot be saved; 2 the source cannot be read (nothing is written).
#pragma once

#include <string>

struct MakeThemeRequest {
  std::string source;
  bool dark = false;
  bool exact = false;  // any colour; else the 65 swatches only
  std::string name;    // empty: one made from the source
};

int RunMakeTheme(const MakeThemeRequest& request);
