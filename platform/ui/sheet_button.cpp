#include "platform/ui/sheet_button.h"

#include "platform/shell/canvas.h"

SheetButton::SheetButton(std::u16string text, std::function<void()> on_click)
    : text_(std::move(text)), on_click_(std::move(on_click)) {}

void SheetButton::PaintWin(Canvas& canvas) {
  const ThemeColors& theme = Theme();
  if (pressed_) {
    canvas.FillRoundRect(0.5, 0.5, width_ - 1, height_ - 1, 10, Color::Rgb(0xC9, 0xCD, 0xD3));
  } else {
    canvas.FillRoundRect(0.5, 0.5, width_ - 1, height_ - 1, 10, Color::Rgb(0xFF, 0xFF, 0xFF));
  }
  canvas.StrokeRoundRect(0.5, 0.5, width_ - 1, height_ - 1, 10, 1.0, Color::Rgb(0xB4, 0xB8, 0xBE));
  canvas.DrawText(text_, RECT{0, 0, width_, height_}, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                  Color::FromColorRef(ReadableText(theme.button_text, RGB(0xFF, 0xFF, 0xFF),
                                                   ThemeColors{}.button_text)),
                  kFontPx);
  if (ShowsFocus()) PaintFocusRing(canvas, 0, 0, width_, height_);
}

bool SheetButton::Activate() {
  if (on_click_) on_click_();
  return true;
}

void SheetButton::OnPress(int, int) {
  pressed_ = true;
  Invalidate();
}

void SheetButton::OnRelease(int, int, bool inside) {
  pressed_ = false;
  Invalidate();
  if (inside && on_click_) on_click_();
}

void SheetButton::OnPressCancelled() {
  pressed_ = false;
  Invalidate();
}
