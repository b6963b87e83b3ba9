// The process entry point's work, callable from main and from tests: parse
// the options, pick the host, start the shell, run the one CMzApp.
#pragma once

#include <string>
#include <vector>

#include "platform/host/script.h"
#include "main/theme_commands.h"

struct EntryOptions {
  bool headless = false;
  bool help = false;
  bool version = false;
  std::string script_path;
  std::string screenshot_dir;
  double scale = 1.0;
  bool scale_asked = false;  // --scale was given (it beats the one kept from the last run)
  bool preview = true;       // the theme preview beside the phone at start
  std::string preview_png;   // draw the preview into this file and exit
  std::string simulate;      // with preview_png: protan, deutan or tritan
  bool theme_report = false; // print each item's readability and exit
  bool json = false;         // the theme report as JSON
  ThemeCommand theme;        // a theme command to run instead of the phone
  std::string open_file;     // `tintor FILE`: asks to import FILE, or makes themes of a picture
};

// False with `error` set for an unknown option, a missing or bad value.
bool ParseEntryOptions(const std::vector<std::string>& args, EntryOptions& options,
                       std::string& error);

const char* EntryUsage();
// "tintor VERSION" and a line end.
const char* EntryVersion();

// The whole run: options, script, host, shell, InitApplication once, Run
// until quit. Returns the process's exit code; messages go to stderr.
int RunTintor(const std::vector<std::string>& args);
