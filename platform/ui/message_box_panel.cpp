#include "platform/ui/message_box_panel.h"

#include <algorithm>

#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/ui/message_box.h"

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
      ok_(u"确定", [this] { EndModal(IDOK); }) {
  const int text_width = kPanelWidth - 2 * kPad;
  const int max_height = Shell::kScreenHeight - Shell::kStatusBarHeight - 40;
  const int fixed = kPad + (information_ ? kBadge : 0) + kCaptionHeight + 12 + kPad + kButtonArea;
  const TextMetrics m = Canvas::MeasureText(text_, text_width, 1 << 20, DT_CENTER | DT_WORDBREAK,
                                            kTextPx);
  text_height_ = std::min(m.height, max_height - fixed);
  height_ = fixed + text_height_;
  const int left = (Shell::kScreenWidth - kPanelWidth) / 2;
  const RECT work = Shell::WorkArea();
  const int top = work.top + ((work.bottom - work.top) - height_) / 2;
  SetFrame(RECT{left, top, left + kPanelWidth, top + height_});
  SetDimsBehind(true);
  ok_.SetBounds(kPad, height_ - kButtonArea + 14, kPanelWidth - 2 * kPad, 56);
  AddRoot(&ok_);
}

RECT MessageBoxPanel::ButtonRect() const {
  const RECT& f = Frame();
  return RECT{f.left + ok_.GetPosX(), f.top + ok_.GetPosY(),
              f.left + ok_.GetPosX() + ok_.GetWidth(), f.top + ok_.GetPosY() + ok_.GetHeight()};
}

bool MessageBoxPanel::OnKey(InputKey key) {
  if (key != InputKey::Enter && key != InputKey::Escape && key != InputKey::Space) return false;
  EndModal(IDOK);
  return true;
}

void MessageBoxPanel::PaintContent(Canvas& canvas) {
  const ThemeColors& theme = Theme();
  // A soft shadow, then the panel.
  canvas.FillRoundRect(-2, 3, kPanelWidth + 4, height_ + 4, 18, Color::Rgb(0, 0, 0, 0.18));
  canvas.FillRoundRect(0, 0, kPanelWidth, height_, 16, Color::FromColorRef(kPanelSurface));
  int y = kPad;
  if (information_) {
    const double cx = kPanelWidth / 2.0;
    canvas.FillCircle(cx, y + 20, 20, Color::Rgb(0x2F, 0x80, 0xD8));
    canvas.DrawText(u"i", RECT{static_cast<LONG>(cx - 20), y, static_cast<LONG>(cx + 20), y + 40},
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE, Color::Rgb(0xFF, 0xFF, 0xFF), 26,
                    true);
    y += kBadge;
  }
  const Color text_color = Color::FromColorRef(
      ReadableText(theme.window_text, kPanelSurface, ThemeColors{}.window_text));
  canvas.DrawText(caption_, RECT{kPad, y, kPanelWidth - kPad, y + kCaptionHeight},
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, text_color,
                  kCaptionPx, true);
  y += kCaptionHeight + 12;
  canvas.DrawText(text_, RECT{kPad, y, kPanelWidth - kPad, y + text_height_}, kTextFormat,
                  text_color, kTextPx);
  const int sep = height_ - kButtonArea;
  canvas.FillRect(12, sep, kPanelWidth - 24, 1, Color::Rgb(0xD5, 0xD8, 0xDC));
  ok_.Paint(canvas);
}
