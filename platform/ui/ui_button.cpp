#include "platform/ui/ui_button.h"

UiButton::UiButton() = default;
UiButton::~UiButton() = default;

void UiButton::OnPress(int /*x*/, int /*y*/) {
  pressed_ = true;
  Invalidate();
}

void UiButton::OnRelease(int /*x*/, int /*y*/, bool inside) {
  pressed_ = false;
  Invalidate();
  if (inside) PostNotification(static_cast<WPARAM>(static_cast<std::uint16_t>(id_)), 0);
}

bool UiButton::Activate() {
  PostNotification(static_cast<WPARAM>(static_cast<std::uint16_t>(id_)), 0);
  return true;
}

void UiButton::OnPressCancelled() {
  pressed_ = false;
  Invalidate();
}
