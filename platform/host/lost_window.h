// Notices when another program destroys the host's window behind its back
// (on X11, e.g. `xdotool windowclose`): the X errors that follow would
// otherwise end the whole process at once, before anything is saved.
#pragma once

// Starts watching the X11 window `x_window`. Errors about that window are
// kept from ending the process; any other error goes where it went before.
void WatchForLostWindow(unsigned long x_window);
// True once the watched window was found destroyed.
bool WindowWasLost();
