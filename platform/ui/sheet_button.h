// The light, rounded push button of the popup menu and the message box
// ("取消", "确定"): calls back when a press is released inside it, or on
// Enter or Space while it has the focus.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/ui_win.h"

class SheetButton : public UiWin {
 public:
  static constexpr double kFontPx = 22.0;

  SheetButton(std::u16string text, std::function<void()> on_click);
  bool IsPressed() const { return pressed_; }

  void PaintWin(Canvas& canvas) override;
  void OnPress(int x, int y) override;
  void OnRelease(int x, int y, bool inside) override;
  void OnPressCancelled() override;
  bool TakesFocus() const override { return visible_; }
  bool Activate() override;

 private:
  std::u16string text_;
  std::function<void()> on_click_;
  bool pressed_ = false;
};
