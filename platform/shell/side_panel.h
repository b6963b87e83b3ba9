// Something shown beside the phone's screen in the same window, right of it
// and as tall as it: the shell paints it into the frame after the phone and
// hands it the input that lands on it. It is not part of the phone: no layer,
// no message, no theme of the phone's own.
#pragma once

#include "platform/host/input_event.h"

class Canvas;

class SidePanel {
 public:
  virtual ~SidePanel() = default;

  // Width in the phone's pixels; the panel is as tall as the screen.
  virtual int Width() const = 0;
  // Draws the panel with its top left at the canvas's origin, `scale` device
  // pixels to one of the phone's.
  virtual void Paint(Canvas& canvas, double scale) = 0;
  virtual bool NeedsRepaint() const = 0;
  // A touch, a wheel turn or a key, in the panel's own pixels (its left edge
  // is x 0). A touch that starts on the panel stays with it until released.
  virtual void HandleInput(const InputEvent& event) = 0;

  // A file descriptor that becomes readable when the panel has news (-1:
  // none); the host wakes the shell's loop for it and the shell then calls
  // Refresh().
  virtual int WakeFd() const { return -1; }
  // Looks at the news without blocking; may make NeedsRepaint() true.
  virtual void Refresh() {}
};
