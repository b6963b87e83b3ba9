// A question of the studio's: a sheet over the dimmed studio with a title, a
// note, what the question is about (an element of the asker's, such as a
// list of changes; optional), "确定" and "取消", run through the one modal
// run, so that it holds the whole window while it is open. Esc, a tap beside
// the sheet and "取消" cancel; Enter and Space act on the focused button,
// which is "取消" at first; Left and Right move between the two. "确定" is
// drawn in the danger colour only for a step that cannot be undone. The
// title and the note wrap to the sheet's width.
#pragma once

#include <string>

#include "studio/widgets/studio_controls.h"
#include "studio/widgets/studio_layer.h"

class ConfirmationSheet : public StudioLayer {
 public:
  // The sheet, `sheet_width` wide, stands in the middle of the studio, whose
  // width is `studio_width`; `detail` (not owned, `detail_height` tall)
  // goes under the note. `shell`: the shell the studio is in. `undoable`:
  // the step asked for can be undone.
  ConfirmationSheet(int studio_width, Shell* shell, std::u16string title, std::u16string note, bool undoable,
                    UiWin* detail = nullptr, int detail_height = 0, int sheet_width = 320);

  // Runs until answered: true for "确定".
  bool Ask();

 protected:
  void PaintContent(Canvas& canvas) override;
  bool OnKey(InputKey key) override;
  void OnTapOutside() override;

 private:
  void Answer(int answer);

  StudioText title_;
  StudioText note_;
  StudioButton confirm_;
  StudioButton cancel_;
};
