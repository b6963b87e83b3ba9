// A picture file, PNG or JPEG (told apart by its first bytes), read through
// the file layer and scaled down while it is decoded: what the program takes
// colours from, not what it draws. Whatever size a file declares, decoding
// it stays within the bounds below, in memory and in time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, straight alpha, row by row
};

// The largest picture file read, and the most pixels one may declare: a
// JPEG is decoded at down to an eighth of its size, a PNG row by row.
inline constexpr std::size_t kMaxPictureFileBytes = 256u << 20;
inline constexpr std::int64_t kMaxJpegPixels = 200'000'000;
inline constexpr std::int64_t kMaxPngPixels = 64'000'000;
// The JPEG decoder's own memory, at most (a progressive file holds all its
// coefficients), and the most scans a progressive file may have.
inline constexpr long kMaxJpegDecoderBytes = 120l << 20;
inline constexpr int kMaxJpegScans = 100;
// The processor time one picture may take to decode, at most.
inline constexpr double kMaxDecodeSeconds = 1.5;

// Why a picture could not be read, for words in the window's language.
enum class PictureFault {
  kUnreadable,
  kMissing,
  kNotAFile,
  kTooLarge,     // declares more pixels, or needs more memory, than the bounds above
  kTooSlow,      // too many scans, or more time than kMaxDecodeSeconds
  kNotAPicture,  // starts as neither a PNG nor a JPEG does
  kBroken,       // no row of it decodes
  kInterrupted,  // SIGINT or SIGTERM came while it was decoded
};

// Reads the picture at `path` and scales it down so that neither side is
// longer than `max_side` (each pixel the average of those it stands for).
// Only pixels that are in the file count: of a damaged or cut picture, the
// rows decoded before the damage (the picture is then that much shorter).
// False, with `problem` saying why in words, when the file cannot be read,
// is no PNG or JPEG, has no row that decodes, goes past a bound, or a quit
// signal comes meanwhile; `picture` is then unchanged and `fault` (if
// given) gets the kind of fault.
bool ReadPicture(const std::string& path, int max_side, Picture& picture, std::string& problem,
                 PictureFault* fault = nullptr);

// Whether `typed`, read as a picture's path and failed for `fault`, was a
// bare word that names no file ('red', '#12': no '/' and no '.' in it). It
// was not meant as a path, so it is called no colour and no picture rather
// than a missing file.
bool TypedNoPath(const std::string& typed, PictureFault fault);

// Whether the file at `path` starts as a PNG or a JPEG does: a file dropped
// on the window is told apart from a registry file so.
bool IsPictureFile(const std::string& path);
