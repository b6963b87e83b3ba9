#include "studio/text_field.h"

#include <algorithm>

#include "platform/shell/canvas.h"
#include "platform/ui/element_layer.h"

namespace {
constexpr int kPad = 8;
constexpr double kTextPx = 14;
// The length in UTF-16 units of the text's last character.
std::size_t LastCharacter(const std::u16string& text) {
  const std::size_t n = text.size();
  if (n >= 2 && text[n - 1] >= 0xDC00 && text[n - 1] <= 0xDFFF && text[n - 2] >= 0xD800 &&
      text[n - 2] <= 0xDBFF) {
    return 2;
  }
  return n == 0 ? 0 : 1;
}
}  // namespace

TextField::TextField(std::u16string hint, std::size_t limit) : hint_(std::move(hint)), limit_(limit) {}

void TextField::SetText(std::u16string text) {
  text_ = std::move(text);
  Invalidate();
}

void TextField::PaintWin(Canvas& canvas) {
  canvas.FillRoundRect(0, 0, width_, height_, 6, Color::Rgb(0xFF, 0xFF, 0xFF));
  canvas.StrokeRoundRect(0.5, 0.5, width_ - 1, height_ - 1, 5.5, 1,
                         HasFocus() ? Color::Rgb(0x3B, 0x82, 0xF6) : Color::Rgb(0xB4, 0xB8, 0xBE));
  const int room = width_ - 2 * kPad;
  const UINT line = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
  if (text_.empty()) {
    // Past the caret, when there is one.
    const int hint_left = kPad + (HasFocus() ? 4 : 0);
    canvas.DrawText(hint_, RECT{hint_left, 0, width_ - kPad, height_}, line | DT_END_ELLIPSIS,
                    Color::Rgb(0x8A, 0x90, 0x99), kTextPx);
  } else {
    // The end of a long name shows, where the typing goes on.
    const int width = Canvas::MeasureText(text_, 1 << 20, height_, line, kTextPx).width;
    canvas.Save();
    canvas.ClipRect(kPad, 0, room, height_);
    const int left = kPad + std::min(0, room - width - 2);
    canvas.DrawText(text_, RECT{left, 0, left + width + 4, height_}, line, Color::Rgb(0x20, 0x20, 0x20),
                    kTextPx);
    canvas.Restore();
  }
  if (HasFocus()) {
    const int width = text_.empty() ? 0 : Canvas::MeasureText(text_, 1 << 20, height_, DT_SINGLELINE, kTextPx).width;
    const double x = kPad + std::min(width, room - 2) + 0.5;
    canvas.DrawLine(x, 7, x, height_ - 7, 1.5, Color::Rgb(0x20, 0x20, 0x20));
  }
  if (ShowsFocus()) PaintFocusRing(canvas, 0, 0, width_, height_);
}

void TextField::OnRelease(int, int, bool inside) {
  if (inside && Layer() != nullptr) Layer()->SetFocus(this);
}

bool TextField::OnKey(InputKey key) {
  switch (key) {
    case InputKey::Backspace:
      text_.erase(text_.size() - LastCharacter(text_));
      Invalidate();
      return true;
    case InputKey::Enter:
      PostNotification(static_cast<WPARAM>(static_cast<std::uint16_t>(id_)), 0);
      return true;
    case InputKey::Space:  // the space itself comes as text
      return true;
    default:
      return false;
  }
}

bool TextField::OnText(const std::u16string& text) {
  for (char16_t c : text) {
    // A line break or another control character is no part of a name.
    if (c < 0x20 || c == 0x7F) return true;
  }
  std::u16string next = text_ + text;
  // Counted in characters; a pair of surrogates is one.
  std::size_t characters = 0;
  for (char16_t c : next) characters += c < 0xDC00 || c > 0xDFFF;
  if (characters > limit_) return true;
  text_ = std::move(next);
  Invalidate();
  return true;
}
