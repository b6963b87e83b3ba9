// The process entry point: runs the program's one global CMzApp.
#include <string>
#include <vector>

#include "main/entry_point.h"
#include "platform/host/quit_signals.h"

int main(int argc, char** argv) {
  // First of all, so that SIGINT or SIGTERM at any moment ends the program
  // between two events with exit code 0, never halfway through a file.
  CatchQuitSignals();
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunTintor(args);
}

// Read by LeakSanitizer at start-up in sanitizer builds: fontconfig keeps its
// caches for the life of the process and never frees them.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
