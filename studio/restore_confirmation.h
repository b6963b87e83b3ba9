// The studio's "恢复默认" confirmation: a sheet over the dimmed studio with
// "确定" and "取消", run through the one modal run, so that it holds the whole
// window while it is open. Esc, a tap beside the sheet and "取消" cancel;
// Enter and Space act on the focused button, which is "取消" at first.
#pragma once

#include "platform/ui/element_layer.h"
#include "studio/studio_controls.h"

class RestoreConfirmation : public ElementLayer {
 public:
  // The sheet's place in the studio, whose width is `studio_width`.
  explicit RestoreConfirmation(int studio_width);

  // The buttons' notifications answer the question.
  void PostCommand(WPARAM wParam, LPARAM lParam) override;

  // Runs until answered: true for "确定".
  bool Ask();

  const StudioButton& ConfirmButton() const { return confirm_; }
  const StudioButton& CancelButton() const { return cancel_; }

 protected:
  void PaintContent(Canvas& canvas) override;
  bool OnKey(InputKey key) override;
  void OnTapOutside() override;

 private:
  StudioText title_;
  StudioText note_;
  StudioButton confirm_;
  StudioButton cancel_;
};
