#include "platform/ui/ui_static.h"

#include "platform/shell/canvas.h"

UiStatic::UiStatic() = default;
UiStatic::~UiStatic() = default;

void UiStatic::SetDisplayText(LPCWSTR text) {
  text_ = text != nullptr ? std::u16string(text) : std::u16string();
  Invalidate();
}

bool UiStatic::IsTextCut() const {
  return Canvas::MeasureText(text_, width_, height_, text_format_, kFontPx).cut;
}

int UiStatic::MeasureTextHeight() const {
  // Without the height limit: the height the text would take.
  return Canvas::MeasureText(text_, width_, 1 << 20, text_format_ & ~DT_END_ELLIPSIS, kFontPx)
      .height;
}

void UiStatic::PaintWin(Canvas& canvas) {
  if (text_.empty()) return;
  canvas.DrawText(text_, RECT{0, 0, width_, height_}, text_format_,
                  Color::FromColorRef(Theme().static_text), kFontPx);
}
