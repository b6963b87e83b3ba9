// The shell's free functions: the work area, and the modules that hold resources.
#pragma once

#include "platform/win/win_types.h"

// The part of the screen that windows cover: below the status bar.
RECT MzGetWorkArea();
// The program's own module (its embedded resources).
HINSTANCE MzGetInstanceHandle();
// The platform's shared resource module (the popup menu's title picture, 188).
HINSTANCE GetMzResModuleHandle();
