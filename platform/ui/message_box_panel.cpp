#include "platform/ui/message_box_panel.h"

#include <algorithm>
#include <cmath>

#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"

namespace {
constexpr int kPad = 24;
constexpr int kBadge = 52;
constexpr int kCaptionHeight = 40;
constexpr int kButtonArea = 84;
constexpr UINT kTextFormat = DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS;
constexpr COLORREF kPanelSurface = RGB(0xFA, 0xFA, 0xFB);
}  // namespace

MessageBoxPanel::MessageBoxPanel(std::u16string text, std::u16string caption, bool information)
    : text_(std::move(text)),
      caption_(std::move(caption)),
      information_(information),
      ok_(u"确定", [this] { done_ = true; }) {
  const int text_width = kPanelWidth - 2 * kPad;
  const int max_height = Shell::kScreenHeight - Shell::kStatusBarHeight - 40;
  const int fixed = kPad + (information_ ? kBadge : 0) + kCaptionHeight + 12 + kPad + kButtonArea;
  const TextMetrics m = Canvas::MeasureText(text_, text_width, 1 << 20, DT_CENTER | DT_WORDBREAK,
                                            kTextPx);
  text_height_ = std::min(m.height, max_height - fixed);
  height_ = fixed + text_height_;
  left_ = (Shell::kScreenWidth - kPanelWidth) / 2;
  const RECT work = Shell::WorkArea();
  top_ = work.top + ((work.bottom - work.top) - height_) / 2;
  ok_.SetBounds(left_ + kPad, top_ + height_ - kButtonArea + 14, kPanelWidth - 2 * kPad, 56);
  roots_ = {&ok_};
}

RECT MessageBoxPanel::PanelRect() const {
  return RECT{left_, top_, left_ + kPanelWidth, top_ + height_};
}

RECT MessageBoxPanel::ButtonRect() const {
  return RECT{ok_.GetPosX(), ok_.GetPosY(), ok_.GetPosX() + ok_.GetWidth(),
              ok_.GetPosY() + ok_.GetHeight()};
}

void MessageBoxPanel::HandleInput(const InputEvent& e) {
  switch (e.type) {
    case InputEvent::Type::Press:
      finger_.Press(roots_, e.x, e.y);
      break;
    case InputEvent::Type::Move:
      finger_.Move(e.x, e.y);
      break;
    case InputEvent::Type::Release:
      finger_.Release(e.x, e.y);
      break;
    case InputEvent::Type::Key:
      if (e.key == InputKey::Enter || e.key == InputKey::Escape) done_ = true;
      break;
    default:
      break;
  }
}

void MessageBoxPanel::PaintLayer(Canvas& canvas, double shown) {
  canvas.FillRect(0, 0, Shell::kScreenWidth, Shell::kScreenHeight,
                  Color::Rgb(0, 0, 0, 0.45 * shown));
  const int offset = static_cast<int>(std::lround((1.0 - shown) * (Shell::kScreenHeight - top_)));
  canvas.Translate(0, offset);
  ThemeColors theme;
  if (Shell* shell = Shell::Current()) theme = shell->Theme();
  // A soft shadow, then the panel.
  canvas.FillRoundRect(left_ - 2, top_ + 3, kPanelWidth + 4, height_ + 4, 18,
                       Color::Rgb(0, 0, 0, 0.18));
  canvas.FillRoundRect(left_, top_, kPanelWidth, height_, 16, Color::FromColorRef(kPanelSurface));
  int y = top_ + kPad;
  if (information_) {
    const double cx = left_ + kPanelWidth / 2.0;
    canvas.FillCircle(cx, y + 20, 20, Color::Rgb(0x2F, 0x80, 0xD8));
    canvas.DrawText(u"i", RECT{static_cast<LONG>(cx - 20), y, static_cast<LONG>(cx + 20), y + 40},
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE, Color::Rgb(0xFF, 0xFF, 0xFF), 26,
                    true);
    y += kBadge;
  }
  const Color text_color = Color::FromColorRef(
      ReadableText(theme.window_text, kPanelSurface, ThemeColors{}.window_text));
  canvas.DrawText(caption_, RECT{left_ + kPad, y, left_ + kPanelWidth - kPad, y + kCaptionHeight},
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, text_color,
                  kCaptionPx, true);
  y += kCaptionHeight + 12;
  canvas.DrawText(text_, RECT{left_ + kPad, y, left_ + kPanelWidth - kPad, y + text_height_},
                  kTextFormat, text_color, kTextPx);
  const int sep = top_ + height_ - kButtonArea;
  canvas.FillRect(left_ + 12, sep, kPanelWidth - 24, 1, Color::Rgb(0xD5, 0xD8, 0xDC));
  ok_.Paint(canvas);
}
