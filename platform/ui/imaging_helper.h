// One picture (PNG, 8-bit RGBA, interlaced or not), loaded from a module's
// resources or from a buffer. A helper that holds no picture is null: it has
// size 0 x 0 and draws nothing.
//
// A picture from the resources is decoded when it is first drawn or read,
// not when it is loaded, so a window of many pictures opens quickly. One
// whose bytes then fail to decode turns null and says so once on stderr.
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
  // Premultiplied ARGB rows, 4 bytes a pixel, width * 4 bytes a row; null
  // for a null picture.
  const std::uint32_t* GetPixels() const;
  // The straight (not premultiplied) RGBA of one pixel, as 0xAARRGGBB.
  std::uint32_t GetPixel(int x, int y) const;

  // Draws the picture with its top left at (x, y); a null picture draws nothing.
  void Draw(Canvas& canvas, int x, int y) const;

 private:
  void Forget();
  // Decodes the resource's bytes if that has not happened yet.
  void Decode() const;

  mutable int width_ = 0;
  mutable int height_ = 0;
  mutable std::vector<std::uint32_t> pixels_;
  // The resource's PNG bytes (they live as long as the program) until decoded.
  mutable const void* encoded_ = nullptr;
  mutable std::size_t encoded_size_ = 0;
  UINT_PTR resource_id_ = 0;
};
