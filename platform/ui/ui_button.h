// A push button: a press and a release inside it send its control id, and
// so do Enter and Space while it has the focus.
#pragma once

#include "platform/ui/ui_win.h"

class UiButton : public UiWin {
 public:
  UiButton();
  ~UiButton() override;

  // 0: a plain button.
  void SetButtonType(int type) { button_type_ = type; }
  int GetButtonType() const { return button_type_; }
  bool IsPressed() const { return pressed_; }

  void OnPress(int x, int y) override;
  void OnRelease(int x, int y, bool inside) override;
  void OnPressCancelled() override;
  bool TakesFocus() const override { return visible_; }
  bool Activate() override;

 protected:
  int button_type_ = 0;
  bool pressed_ = false;
};
