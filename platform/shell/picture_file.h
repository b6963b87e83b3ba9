// A picture file, PNG or JPEG (told apart by its first bytes), read through
// the file layer and scaled down on the way: what the program takes colours
// from, not what it draws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, straight alpha, row by row
};

// The largest picture file read, and the most pixels one may have: a JPEG
// is decoded at an eighth of its size where that is still large enough, a
// PNG whole (four bytes a pixel) before it is scaled down.
inline constexpr std::size_t kMaxPictureFileBytes = 256u << 20;
inline constexpr std::int64_t kMaxJpegPixels = 200'000'000;
inline constexpr std::int64_t kMaxPngPixels = 64'000'000;

// Why a picture could not be read, for words in the window's language.
enum class PictureFault { kUnreadable, kMissing, kNotAFile, kTooLarge, kNotAPicture, kBroken };

// Reads the picture at `path` and scales it down so that neither side is
// longer than `max_side` (each pixel the average of those it stands for).
// False, with `problem` saying why in words, when the file cannot be read
// or is no PNG or JPEG that decodes; `picture` is then unchanged and
// `fault` (if given) gets the kind of fault.
bool ReadPicture(const std::string& path, int max_side, Picture& picture, std::string& problem,
                 PictureFault* fault = nullptr);

// Whether the file at `path` starts as a PNG or a JPEG does: a file dropped
// on the window is told apart from a registry file so.
bool IsPictureFile(const std::string& path);
