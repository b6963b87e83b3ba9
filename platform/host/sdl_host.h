// The host with a real desktop window (SDL2), for people.
//
// Does: shows the screen in a window of the frame's size (the phone drawn at
// an integer or fractional scale), through the window system's plain pixel
// copy, never OpenGL; the mouse and touch act as the finger, the wheel
// scrolls, Esc, Enter, Space, Tab (with Shift), the arrows and the page keys
// are keys, the window's close button asks
// to quit, and so does the window being destroyed from outside; windows
// slide in and out; waits for events without polling
// (it wakes only for input, for animations, once a minute for the clock, and
// when the file descriptor given to WakeOnReadable has news: a thread of its
// own blocks in poll() on it, and when the window comes back to the front);
// F2 is a key too, and so are Z and Y (the window's Ctrl shortcuts),
// Backspace and Delete; typed text comes through SDL's text input, so that an input
// method can compose it, only while the shell wants it; a file dropped on
// the window comes with its path. Each input carries the moment it happened
// (under X, the server's own stamp), not the moment the loop read it.
// The window can be resized (the frame is drawn anew at the scale that fits
// it, and the window takes the frame's size) and Ctrl+plus, Ctrl+minus and
// Ctrl+0 zoom it, never below half the phone's size nor past the desktop.
// Does not: draw anything itself or keep any state of the phone.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/host/host.h"

class SdlHost : public Host {
 public:
  // Where a window stands on the desktop: its top left corner.
  struct Place {
    int x = 0;
    int y = 0;
    bool operator==(const Place&) const = default;
  };
  // How a window opens: `scale` asked for on the command line, else `kept`
  // from the last run (see StartWindowScale), `width` of the phone's pixels
  // wide (the screen and what the shell shows beside it); at `place` when
  // the window's title bar is on a screen there, else in the middle.
  struct Opening {
    std::optional<double> scale;
    std::optional<double> kept;
    int width = 480;
    std::optional<Place> place;
  };
  // Opens the window. A window that grows later moves left to stay on the
  // desktop. Null with `error` set when there is no display.
  static std::unique_ptr<SdlHost> Create(const Opening& opening, std::string& error);
  ~SdlHost() override;

  void Present(const std::uint32_t* pixels, int width, int height, int stride) override;
  bool WaitEvent(InputEvent& event, int timeout_ms) override;
  std::int64_t NowMs() const override;
  int ClockMinutes() const override;
  bool AnimatesWindows() const override { return true; }
  void WakeOnReadable(int fd) override;
  void TakeText(bool wanted) override;
  void PlaceTextCaret(int x, int y, int width, int height) override;
  // The window system's clipboard.
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  // The scale the window is drawn at now (opened with, resized, zoomed).
  double Scale() const override;
  bool FrameLost() override;
  // Where the window stands now.
  Place WindowPlace() const;

  // The picture the desktop shows for the window (task bar, switcher):
  // `width` x `height` premultiplied ARGB pixels, as frames are, row by row.
  void SetIcon(const std::uint32_t* pixels, int width, int height);
  // The file at `path` comes as if dropped on the window, after the input
  // already waiting (a file the window was opened with).
  void QueueDroppedFile(const std::string& path);

 private:
  struct State;
  // What an event of the window system is to the shell: nothing, an input
  // (put in the event), or news with no input (the shell looks again).
  enum class Heard { kNothing, kInput, kNews };
  Heard Hear(const union SDL_Event& e, InputEvent& event);
  Heard HearWindow(const struct SDL_WindowEvent& e);
  // Zooms for Ctrl and `key` (plus, minus, 0); false for any other key.
  bool Zoom(int key);
  // Takes a size the user gave the window: the scale that fits it.
  bool Resized(int width, int height);
  explicit SdlHost(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};
