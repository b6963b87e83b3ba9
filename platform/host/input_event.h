// One input event from a host, in screen pixels (0..479, 0..719, and right of
// the screen for what the shell shows beside it): the finger going down,
// moving and coming up, a wheel turn, a key, text typed (by the keyboard or
// an input method), the text an input method is still composing, a file
// dropped on the window, or a request to quit; with
// the moment it happened, which may be well before the loop reads it.
#pragma once

#include <cstdint>
#include <string>

// The phone's keys (Esc is its back key), the desktop keyboard's keys that
// reach the elements (Tab, Space, the arrows), F2, a key of the window, and
// the letters of the window's shortcuts (Z and Y, held with Ctrl), and
// Backspace and Delete for the text being typed.
enum class InputKey {
  Escape, Enter, Up, Down, PageUp, PageDown, Home, End, F2, Tab, Space, Left, Right, Z, Y, Backspace, Delete,
  A, C, X, V  // with Ctrl: select all, copy, cut, paste
};

// Keys held with a key (a bit set).
enum KeyModifier : unsigned { kNoModifier = 0, kShift = 1, kCtrl = 2 };

struct InputEvent {
  enum class Type { Press, Move, Release, Wheel, Key, Quit, Text, Drop, Composition };
  Type type = Type::Press;
  int x = 0;
  int y = 0;
  int wheel = 0;  // wheel turns, positive away from the user (scroll up)
  InputKey key = InputKey::Escape;
  bool repeat = false;  // a key held down, repeated by the keyboard
  unsigned modifiers = kNoModifier;  // KeyModifier bits held with a key
  // When it happened, on the host's NowMs() clock; the host sets it. An event
  // made by hand (-1) is taken to happen when it is handled.
  std::int64_t ms = -1;
  // Text: what was typed, UTF-8; Composition: what the input method is
  // composing, not yet typed (empty: the composition ended); Drop: the
  // dropped file's path.
  std::string text = {};
  // Composition: where its cursor is, in characters from the text's start.
  int cursor = 0;

  static InputEvent Press(int x, int y) { return {Type::Press, x, y, 0, InputKey::Escape, false}; }
  static InputEvent Move(int x, int y) { return {Type::Move, x, y, 0, InputKey::Escape, false}; }
  static InputEvent Release(int x, int y) { return {Type::Release, x, y, 0, InputKey::Escape, false}; }
  static InputEvent Wheel(int x, int y, int turns) {
    return {Type::Wheel, x, y, turns, InputKey::Escape, false};
  }
  static InputEvent Key(InputKey k, unsigned modifiers = kNoModifier) {
    return {Type::Key, 0, 0, 0, k, false, modifiers};
  }
  static InputEvent KeyRepeat(InputKey k, unsigned modifiers = kNoModifier) {
    return {Type::Key, 0, 0, 0, k, true, modifiers};
  }
  static InputEvent Quit() { return {Type::Quit, 0, 0, 0, InputKey::Escape, false}; }
  static InputEvent Text(std::string typed) {
    InputEvent e{Type::Text, 0, 0, 0, InputKey::Escape, false};
    e.text = std::move(typed);
    return e;
  }
  static InputEvent Composition(std::string composing, int cursor) {
    InputEvent e{Type::Composition, 0, 0, 0, InputKey::Escape, false};
    e.text = std::move(composing);
    e.cursor = cursor;
    return e;
  }
  static InputEvent Drop(std::string path) {
    InputEvent e{Type::Drop, 0, 0, 0, InputKey::Escape, false};
    e.text = std::move(path);
    return e;
  }
};
