// A container that scrolls its children vertically: drag with momentum,
// clamped at both ends, a scroll bar indicator while it moves, mouse wheel,
// and the keys: Up and Down a wheel step, Page Up and Page Down a pane's
// height less one step, Home and End to either end.
//
// A pane whose children take the focus (a grid of buttons) is one Tab stop:
// it keeps the focus on one child, the arrow keys move it to the child
// beside, above or below (Home and End to the first and last), the pane
// scrolls it into view, and Enter or Space activate it.
//
// Momentum: the content keeps the speed the finger had when it let go and
// slows down exponentially (time constant kMomentumTauMs) on the shell's
// clock, stopping at either end. The indicator (when EnableScrollBarV) shows
// while the content moves and kIndicatorLingerMs after it stops.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/shell/shell_animation.h"
#include "platform/ui/ui_win.h"

class UiScrollWin : public UiWin {
 public:
  static constexpr double kMomentumTauMs = 325.0;
  static constexpr double kMinSpeed = 0.02;  // pixels a millisecond
  // A touch on a glide at least this fast only stops it; on a slower one
  // (nearly at rest) it also presses what is under it.
  static constexpr double kCatchSpeed = 0.1;
  static constexpr int kIndicatorLingerMs = 500;
  static constexpr int kWheelStep = 60;  // pixels a wheel turn

  UiScrollWin();
  ~UiScrollWin() override;

  int GetScrollY() const override { return scroll_y_; }
  // Scrolls so that content row y is at the top, clamped to the content.
  void ScrollTo(int y);
  // The height of the children's content (the lowest child bottom).
  int GetContentHeight() const;
  int GetMaxScrollY() const;
  // True while the content glides after a drag.
  bool IsMoving() const { return velocity_ != 0.0; }
  bool IsIndicatorShown() const { return indicator_shown_; }
  // Shows the scroll bar whenever the content is taller than the view, not
  // only while it moves: a list that says there is more below.
  void KeepIndicatorShown(bool keep) { keep_indicator_ = keep; }

  void Paint(Canvas& canvas) override;
  bool CanDrag() const override;
  bool CatchGlide() override;
  void OnDragBegin() override;
  void OnDragBy(int dy) override;
  void OnDragEnd(double velocity) override;
  bool OnWheel(int turns) override;
  bool OnKey(InputKey key) override;
  bool TakesFocus() const override;
  bool EnterFocus(bool forward) override;
  bool Activate() override;
  // The child that has the focus while the pane has it, or null.
  UiWin* FocusedChild() const;
  // Scrolls the least that shows all of `child`.
  void ScrollIntoView(const UiWin* child);

 protected:
  int scroll_y_ = 0;

 private:
  class Motion : public ShellAnimation {
   public:
    explicit Motion(UiScrollWin* owner) : owner_(owner) {}
    bool Tick(std::int64_t now_ms) override { return owner_->Advance(now_ms); }

   private:
    UiScrollWin* owner_;
  };
  bool Advance(std::int64_t now_ms);
  // Jumps to content row y with the indicator shown; false when the content fits.
  bool JumpTo(int y);
  std::vector<UiWin*> FocusChildren() const;
  // Moves the focus to the child the arrow key points at; true when it is there.
  bool MoveFocusedChild(InputKey key);
  void FocusChild(UiWin* child);
  void StartMotion();
  void StopMotion();

  Motion motion_{this};
  UiWin* focus_child_ = nullptr;  // looked up among the children before each use
  double position_ = 0;     // exact scroll position while gliding
  double velocity_ = 0;     // content pixels a millisecond, positive scrolls down
  std::int64_t last_tick_ = 0;
  std::int64_t hide_at_ = 0;
  bool indicator_shown_ = false;
  bool keep_indicator_ = false;
  bool dragging_ = false;
};
