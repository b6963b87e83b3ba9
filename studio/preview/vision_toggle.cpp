#include "studio/preview/vision_toggle.h"

#include "platform/shell/canvas.h"
#include "studio/studio_texts.h"
#include "studio/widgets/style.h"

using namespace studio_style;

void VisionToggle::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  Invalidate();
}

void VisionToggle::PaintWin(Canvas& canvas) {
  const Color face = on_ ? kToggleOn : pressed_ ? kTogglePressed : kToggleOff;
  const Color ink = on_ ? kToggleOnInk : kToggleOffInk;
  canvas.FillRoundRect(0, 0, width_, height_, 5, face);
  canvas.StrokeRoundRect(0.5, 0.5, width_ - 1, height_ - 1, 4.5, 1, kRim);
  const char16_t* title = vision_ == ColourVision::kTypical ? u"正常" : ColourVisionTitle(vision_);
  canvas.DrawText(title, RECT{0, 0, width_, height_}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, ink,
                  kToggleTextPx, on_);
}
