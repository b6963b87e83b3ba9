#include "platform/ui/ui_picture.h"

#include "platform/ui/imaging_helper.h"

UiPicture::UiPicture() = default;
UiPicture::~UiPicture() = default;

bool UiPicture::LoadImageW(HINSTANCE hInstance, LPCWSTR type, LPCWSTR name, bool useDib) {
  auto image = std::make_unique<ImagingHelper>();
  const bool ok = image->LoadImageFromRes(hInstance, type, name, useDib);
  image_ = ok ? std::move(image) : nullptr;
  Invalidate();
  return ok;
}

void UiPicture::PaintWin(Canvas& canvas) {
  if (image_ == nullptr) return;
  if (paint_mode_ == 0) {
    image_->Draw(canvas, 0, 0);
  } else {
    image_->Draw(canvas, (width_ - image_->GetImageWidth()) / 2,
                 (height_ - image_->GetImageHeight()) / 2);
  }
}
