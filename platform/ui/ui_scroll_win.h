// A container that scrolls its children vertically: drag with momentum,
// clamped at both ends, a scroll bar indicator while it moves, mouse wheel.
#pragma once

#include "platform/ui/ui_win.h"

class UiScrollWin : public UiWin {
 public:
  UiScrollWin();
  ~UiScrollWin() override;

  int GetScrollY() const override { return scroll_y_; }
  // Scrolls so that content row y is at the top, clamped to the content.
  void ScrollTo(int y);
  // The height of the children's content (the lowest child bottom).
  int GetContentHeight() const;
  int GetMaxScrollY() const;

  void Paint(Canvas& canvas) override;

 protected:
  int scroll_y_ = 0;
};
