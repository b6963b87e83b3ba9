// An element that shows one picture loaded from a module's resources.
#pragma once

#include <memory>

#include "platform/ui/ui_win.h"

class ImagingHelper;

class UiPicture : public UiWin {
 public:
  UiPicture();
  ~UiPicture() override;

  // 0: draw the picture at its own size from the top left.
  void SetPaintMode(int mode) { paint_mode_ = mode; }
  // type and name are integer resource identifiers. False when nothing loaded.
  bool LoadImageW(HINSTANCE hInstance, LPCWSTR type, LPCWSTR name, bool useDib = true);
  ImagingHelper* GetImage() const { return image_.get(); }

  void PaintWin(Canvas& canvas) override;

 private:
  int paint_mode_ = 0;
  std::unique_ptr<ImagingHelper> image_;
};
