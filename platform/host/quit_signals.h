// SIGINT and SIGTERM as a request to quit that the message loop sees, rather
// than the process ending wherever it happens to be (say, halfway through
// saving the registry file). main() catches them before anything else; the
// headless host reads the request between events; the SDL host sleeps on
// QuitSignalDescriptor() too, whichever thread the kernel hands a signal to.
#pragma once

// Catches SIGINT and SIGTERM, except one the process was started ignoring.
// Calls in progress carry on when a signal comes.
void CatchQuitSignals();
// A descriptor that turns readable once SIGINT or SIGTERM arrived after
// CatchQuitSignals (-1 when none could be made): a loop asleep in poll() on
// other descriptors wakes for it, even when another thread ran the handler.
int QuitSignalDescriptor();
// True once SIGINT or SIGTERM arrived after CatchQuitSignals.
bool QuitSignalArrived();
// The exit status a shell gives a command that signal ended (130 for
// SIGINT, 143 for SIGTERM), or 0 while none arrived: a command-line step cut
// short by one ends with it.
int QuitSignalExitStatus();
