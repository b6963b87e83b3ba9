#include "studio/widgets/studio_controls.h"

#include <algorithm>
#include <cmath>

#include "platform/shell/canvas.h"
#include "model/theme_targets.h"
#include "studio/preview/item_places.h"
#include "studio/studio_texts.h"
#include "studio/widgets/studio_layer.h"
#include "studio/widgets/style.h"

namespace {

using namespace studio_style;
constexpr UINT kWrapped = DT_LEFT | DT_WORDBREAK;

const ButtonLook& LookOf(StudioButton::Look look) {
  switch (look) {
    case StudioButton::Look::kDanger: return kDangerButton;
    case StudioButton::Look::kGo: return kGoButton;
    case StudioButton::Look::kLight: return kLightButton;
    case StudioButton::Look::kPlain: break;
  }
  return kPlainButton;
}

}  // namespace

void ActionButton::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  pressed_ = false;
  Invalidate();
}

void ActionButton::OnPress(int x, int y) {
  if (enabled_) UiButton::OnPress(x, y);
}

void ActionButton::OnRelease(int /*x*/, int /*y*/, bool inside) {
  const bool was = pressed_;
  pressed_ = false;
  Invalidate();
  if (inside && was && enabled_) RunLater(*this, action_);
}

bool ActionButton::Activate() {
  if (enabled_) RunLater(*this, action_);
  return true;
}

StudioButton::StudioButton(std::u16string text, Look look) : text_(std::move(text)), look_(look) {}

void StudioButton::PaintWin(Canvas& canvas) {
  const ButtonLook& c = LookOf(look_);
  canvas.FillRoundRect(0, 0, width_, height_, kButtonRadius, pressed_ ? c.pressed : c.face);
  canvas.StrokeRoundRect(0.5, 0.5, width_ - 1, height_ - 1, kButtonRadius - 0.5, 1, c.rim);
  Color ink = c.ink;
  if (!IsEnabled()) ink.a = 1 - kDisabledInk;
  canvas.DrawText(text_, RECT{0, 0, width_, height_}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, ink,
                  kButtonTextPx);
}

int StudioButton::WidthNeeded() const {
  const int text = Canvas::MeasureText(text_, 1 << 16, kControlHeight, DT_SINGLELINE, kButtonTextPx).width;
  return std::max(kMinTarget, text + 2 * kButtonPad);
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

void SampleScreensView::Choose(int item) {
  if (item < 1 || !choose_) return;
  RunLater(*this, [choose = choose_, item] { choose(item); });
}

bool SampleScreensView::Activate() {
  Choose(pointed_);
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
  if (was && inside) Choose(ItemAt(x, y + kSampleScreensTop));
}

void WayBackTab::PaintWin(Canvas& canvas) {
  canvas.FillRect(0, 0, width_, height_, pressed_ ? kTabPressed : kDesk);
  canvas.FillRect(0, 0, 1, height_, kRim);
  const Color ink = kInk;
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
