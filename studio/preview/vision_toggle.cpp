#include "studio/preview/vision_toggle.h"

#include "platform/shell/canvas.h"
#include "studio/studio_texts.h"

void VisionToggle::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  Invalidate();
}

void VisionToggle::PaintWin(Canvas& canvas) {
  const Color face = on_ ? Color::Rgb(0xF2, 0xF4, 0xF7)
                         : pressed_ ? Color::Rgb(0x5A, 0x60, 0x6A) : Color::Rgb(0x3A, 0x3F, 0x47);
  const Color ink = on_ ? Color::Rgb(0x20, 0x20, 0x20) : Color::Rgb(0xD8, 0xDC, 0xE2);
  canvas.FillRoundRect(0, 0, width_, height_, 5, face);
  canvas.StrokeRoundRect(0.5, 0.5, width_ - 1, height_ - 1, 4.5, 1, Color::Rgb(0x6A, 0x70, 0x7A));
  const char16_t* title = vision_ == ColourVision::kTypical ? u"正常" : ColourVisionTitle(vision_);
  canvas.DrawText(title, RECT{0, 0, width_, height_}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, ink, 12,
                  on_);
  if (ShowsFocus()) PaintFocusRing(canvas, 0, 0, width_, height_);
}
