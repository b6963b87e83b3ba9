// SIGINT and SIGTERM as a request to quit that the message loop sees, rather
// than the process ending wherever it happens to be (say, halfway through
// saving the registry file). A host that does not block reads the request
// between events; the SDL host gets the same from SDL's own handlers.
#pragma once

// Catches SIGINT and SIGTERM, except one the process was started ignoring.
// Calls in progress carry on when a signal comes.
void CatchQuitSignals();
// True once SIGINT or SIGTERM arrived after CatchQuitSignals.
bool QuitSignalArrived();
