#include "platform/ui/imaging_helper.h"

#include <cstdio>

#include "platform/shell/canvas.h"
#include "platform/shell/png_decoder.h"
#include "platform/win/resources.h"

ImagingHelper::ImagingHelper() = default;
ImagingHelper::~ImagingHelper() = default;

bool ImagingHelper::LoadImageFromRes(HINSTANCE hInstance, LPCWSTR type, LPCWSTR name,
                                     bool /*useDib*/, bool /*alpha*/, bool /*cache*/) {
  Forget();
  HRSRC res = FindResourceExW(hInstance, type, name, LANG_ZH_CN);
  if (res == nullptr) res = FindResourceExW(hInstance, type, name, 0);
  if (res == nullptr) return false;
  HGLOBAL global = LoadResource(hInstance, res);
  const void* data = global != nullptr ? LockResource(global) : nullptr;
  const DWORD size = SizeofResource(hInstance, res);
  int w = 0;
  int h = 0;
  if (!ReadPngSize(data, size, w, h)) return false;
  width_ = w;
  height_ = h;
  encoded_ = data;
  encoded_size_ = size;
  resource_id_ = reinterpret_cast<UINT_PTR>(name);
  return true;
}

bool ImagingHelper::LoadImageFromBuffer(const void* data, std::size_t size, bool /*useDib*/,
                                        bool /*alpha*/) {
  // The caller's bytes may go once this returns: decoded now.
  Forget();
  int w = 0;
  int h = 0;
  std::vector<std::uint32_t> pixels;
  if (!DecodePng(data, size, w, h, pixels)) return false;
  width_ = w;
  height_ = h;
  pixels_ = std::move(pixels);
  return true;
}

void ImagingHelper::Forget() {
  width_ = height_ = 0;
  pixels_.clear();
  encoded_ = nullptr;
  encoded_size_ = 0;
  resource_id_ = 0;
}

void ImagingHelper::Decode() const {
  if (encoded_ == nullptr) return;
  int w = 0;
  int h = 0;
  std::vector<std::uint32_t> pixels;
  const bool ok = DecodePng(encoded_, encoded_size_, w, h, pixels) && w == width_ && h == height_;
  encoded_ = nullptr;
  encoded_size_ = 0;
  if (!ok) {
    std::fprintf(stderr, "tintor: picture %lu of the resources cannot be decoded; it is left out\n",
                 static_cast<unsigned long>(resource_id_));
    width_ = height_ = 0;
    return;
  }
  pixels_ = std::move(pixels);
}

const std::uint32_t* ImagingHelper::GetPixels() const {
  Decode();
  return IsNull() ? nullptr : pixels_.data();
}

std::uint32_t ImagingHelper::GetPixel(int x, int y) const {
  Decode();
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint32_t p = pixels_[static_cast<std::size_t>(y) * width_ + x];
  const std::uint32_t a = p >> 24;
  if (a == 0) return 0;
  auto channel = [a](std::uint32_t c) { return (c * 255 + a / 2) / a; };
  const std::uint32_t r = channel((p >> 16) & 0xFF);
  const std::uint32_t g = channel((p >> 8) & 0xFF);
  const std::uint32_t b = channel(p & 0xFF);
  return (a << 24) | (r << 16) | (g << 8) | b;
}

void ImagingHelper::Draw(Canvas& canvas, int x, int y) const {
  // A picture scrolled out of sight need not be decoded yet.
  if (IsNull() || !canvas.IsRectVisible(x, y, width_, height_)) return;
  Decode();
  if (IsNull()) return;
  canvas.DrawImage(pixels_.data(), width_, height_, x, y);
}
