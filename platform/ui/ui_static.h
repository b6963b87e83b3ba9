// An element that shows text in the theme's static text colour, laid out
// with the DrawText-style flags of SetDrawTextFormat.
#pragma once

#include <string>

#include "platform/ui/ui_win.h"

class UiStatic : public UiWin {
 public:
  // The text's size in pixels; lines are spaced naturally.
  static constexpr double kFontPx = 20.0;

  UiStatic();
  ~UiStatic() override;

  virtual void SetDisplayText(LPCWSTR text);
  const std::u16string& GetText() const { return text_; }
  // Whether the text, laid out in the element's rectangle under its format,
  // was cut: an end ellipsis, or lines that fall below the bottom.
  bool IsTextCut() const;
  // The height the whole text needs at the element's width under its format.
  int MeasureTextHeight() const;

  void PaintWin(Canvas& canvas) override;

 private:
  std::u16string text_;
};
