// The shell's free functions: the work area, and the modules that hold resources.
#pragma once

#include "platform/win/win_types.h"

class Shell;

// The shell the toolkit's calls work on when the program hands them no
// object that has one: creating a window, running the application, a
// message box and a popup menu (the toolkit's interface gives them only
// handles and numbers). It is the shell made last (the entry point's, or a
// test's), asked here and nowhere else; a window keeps the one it was
// created on, and every layer and element reaches the shell through its
// window or its layer. Null when there is no shell.
Shell* ToolkitShell();

// The part of the screen that windows cover: below the status bar.
RECT MzGetWorkArea();
// The program's own module (its embedded resources).
HINSTANCE MzGetInstanceHandle();
// The platform's shared resource module (the popup menu's title picture, 188).
HINSTANCE GetMzResModuleHandle();
