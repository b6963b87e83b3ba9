// One of the studio's "every eye" buttons: 正常, 红色盲, 绿色盲, 蓝色盲. The one
// that is on shows the whole preview as a person with that colour vision
// sees it; a tap, or Enter or Space while it has the focus, runs its action.
#pragma once

#include "model/checks/colour_science.h"
#include "studio/widgets/studio_controls.h"

class VisionToggle : public ActionButton {
 public:
  explicit VisionToggle(ColourVision vision) : vision_(vision) {}
  ColourVision Vision() const { return vision_; }
  void SetOn(bool on);
  bool IsOn() const { return on_; }

  void PaintWin(Canvas& canvas) override;

 private:
  ColourVision vision_;
  bool on_ = false;
};
