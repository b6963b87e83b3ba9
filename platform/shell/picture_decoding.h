// What the two picture decoders share: the file as they read it, the bounds
// they keep, and the small sum of pixels a decoded row goes into.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/file/read_file.h"
#include "platform/shell/picture_file.h"

// The picture file, read in pieces as a decoder asks for them; its first
// `pending` bytes are in the buffer already (they told what the file is).
struct PictureSource {
  FileReader file;
  unsigned char buffer[65536];
  std::size_t pending = 0;
};

// The time and signal bound of one decoding: Check() is asked at every row.
class DecodeBounds {
 public:
  DecodeBounds();
  // kTooSlow past kMaxDecodeSeconds of this thread's processor time,
  // kInterrupted once a quit signal arrived; else false.
  // `why` is then a constant text.
  bool Passed(PictureFault* fault, const char** why) const;

 private:
  std::timespec start_{};
};

// The picture scaled down while its rows come: each output pixel the sum of
// the input pixels it stands for, straight colours weighted by alpha.
class PictureShrinker {
 public:
  PictureShrinker(int width, int height, int max_side);
  // `count` straight RGBA pixels (8 bits each) of row `y`, the i-th at
  // column x0 + i * dx.
  void Add(int y, int x0, int dx, const unsigned char* rgba, int count);
  // Whether any pixel came.
  bool empty() const { return rows_ == 0; }
  // The picture down to the last row that had a pixel.
  Picture Finish() const;

 private:
  struct Sum {
    std::uint64_t a = 0, r = 0, g = 0, b = 0, n = 0;
  };
  int width_, height_, k_, out_width_, out_height_;
  int rows_ = 0;  // one past the last row that had a pixel
  std::vector<Sum> sums_;
};

// Each decoder: true with `picture` set, else false with `fault` and `problem`.
bool DecodeJpegFile(PictureSource& source, int max_side, Picture& picture, PictureFault& fault,
                    std::string& problem);
bool DecodePngFile(PictureSource& source, int max_side, Picture& picture, PictureFault& fault,
                   std::string& problem);
