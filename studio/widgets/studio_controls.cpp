#include "studio/widgets/studio_controls.h"

#include <cmath>

#include "platform/shell/canvas.h"
#include "platform/ui/window.h"
#include "studio/studio_texts.h"

namespace {

constexpr UINT kWrapped = DT_LEFT | DT_WORDBREAK;

struct ButtonColors {
  Color face, rim, ink;
};

ButtonColors ColorsOf(StudioButton::Look look, bool pressed) {
  switch (look) {
    case StudioButton::Look::kDanger:
      return {pressed ? Color::Rgb(0xB0, 0x2A, 0x1E) : Color::Rgb(0xD9, 0x3A, 0x2B),
              Color::Rgb(0xD9, 0x3A, 0x2B), Color::Rgb(0xFF, 0xFF, 0xFF)};
    case StudioButton::Look::kLight:
      return {pressed ? Color::Rgb(0xC9, 0xCD, 0xD3) : Color::Rgb(0xF0, 0xF1, 0xF3),
              Color::Rgb(0xB4, 0xB8, 0xBE), Color::Rgb(0x20, 0x20, 0x20)};
    case StudioButton::Look::kPlain:
      break;
  }
  return {pressed ? Color::Rgb(0x5A, 0x60, 0x6A) : Color::Rgb(0x45, 0x4A, 0x52),
          Color::Rgb(0x6A, 0x70, 0x7A), Color::Rgb(0xF2, 0xF4, 0xF7)};
}

}  // namespace

StudioButton::StudioButton(std::u16string text, Look look) : text_(std::move(text)), look_(look) {}

void StudioButton::PaintWin(Canvas& canvas) {
  const ButtonColors c = ColorsOf(look_, pressed_);
  canvas.FillRoundRect(0, 0, width_, height_, 7, c.face);
  canvas.StrokeRoundRect(0.5, 0.5, width_ - 1, height_ - 1, 6.5, 1, c.rim);
  canvas.DrawText(text_, RECT{0, 0, width_, height_}, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                  c.ink, 14);
  if (ShowsFocus()) PaintFocusRing(canvas, 0, 0, width_, height_);
}

StudioText::StudioText(double px, bool bold, Color color) : px_(px), bold_(bold), color_(color) {}

void StudioText::SetText(std::u16string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Invalidate();
}

void StudioText::SetColor(Color color) {
  color_ = color;
  Invalidate();
}

int StudioText::HeightFor(int width) const {
  if (text_.empty()) return 0;
  return Canvas::MeasureText(text_, width, 1 << 20, kWrapped, px_, bold_).height;
}

void StudioText::PaintWin(Canvas& canvas) {
  canvas.DrawText(text_, RECT{0, 0, width_, height_}, kWrapped | (centred_ ? DT_VCENTER : 0u),
                  color_, px_, bold_);
}

SampleScreensView::SampleScreensView(const ThemeValues& theme,
                                     const std::vector<ReadabilityWarning>& warnings, Color ground)
    : theme_(theme), warnings_(warnings), ground_(ground) {}

void SampleScreensView::SetSelected(int item) {
  if (item == selected_) return;
  selected_ = item;
  if (item != 0) pointed_ = item;
  Invalidate();
}

