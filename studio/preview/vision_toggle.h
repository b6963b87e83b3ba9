// One of the studio's "every eye" buttons: 正常, 红色盲, 绿色盲, 蓝色盲. The one
// that is on shows the whole preview as a person with that colour vision
// sees it; a tap, or Enter or Space while it has the focus, sends its id.
#pragma once

#include "platform/ui/ui_button.h"
#include "model/checks/colour_science.h"

class VisionToggle : public UiButton {
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
