// One input event from a host, in screen pixels (0..479, 0..719): the finger
// going down, moving and coming up, a wheel turn, a key, or a request to quit;
// with the moment it happened, which may be well before the loop reads it.
#pragma once

#include <cstdint>

// F2 is the window's own key: it hides and shows the panel beside the phone.
enum class InputKey { Escape, Enter, Up, Down, PageUp, PageDown, Home, End, F2 };

struct InputEvent {
  enum class Type { Press, Move, Release, Wheel, Key, Quit };
  Type type = Type::Press;
  int x = 0;
  int y = 0;
  int wheel = 0;  // wheel turns, positive away from the user (scroll up)
  InputKey key = InputKey::Escape;
  bool repeat = false;  // a key held down, repeated by the keyboard
  // When it happened, on the host's NowMs() clock; the host sets it. An event
  // made by hand (-1) is taken to happen when it is handled.
  std::int64_t ms = -1;

  static InputEvent Press(int x, int y) { return {Type::Press, x, y, 0, InputKey::Escape, false}; }
  static InputEvent Move(int x, int y) { return {Type::Move, x, y, 0, InputKey::Escape, false}; }
  static InputEvent Release(int x, int y) { return {Type::Release, x, y, 0, InputKey::Escape, false}; }
  static InputEvent Wheel(int x, int y, int turns) {
    return {Type::Wheel, x, y, turns, InputKey::Escape, false};
  }
  static InputEvent Key(InputKey k) { return {Type::Key, 0, 0, 0, k, false}; }
  static InputEvent KeyRepeat(InputKey k) { return {Type::Key, 0, 0, 0, k, true}; }
  static InputEvent Quit() { return {Type::Quit, 0, 0, 0, InputKey::Escape, false}; }
};
