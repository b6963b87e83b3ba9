// A one-line box the user types a name into: it takes the text the host
// delivers (the keyboard's, or an input method's, Chinese too), Backspace
// takes back the last character, Enter sends its control id to its layer.
// A tap puts the focus in it. Text that does not fit shows its end.
#pragma once

#include <string>

#include "platform/ui/ui_win.h"

class TextField : public UiWin {
 public:
  // At most `limit` characters are kept; `hint` shows while it is empty.
  TextField(std::u16string hint, std::size_t limit);

  const std::u16string& Text() const { return text_; }
  void SetText(std::u16string text);

  void PaintWin(Canvas& canvas) override;
  void OnRelease(int x, int y, bool inside) override;
  bool OnKey(InputKey key) override;
  bool OnText(const std::u16string& text) override;
  bool TakesFocus() const override { return visible_; }

 private:
  std::u16string hint_;
  std::size_t limit_;
  std::u16string text_;
};
