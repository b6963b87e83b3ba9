// The text toolbar along the bottom of a window: up to three buttons (left,
// middle, right) and an optional back arrow before the left one. A press sends
// the toolbar's id with the button's index (0, 1, 2) as lParam. Each usable
// button is a Tab stop; Enter or Space send it as a tap would.
#pragma once

#include <string>

#include "platform/ui/ui_win.h"

class UiToolbar_Text : public UiWin {
 public:
  static constexpr int kMaxButtons = 3;

  UiToolbar_Text();
  ~UiToolbar_Text() override;

  void SetButton(int index, bool enable, bool visible, LPCWSTR text);
  void EnableLeftArrow(bool enable) { left_arrow_ = enable; }
  bool IsLeftArrowEnabled() const { return left_arrow_; }
  // The button's caption, or null for a button never set or an index out of range.
  LPCWSTR GetButtonText(int index) const;
  bool IsButtonEnabled(int index) const;
  bool IsButtonVisible(int index) const;

  // The button slot under x (0, 1, 2: equal thirds of the width), or -1.
  int ButtonAt(int x) const;
  // The button being held down, or -1.
  int GetPressedButton() const { return pressed_button_; }
  // The phone's back key (Esc on a desktop): with the back arrow shown and the
  // left button usable, sends that button's notification as a tap would.
  // False when the toolbar has no way back.
  bool GoBack();
  static constexpr double kFontPx = 22.0;

  void PaintWin(Canvas& canvas) override;
  void OnPress(int x, int y) override;
  void OnRelease(int x, int y, bool inside) override;
  void OnPressCancelled() override;
  // Esc goes back as GoBack does.
  bool OnKey(InputKey key) override;
  bool TakesFocus() const override;
  bool EnterFocus(bool forward) override;
  bool StepFocus(bool forward) override;
  bool Activate() override;
  // The button that has the focus while the toolbar has it, or -1.
  int GetFocusedButton() const;

 protected:
  struct Button {
    std::u16string text;
    bool enabled = false;
    bool visible = false;
    bool set = false;
  };
  Button buttons_[kMaxButtons];
  bool left_arrow_ = false;
  int pressed_button_ = -1;

 private:
  bool Usable(int index) const { return IsButtonVisible(index) && IsButtonEnabled(index); }
  // The usable button after (or before) `from`, or -1.
  int NextUsable(int from, bool forward) const;
  int focus_button_ = -1;
};
