// Input scripts for headless runs: one command a line.
//   tap X Y                  a short press and release at screen pixel (X, Y)
//   drag X1 Y1 X2 Y2 MS      press, move in a straight line over MS ms, release
//   wait MS                  let MS ms pass on the simulated clock
//   key NAME                 escape, enter, up, down, pageup, pagedown, home or end
//   shot NAME.png            write the screen to NAME.png in the screenshot folder
//   preview NAME.png         write the theme preview there (see HeadlessHost)
//   # ...                    a comment; blank lines are ignored
// Coordinates are screen pixels (0..479, 0..719). A picture's name is taken
// inside the screenshot folder: never from the root, never through "..".
#pragma once

#include <string>
#include <vector>

#include "platform/host/input_event.h"

struct ScriptCommand {
  enum class Kind { Tap, Drag, Wait, Key, Shot, Preview };
  Kind kind = Kind::Wait;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int ms = 0;
  InputKey key = InputKey::Escape;
  std::string name;  // Shot, Preview
  int line = 0;
};

// Parses a whole script. On the first bad line: false, and `error` reads
// "NAME:LINE: what is wrong", e.g. "script.txt:7: unknown command 'tapp'";
// words from the script are shown cut short, control characters escaped.
bool ParseScript(const std::string& text, const std::string& name,
                 std::vector<ScriptCommand>& commands, std::string& error);

// Reads and parses a script file. Only an ordinary file of at most 1 MiB of
// UTF-8 text without NUL bytes is taken; anything else is an error that says
// what is wrong ("NAME: ..." or "NAME:LINE: ..."), as is a file that cannot
// be read.
bool LoadScriptFile(const std::string& path, std::vector<ScriptCommand>& commands,
                    std::string& error);
