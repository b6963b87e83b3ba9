// The process entry point: runs the program's one global CMzApp.
#include <string>
#include <vector>

#include "platform/host/entry_point.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunTintor(args);
}
