// The sheet an MzPopupMenu shows while it runs: slides up from the bottom
// over a dimmed screen; title picture and text, the items (scrolled when they
// do not fit), and a cancel button. It is the top layer of the shell while
// open.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/element_layer.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/sheet_button.h"
#include "platform/ui/ui_scroll_win.h"

class PopupMenuSheet : public ElementLayer {
 public:
  // `shell`: the shell the sheet runs on.
  PopupMenuSheet(const MzPopupMenu& menu, Shell* shell);
  ~PopupMenuSheet() override;

  // Where the sheet and its parts are on the screen, in screen coordinates.
  int SheetTop() const { return Frame().top; }
  // The highlighted item's index (Up/Down), or -1.
  int Highlight() const { return highlight_; }
  const UiScrollWin& List() const { return list_; }
  // The screen rectangle of item `index` as it is now (scrolled), clipped to nothing.
  RECT ItemRect(int index) const;
  RECT CancelRect() const;

 protected:
  void PaintContent(Canvas& canvas) override;
  bool OnKey(InputKey key) override;
  void OnTapOutside() override;

 private:
  class Row;
  void Choose(int id);
  void MoveHighlight(int step);
  bool Selectable(int index) const;

  const MzPopupMenu& menu_;
  UiScrollWin list_;
  std::vector<std::unique_ptr<Row>> rows_;
  SheetButton cancel_;
  int height_ = 0;
  int highlight_ = -1;
};
