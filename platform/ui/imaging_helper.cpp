#include "platform/ui/imaging_helper.h"

#include "platform/shell/canvas.h"
#include "platform/shell/png_decoder.h"
#include "platform/win/resources.h"

ImagingHelper::ImagingHelper() = default;
ImagingHelper::~ImagingHelper() = default;

bool ImagingHelper::LoadImageFromRes(HINSTANCE hInstance, LPCWSTR type, LPCWSTR name,
                                     bool useDib, bool alpha, bool /*cache*/) {
  HRSRC res = FindResourceExW(hInstance, type, name, LANG_ZH_CN);
  if (res == nullptr) res = FindResourceExW(hInstance, type, name, 0);
  if (res == nullptr) {
    width_ = height_ = 0;
    pixels_.clear();
    return false;
  }
  HGLOBAL global = LoadResource(hInstance, res);
  const void* data = global != nullptr ? LockResource(global) : nullptr;
  const DWORD size = SizeofResource(hInstance, res);
  return LoadImageFromBuffer(data, size, useDib, alpha);
}

bool ImagingHelper::LoadImageFromBuffer(const void* data, std::size_t size, bool /*useDib*/,
                                        bool /*alpha*/) {
  int w = 0;
  int h = 0;
  std::vector<std::uint32_t> pixels;
  if (!DecodePng(data, size, w, h, pixels)) {
    width_ = height_ = 0;
    pixels_.clear();
    return false;
  }
  width_ = w;
  height_ = h;
  pixels_ = std::move(pixels);
  return true;
}

std::uint32_t ImagingHelper::GetPixel(int x, int y) const {
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
  if (IsNull()) return;
  canvas.DrawImage(pixels_.data(), width_, height_, x, y);
}
