// Turns the finger's down / move / up over a set of elements into presses,
// taps and drags: a finger that moves more than kDragThreshold pixels over a
// draggable container (a scroll pane) drags it and cancels the press under it;
// a finger that comes down on a gliding pane stops it and presses nothing.
#pragma once

#include <cstdint>
#include <vector>

class UiWin;

class FingerTracker {
 public:
  static constexpr int kDragThreshold = 10;
  // Only the last stretch of a drag decides how fast it was let go.
  static constexpr int kVelocityWindowMs = 100;

  // roots: top-level elements in paint order; x, y in the roots' coordinates;
  // now_ms: the screen's clock.
  void Press(const std::vector<UiWin*>& roots, int x, int y);
  void Move(int x, int y, std::int64_t now_ms);
  void Release(int x, int y, std::int64_t now_ms);
  void Wheel(const std::vector<UiWin*>& roots, int x, int y, int turns);
  // Drops the current press (the element under it is told).
  void Cancel();
  // The element (and whatever it contains) is going away: never touch it again.
  void Forget(const UiWin* element);

  UiWin* Pressed() const { return pressed_; }

  // The deepest visible element under (x, y) among the roots, or null.
  static UiWin* HitTest(const std::vector<UiWin*>& roots, int x, int y);

 private:
  struct Sample {
    std::int64_t ms;
    int y;
  };
  bool down_ = false;
  bool dragging_ = false;
  UiWin* pressed_ = nullptr;
  UiWin* drag_target_ = nullptr;
  int start_x_ = 0;
  int start_y_ = 0;
  int last_y_ = 0;
  std::vector<Sample> samples_;
};
