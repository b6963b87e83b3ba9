// Something the shell stacks in its window: a window, a popup menu, a message
// box on the phone's screen, or a layer of whatever stands in the place
// beside it. The top layer of each place gets that place's input (while no
// modal run holds the whole window); every layer is painted bottom up.
#pragma once

#include <cstdint>

#include "platform/host/input_event.h"

class Canvas;
class Shell;

class ShellLayer {
 public:
  // Where a layer is: on the phone's screen, or in the place right of it.
  enum class Place { Phone, Side };

  virtual ~ShellLayer() = default;
  // Paints in its place's coordinates. `shown` runs from 0 (hidden) to 1 (in
  // place) while the layer slides in or out; it is 1 otherwise.
  virtual void PaintLayer(Canvas& canvas, double shown) = 0;
  // Input in its place's coordinates; only a top layer receives it.
  virtual void HandleInput(const InputEvent& event) = 0;
  // Another layer came over this one in the middle of a touch: forget the
  // touch without acting on it.
  virtual void CancelTouch() {}
  // True while the layer runs modally: it holds the whole window, and the
  // other place takes no press and no key until it ends.
  virtual bool HoldsWindow() const { return false; }
  // A press in the other place while this layer holds the window: nothing
  // there acts on it. A layer that closes on a click beside it (a card, a
  // shelf) closes; the press does nothing else.
  virtual void PressedElsewhere() {}
  // True for a layer that, holding the window, lets the window's keys act
  // that otherwise wait for a modal run to end: one that has no use of its
  // own for them and shows what they change.
  virtual bool LetsWindowKeysAct() const { return false; }
  // Tab (forward) or Shift+Tab: moves the keyboard focus to the layer's next
  // or previous stop; `enter` (or no stop having it) starts from its first
  // or last. False when there is none there: the focus then is on nothing.
  virtual bool MoveFocus(bool forward, bool enter) {
    (void)forward;
    (void)enter;
    return false;
  }
  // True while an input method composes text for the layer: keys are then
  // the input method's.
  virtual bool Composing() const { return false; }
  // The place the layer is in now measures width x height.
  virtual void PlaceResized(int width, int height) {
    (void)width;
    (void)height;
  }

  Place GetPlace() const { return place_; }
  // The shell the layer belongs to, or null: whoever makes the layer gives
  // it (a window gets it when created), and a shell that goes first lets go
  // of every layer on its stack or holding one of its handles.
  Shell* GetShell() const { return shell_; }

 protected:
  // Set before the layer goes on the shell's stack.
  void SetPlace(Place place) { place_ = place; }
  void SetShell(Shell* shell) { shell_ = shell; }

 private:
  friend class Shell;
  Place place_ = Place::Phone;
  Shell* shell_ = nullptr;
};
