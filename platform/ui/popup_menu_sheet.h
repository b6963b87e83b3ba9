// The sheet an MzPopupMenu shows while it runs: slides up from the bottom
// over a dimmed screen; title picture and text, the items (scrolled when they
// do not fit), and a cancel button. It is the top layer of the shell while
// open, so tests find it with dynamic_cast on Shell::TopLayer().
#pragma once

#include <memory>
#include <vector>

#include "platform/shell/shell_layer.h"
#include "platform/ui/finger_tracker.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/sheet_button.h"
#include "platform/ui/ui_scroll_win.h"

class PopupMenuSheet : public ShellLayer {
 public:
  explicit PopupMenuSheet(const MzPopupMenu& menu);
  ~PopupMenuSheet() override;

  void PaintLayer(Canvas& canvas, double shown) override;
  void HandleInput(const InputEvent& event) override;

  bool IsDone() const { return done_; }
  // The chosen item's id; 0 when dismissed.
  int Result() const { return result_; }

  // ---- For tests ----
  int SheetTop() const { return top_; }
  // The highlighted item's index (Up/Down), or -1.
  int Highlight() const { return highlight_; }
  const UiScrollWin& List() const { return list_; }
  // The screen rectangle of item `index` as it is now (scrolled), clipped to nothing.
  RECT ItemRect(int index) const;
  RECT CancelRect() const;

 private:
  class Row;
  void Choose(int id);
  void MoveHighlight(int step);
  bool Selectable(int index) const;

  const MzPopupMenu& menu_;
  UiScrollWin list_;
  std::vector<std::unique_ptr<Row>> rows_;
  SheetButton cancel_;
  std::vector<UiWin*> roots_;
  FingerTracker finger_;
  int top_ = 0;
  int height_ = 0;
  int highlight_ = -1;
  bool outside_press_ = false;
  bool done_ = false;
  int result_ = 0;
};