void SampleScreensView::PaintWin(Canvas& canvas) {
  // The warnings follow from the theme: the theme and the scale say
  // whether the picture kept is still the one to show.
  int x = 0, y = 0;
  double scale = 0;
  const bool kept = canvas.DevicePlacement(&x, &y, &scale);
  if (kept) {
    const int w = static_cast<int>(std::lround(width_ * scale));
    const int h = static_cast<int>(std::lround(height_ * scale));
    if (scale != drawn_scale_ || !(theme_ == drawn_theme_) ||
        drawn_.size() != static_cast<std::size_t>(w) * h) {
      drawn_.resize(static_cast<std::size_t>(w) * h);
      Canvas::PaintIntoPixels(drawn_.data(), w, h, [&](Canvas& c) {
        c.Scale(scale);
        c.FillRect(0, 0, width_, height_, ground_);
        c.Translate(0, -kSampleScreensTop);
        PaintSampleScreens(c, theme_, warnings_);
      });
      drawn_theme_ = theme_;
      drawn_scale_ = scale;
    }
    canvas.DrawDevicePixels(drawn_.data(), w, h, x, y);
  }
  canvas.Save();
  canvas.Translate(0, -kSampleScreensTop);
  if (!kept) PaintSampleScreens(canvas, theme_, warnings_);
  if (selected_ != 0) OutlineItem(canvas, selected_);
  if (ShowsFocus()) {
    for (const ItemPlace& place : PlacementOf(pointed_).places) {
      if (place.empty()) continue;
      const RECT& r = place.rect;
      PaintFocusRing(canvas, r.left - 3, r.top - 3, r.right - r.left + 6, r.bottom - r.top + 6);
    }
  }
  canvas.Restore();
}

bool SampleScreensView::EnterFocus(bool forward) {
  if (!TakesFocus()) return false;
  if (selected_ != 0) pointed_ = selected_;
  (void)forward;
  return true;
}

bool SampleScreensView::Activate() {
  PostNotification(static_cast<WPARAM>(static_cast<std::uint16_t>(id_)) |
                       (static_cast<WPARAM>(kChooseByKey) << 16),
                   static_cast<LPARAM>(pointed_));
  return true;
}

bool SampleScreensView::OnKey(InputKey key) {
  if (!HasFocus()) return false;
  const int count = static_cast<int>(kThemeTargetCount);
  switch (key) {
    case InputKey::Right:
    case InputKey::Down: pointed_ = pointed_ % count + 1; break;
    case InputKey::Left:
    case InputKey::Up: pointed_ = (pointed_ + count - 2) % count + 1; break;
    case InputKey::Home: pointed_ = 1; break;
    case InputKey::End: pointed_ = count; break;
    default: return false;
  }
  Invalidate();
  return true;
}

void SampleScreensView::OnPress(int, int) { pressed_ = true; }

void SampleScreensView::OnRelease(int x, int y, bool inside) {
  const bool was = pressed_;
  pressed_ = false;
  if (was && inside) {
    PostNotification(static_cast<WPARAM>(static_cast<std::uint16_t>(id_)),
                     MAKELPARAM_XY(x, y + kSampleScreensTop));
  }
}

void WayBackTab::PaintWin(Canvas& canvas) {
  canvas.FillRect(0, 0, width_, height_,
                  pressed_ ? Color::Rgb(0x3A, 0x3F, 0x47) : Color::Rgb(0x2B, 0x2E, 0x33));
  canvas.FillRect(0, 0, 1, height_, Color::Rgb(0x6A, 0x70, 0x7A));
  const Color ink = Color::Rgb(0xF2, 0xF4, 0xF7);
  // An arrow towards where the studio opens, the label one character a line
  // (as Chinese is written top to bottom), and the key.
  const double mid = width_ / 2.0;
  const double arrow[] = {mid - 4, 28, mid + 4, 36, mid - 4, 44};
  canvas.DrawPolyline(arrow, 3, 2.5, ink);
  const int text_top = 60;
  const TextMetrics label = canvas.DrawText(
      // One character wide, so each goes on a line of its own.
      studio_text::kShowStudio, RECT{width_ / 2 - 10, text_top, width_ / 2 + 10, height_ - 60},
      DT_CENTER | DT_WORDBREAK, ink, 16, true);
  const int key_top = text_top + label.height + 12;
  canvas.StrokeRoundRect(4.5, key_top + 0.5, width_ - 9, 24, 4, 1, ink);
  canvas.DrawText(u"F2", RECT{4, key_top, width_ - 4, key_top + 25},
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE, ink, 12, true);
  if (ShowsFocus()) PaintFocusRing(canvas, 0, 0, width_, height_);
}
