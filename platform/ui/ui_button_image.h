// A button drawn with images: the normal image, and while pressed the pressed
// image over it. The images belong to whoever loaded them.
#pragma once

#include "platform/ui/ui_button.h"

class ImagingHelper;

class UiButton_Image : public UiButton {
 public:
  UiButton_Image();
  ~UiButton_Image() override;

  void SetImage_Normal(ImagingHelper* image) { normal_ = image; }
  void SetImage_Pressed(ImagingHelper* image) { pressed_image_ = image; }
  ImagingHelper* GetImage_Normal() const { return normal_; }
  ImagingHelper* GetImage_Pressed() const { return pressed_image_; }
  // 1: the pressed image is drawn over the normal one while pressed.
  void SetMode(int mode) { mode_ = mode; }
  int GetMode() const { return mode_; }
  // true: draw the pressed image under the normal one instead of over it.
  void SwapImageZOrder(bool swap);
  bool IsImageZOrderSwapped() const { return z_swapped_; }

  // Mode 1: the pressed image over (or, swapped, under) the normal one while
  // pressed; mode 0: the pressed image instead of the normal one. Images are
  // centred in the button; a null image draws nothing.
  void PaintWin(Canvas& canvas) override;

 private:
  ImagingHelper* normal_ = nullptr;
  ImagingHelper* pressed_image_ = nullptr;
  int mode_ = 0;
  bool z_swapped_ = false;
};
