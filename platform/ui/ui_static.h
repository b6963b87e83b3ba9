// An element that shows text in the theme's static text colour, laid out
// with the DrawText-style flags of SetDrawTextFormat.
#pragma once

#include <string>

#include "platform/ui/ui_win.h"

class UiStatic : public UiWin {
 public:
  UiStatic();
  ~UiStatic() override;

  virtual void SetDisplayText(LPCWSTR text);
  const std::u16string& GetText() const { return text_; }

  void PaintWin(Canvas& canvas) override;

 private:
  std::u16string text_;
};
