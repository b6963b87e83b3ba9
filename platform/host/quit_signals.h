// SIGINT and SIGTERM as a request to quit that the message loop sees, rather
// than the process ending wherever it happens to be (say, halfway through
// saving the registry file). main() catches them before anything else; the
// headless host reads the request between events; the SDL host hands them to
// SDL's own handlers, which turn them into its quit event.
#pragma once

// Catches SIGINT and SIGTERM, except one the process was started ignoring.
// Calls in progress carry on when a signal comes.
void CatchQuitSignals();
// Gives the signals caught above their default action again, for a library
// that sets its own handler only where none is set. Block them around this
// and the library's start, so that none is lost or ends the process.
void ReleaseQuitSignals();
// True once SIGINT or SIGTERM arrived after CatchQuitSignals.
bool QuitSignalArrived();
// The exit status a shell gives a command that signal ended (130 for
// SIGINT, 143 for SIGTERM), or 0 while none arrived: a command-line step cut
// short by one ends with it.
int QuitSignalExitStatus();
