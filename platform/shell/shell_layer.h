// Something the shell stacks on its screen: a window, a popup menu, a message
// box. The top layer gets the input; every layer is painted bottom up.
#pragma once

#include <cstdint>

#include "platform/host/input_event.h"

class Canvas;

class ShellLayer {
 public:
  virtual ~ShellLayer() = default;
  // Paints in screen coordinates. `shown` runs from 0 (hidden) to 1 (in
  // place) while the layer slides in or out; it is 1 otherwise.
  virtual void PaintLayer(Canvas& canvas, double shown) = 0;
  // Input in screen coordinates; only the top layer receives it.
  virtual void HandleInput(const InputEvent& event) = 0;
  // Another layer came over this one in the middle of a touch: forget the
  // touch without acting on it.
  virtual void CancelTouch() {}
};
