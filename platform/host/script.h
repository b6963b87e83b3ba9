// Input scripts for headless runs: one command a line.
//   tap X Y                  a short press and release at screen pixel (X, Y)
//   drag X1 Y1 X2 Y2 MS      press, move in a straight line over MS ms (at most
//                            60000), release
//   wait MS                  let MS ms (at most 600000) pass on the simulated clock
//   key NAME                 escape, enter, space, tab, up, down, left, right,
//                            pageup, pagedown, home, end, f2, z, y,
//                            backspace or delete, after shift+ or ctrl+ when
//                            held with Shift or Ctrl
//   type TEXT                type the words of TEXT (UTF-8, Chinese too),
//                            one space between them
//   compose [TEXT]           an input method composes TEXT (shown, not yet
//                            typed), its cursor at the end; without TEXT
//                            the composition ends
//   shot NAME.png            write the screen to NAME.png in the screenshot folder
//   # ...                    a comment; blank lines are ignored
// and the commands that whoever runs the script adds (ScriptExtension).
// Coordinates are screen pixels (0..479, 0..719). UTF-8 text, a byte-order
// mark at the start allowed. A picture's name is taken inside the screenshot
// folder: never from the root, never through "..".
#pragma once

#include <string>
#include <vector>

#include "platform/host/input_event.h"

struct ScriptCommand {
  enum class Kind { Tap, Drag, Wait, Key, Shot, Type, Compose, Extension };
  Kind kind = Kind::Wait;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int ms = 0;
  InputKey key = InputKey::Escape;
  unsigned modifiers = kNoModifier;  // Key
  std::string name;  // Shot: the file; Type, Compose: the text; Extension: the command's word
  std::vector<std::string> arguments;  // Extension
  int line = 0;
};

// A command the script reader does not know itself, read for whoever runs
// the script: its word, how many words follow, how to say so, and a check of
// those words that returns what is wrong with them (empty: nothing).
struct ScriptExtension {
  std::string word;
  std::size_t arguments = 0;
  std::string usage;
  std::string (*check)(const std::vector<std::string>& arguments) = nullptr;
};

// Whether a picture's name is taken inside the screenshot folder: not from
// the root, never climbing out through "..".
bool StaysInScreenshotFolder(const std::string& name);

// Parses a whole script. On the first bad line: false, and `error` reads
// "NAME:LINE: what is wrong", e.g. "script.txt:7: unknown command 'tapp'";
// words from the script are shown cut short, and control characters in them
// and in NAME escaped.
bool ParseScript(const std::string& text, const std::string& name,
                 std::vector<ScriptCommand>& commands, std::string& error,
                 const std::vector<ScriptExtension>& extensions = {});

// Reads and parses a script file. Only an ordinary file of at most 1 MiB of
// UTF-8 text without NUL bytes is taken; anything else is an error that says
// what is wrong ("NAME: ..." or "NAME:LINE: ..."), as is a file that cannot
// be read.
bool LoadScriptFile(const std::string& path, std::vector<ScriptCommand>& commands,
                    std::string& error, const std::vector<ScriptExtension>& extensions = {});
