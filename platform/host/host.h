// The small interface between the shell and whatever shows the phone's screen.
//
// A host does: show a finished frame (the 480 x 720 screen drawn at the host's
// scale, so a larger window gets sharp text, and whatever the shell shows
// beside it); wait for the next input event
// or until a timeout; tell the time (a monotonic millisecond clock and the
// wall-clock minute for the status bar); say whether windows slide in and out;
// wake the wait when a file descriptor has news; take typed text (an input
// method's too, and what it is still composing) while the shell wants it,
// and tell the input method where the caret is; read and fill the clipboard.
// A host does not: draw, know about windows, or queue messages.
//
// Two hosts implement it: SdlHost (a real window) and HeadlessHost (pixels in
// memory, a simulated clock, injected or scripted input, PNG screenshots).
#pragma once

#include <cstdint>
#include <string>

#include "platform/host/input_event.h"

class Host {
 public:
  // The phone's screen in pixels: every frame is this size.
  static constexpr int kScreenWidth = 480;
  static constexpr int kScreenHeight = 720;

  virtual ~Host() = default;

  // Shows a frame: premultiplied ARGB rows, `stride` bytes apart.
  virtual void Present(const std::uint32_t* pixels, int width, int height, int stride) = 0;
  // How many of its own pixels the host shows for one pixel of the phone's
  // screen; frames are drawn that much larger. Input comes in phone pixels.
  // It may change while the shell waits (a window resized or zoomed): the
  // next frame is drawn at the new scale.
  virtual double Scale() const = 0;
  // True once after the host lost the frame it showed without a change of
  // scale (a window resized): the shell shows it again.
  virtual bool FrameLost() { return false; }
  // Waits at most timeout_ms (-1: as long as it takes) for the next input.
  // True with an event in `event`; false when the time ran out or the host
  // did something of its own and the shell should look around again.
  virtual bool WaitEvent(InputEvent& event, int timeout_ms) = 0;
  // Milliseconds on a monotonic clock (simulated in headless runs).
  virtual std::int64_t NowMs() const = 0;
  // Minutes since midnight for the status bar clock.
  virtual int ClockMinutes() const = 0;
  // True when windows, menus and boxes slide in and out; false shows them at once.
  virtual bool AnimatesWindows() const = 0;
  // Ends a wait (WaitEvent returns false) whenever `fd` is readable, without
  // reading from it: the shell reads, then waits again. -1 stops watching.
  virtual void WakeOnReadable(int fd) = 0;
  // Text events (InputEvent::Type::Text) wanted or not from now on: while
  // they are, an input method may compose text for them.
  virtual void TakeText(bool wanted) = 0;
  // The caret of the text being typed is this rectangle of the frame, in
  // phone pixels (the screen, and right of it what the shell shows beside
  // it): an input method shows its window of candidates next to it.
  virtual void PlaceTextCaret(int x, int y, int width, int height) = 0;
  // The desktop's clipboard as UTF-8 text: what was copied last (empty when
  // it holds no text), and putting text there for other programs to paste.
  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
};
