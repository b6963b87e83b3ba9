// tintor --make-theme SOURCE [--dark] [--exact] [--style S] [--contrast C]
// [--name NAME] [--json]: makes a theme from a colour (#RRGGBB or a swatch's
// id) or from the dominant colour of a PNG or JPEG picture, checks it, saves
// it under a name that no theme has yet and prints its report (as JSON with
// --json). It is not applied. Exit codes: 0 saved; 1 no theme holds every
// rule (the closest is printed, nothing is saved) or it cannot be saved; 2
// the source cannot be read (nothing is written).
#pragma once

#include <string>

#include "model/theme/theme_maker.h"

struct MakeThemeRequest {
  std::string source;
  MakeOptions options;
  std::string name;  // empty: one made from the source
  bool json = false;
};

int RunMakeTheme(const MakeThemeRequest& request);
