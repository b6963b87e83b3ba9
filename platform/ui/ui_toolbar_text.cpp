#include "platform/ui/ui_toolbar_text.h"

#include "platform/shell/canvas.h"

UiToolbar_Text::UiToolbar_Text() = default;
UiToolbar_Text::~UiToolbar_Text() = default;

void UiToolbar_Text::SetButton(int index, bool enable, bool visible, LPCWSTR text) {
  if (index < 0 || index >= kMaxButtons) return;
  Button& b = buttons_[index];
  b.text = text != nullptr ? std::u16string(text) : std::u16string();
  b.enabled = enable;
  b.visible = visible;
  b.set = true;
  Invalidate();
}

LPCWSTR UiToolbar_Text::GetButtonText(int index) const {
  if (index < 0 || index >= kMaxButtons || !buttons_[index].set) return nullptr;
  return buttons_[index].text.c_str();
}

bool UiToolbar_Text::IsButtonEnabled(int index) const {
  return index >= 0 && index < kMaxButtons && buttons_[index].set && buttons_[index].enabled;
}

bool UiToolbar_Text::IsButtonVisible(int index) const {
  return index >= 0 && index < kMaxButtons && buttons_[index].set && buttons_[index].visible;
}

int UiToolbar_Text::ButtonAt(int x) const {
  if (width_ <= 0 || x < 0 || x >= width_) return -1;
  return x * kMaxButtons / width_;
}

void UiToolbar_Text::OnPress(int x, int y) {
  (void)y;
  const int i = ButtonAt(x);
  pressed_button_ = (IsButtonVisible(i) && IsButtonEnabled(i)) ? i : -1;
  Invalidate();
}

void UiToolbar_Text::OnRelease(int x, int y, bool inside) {
  (void)y;
  const int pressed = pressed_button_;
  pressed_button_ = -1;
  Invalidate();
  if (inside && pressed >= 0 && ButtonAt(x) == pressed) {
    PostNotification(static_cast<WPARAM>(static_cast<std::uint16_t>(id_)), pressed);
  }
}

bool UiToolbar_Text::GoBack() {
  if (!visible_ || !left_arrow_ || !IsButtonVisible(0) || !IsButtonEnabled(0)) return false;
  PostNotification(static_cast<WPARAM>(static_cast<std::uint16_t>(id_)), 0);
  return true;
}

bool UiToolbar_Text::OnKey(InputKey key) { return key == InputKey::Escape && GoBack(); }

int UiToolbar_Text::NextUsable(int from, bool forward) const {
  for (int i = from + (forward ? 1 : -1); i >= 0 && i < kMaxButtons; i += forward ? 1 : -1) {
    if (Usable(i)) return i;
  }
  return -1;
}

bool UiToolbar_Text::TakesFocus() const {
  return visible_ && NextUsable(-1, true) >= 0;
}

bool UiToolbar_Text::EnterFocus(bool forward) {
  focus_button_ = NextUsable(forward ? -1 : kMaxButtons, forward);
  Invalidate();
  return focus_button_ >= 0;
}

bool UiToolbar_Text::StepFocus(bool forward) {
  const int next = NextUsable(focus_button_, forward);
  if (next < 0) return false;
  focus_button_ = next;
  Invalidate();
  return true;
}

int UiToolbar_Text::GetFocusedButton() const {
  return HasFocus() && Usable(focus_button_) ? focus_button_ : -1;
}

bool UiToolbar_Text::Activate() {
  const int button = GetFocusedButton();
  if (button < 0) return false;
  PostNotification(static_cast<WPARAM>(static_cast<std::uint16_t>(id_)), button);
  return true;
}

void UiToolbar_Text::OnPressCancelled() {
  pressed_button_ = -1;
  Invalidate();
}

void UiToolbar_Text::PaintWin(Canvas& canvas) {
  const ThemeColors& theme = Theme();
  canvas.FillVerticalGradient(0, 0, width_, height_, Color::Rgb(0x3C, 0x3D, 0x40),
                              Color::Rgb(0x06, 0x06, 0x07));
  canvas.FillRect(0, 0, width_, 1, Color::Rgb(0x5E, 0x60, 0x64));
  const int slot = width_ / kMaxButtons;
  for (int i = 0; i < kMaxButtons; ++i) {
    if (!IsButtonVisible(i)) continue;
    const Button& b = buttons_[i];
    const int left = i * width_ / kMaxButtons;
    if (i == pressed_button_) {
      canvas.FillRoundRect(left + 8, 8, slot - 16, height_ - 16, 8,
                           Color::Rgb(0xFF, 0xFF, 0xFF, 0.20));
    }
    const Color color = Color::FromColorRef(b.enabled ? theme.toolbar_text
                                                      : theme.toolbar_text_disabled);
    RECT rc{left, 0, left + slot, height_};
    canvas.DrawText(b.text, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE, color, kFontPx);
    if (i == 0 && left_arrow_) {
      const TextMetrics m =
          Canvas::MeasureText(b.text, slot, height_, DT_SINGLELINE, kFontPx);
      const double tip = left + (slot - m.width) / 2.0 - 22;
      const double mid = height_ / 2.0;
      const double pts[] = {tip + 9, mid - 10, tip, mid, tip + 9, mid + 10};
      canvas.DrawPolyline(pts, 3, 3.0, color);
    }
  }
  if (const int focused = GetFocusedButton(); focused >= 0 && ShowsFocus()) {
    const int left = focused * width_ / kMaxButtons;
    PaintFocusRing(canvas, left + 6, 6, slot - 12, height_ - 12);
  }
  if (left_arrow_ && !IsButtonVisible(0)) {
    const double mid = height_ / 2.0;
    const double pts[] = {33, mid - 10, 24, mid, 33, mid + 10};
    canvas.DrawPolyline(pts, 3, 3.0, Color::FromColorRef(theme.toolbar_text));
  }
}
