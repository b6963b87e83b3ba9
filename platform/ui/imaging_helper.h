// One decoded picture (PNG, 8-bit RGBA, interlaced or not), loaded from a
// module's resources or from a buffer. A helper that holds no picture is
// null: it has size 0 x 0 and draws nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/win_types.h"

class Canvas;

class ImagingHelper {
 public:
  ImagingHelper();
  ImagingHelper(const ImagingHelper&) = delete;
  ImagingHelper& operator=(const ImagingHelper&) = delete;

  // Virtual operations, in table order.
  virtual ~ImagingHelper();
  // type and name are integer resource identifiers. False when the resource is
  // missing or is not a PNG we can decode; the helper is then null.
  virtual bool LoadImageFromRes(HINSTANCE hInstance, LPCWSTR type, LPCWSTR name,
                                bool useDib = true, bool alpha = true, bool cache = true);
  virtual bool LoadImageFromBuffer(const void* data, std::size_t size, bool useDib = true,
                                   bool alpha = true);

  bool IsNull() const { return width_ == 0 || height_ == 0; }
  int GetImageWidth() const { return width_; }
  int GetImageHeight() const { return height_; }
  // Premultiplied ARGB rows, 4 bytes a pixel, width * 4 bytes a row.
  const std::uint32_t* GetPixels() const { return pixels_.data(); }
  // The straight (not premultiplied) RGBA of one pixel, as 0xAARRGGBB.
  std::uint32_t GetPixel(int x, int y) const;

  // Draws the picture with its top left at (x, y); a null picture draws nothing.
  void Draw(Canvas& canvas, int x, int y) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};
