#include "platform/ui/ui_button_image.h"

#include "platform/ui/imaging_helper.h"

UiButton_Image::UiButton_Image() = default;
// The images belong to whoever loaded them (and may be gone already).
UiButton_Image::~UiButton_Image() = default;

void UiButton_Image::SwapImageZOrder(bool swap) {
  z_swapped_ = swap;
  Invalidate();
}

void UiButton_Image::PaintWin(Canvas& canvas) {
  auto centred = [&](const ImagingHelper* image) {
    if (image == nullptr || image->IsNull()) return;
    image->Draw(canvas, (width_ - image->GetImageWidth()) / 2,
                (height_ - image->GetImageHeight()) / 2);
  };
  if (!pressed_ || pressed_image_ == nullptr) {
    centred(normal_);
  } else if (mode_ == 0) {
    centred(pressed_image_);
  } else if (z_swapped_) {
    centred(pressed_image_);
    centred(normal_);
  } else {
    centred(normal_);
    centred(pressed_image_);
  }
  if (ShowsFocus()) PaintFocusRing(canvas, 0, 0, width_, height_);
}
