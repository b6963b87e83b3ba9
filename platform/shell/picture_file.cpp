#include "platform/shell/picture_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/host/quit_signals.h"
#include "platform/shell/picture_decoding.h"
#include "platform/shell/png_decoder.h"

namespace {

bool IsJpeg(const unsigned char* bytes, std::size_t size) {
  return size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool StartsAsPng(const unsigned char* bytes, std::size_t size) {
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return size >= 8 && std::equal(kSignature, kSignature + 8, bytes);
}

}  // namespace

DecodeBounds::DecodeBounds() { clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start_); }

bool DecodeBounds::Passed(PictureFault* fault, const char** why) const {
  if (QuitSignalArrived()) {
    *fault = PictureFault::kInterrupted;
    *why = "stopped by a quit signal";
    return true;
  }
  std::timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  const double spent = static_cast<double>(now.tv_sec - start_.tv_sec) + (now.tv_nsec - start_.tv_nsec) / 1e9;
  if (spent <= kMaxDecodeSeconds) return false;
  *fault = PictureFault::kTooSlow;
  static const std::string kWhy = [] {
    char text[64];
    std::snprintf(text, sizeof text, "takes more than %.1f s to decode", kMaxDecodeSeconds);
    return std::string(text);
  }();
  *why = kWhy.c_str();
  return true;
}

PictureShrinker::PictureShrinker(int width, int height, int max_side) : width_(width), height_(height) {
  const int longest = width > height ? width : height;
  k_ = max_side > 0 && longest > max_side ? (longest + max_side - 1) / max_side : 1;
  out_width_ = (width + k_ - 1) / k_;
  out_height_ = (height + k_ - 1) / k_;
  sums_.resize(static_cast<std::size_t>(out_width_) * out_height_);
}

void PictureShrinker::Add(int y, int x0, int dx, const unsigned char* rgba, int count) {
  if (y < 0 || y >= height_) return;
  Sum* row = sums_.data() + static_cast<std::size_t>(y / k_) * out_width_;
  for (int i = 0, x = x0; i < count && x < width_; ++i, x += dx) {
    const unsigned char* p = rgba + 4 * i;
    Sum& s = row[x / k_];
    // Straight colours weighted by their alpha, so that the sum over the sum
    // of alpha is straight colour again.
    s.a += p[3];
    s.r += std::uint64_t{p[0]} * p[3];
    s.g += std::uint64_t{p[1]} * p[3];
    s.b += std::uint64_t{p[2]} * p[3];
    ++s.n;
  }
  if (count > 0 && y + 1 > rows_) rows_ = y + 1;
}

Picture PictureShrinker::Finish() const {
  Picture out;
  out.width = out_width_;
  out.height = (rows_ + k_ - 1) / k_;
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  for (std::size_t i = 0; i < out.pixels.size(); ++i) {
    const Sum& s = sums_[i];
    if (s.a == 0) continue;
    auto channel = [&s](std::uint64_t sum) {
      const std::uint64_t v = (sum + s.a / 2) / s.a;
      return static_cast<std::uint32_t>(v > 255 ? 255 : v);
    };
    out.pixels[i] = static_cast<std::uint32_t>((s.a + s.n / 2) / s.n) << 24 | channel(s.r) << 16 |
                    channel(s.g) << 8 | channel(s.b);
  }
  return out;
}

bool ReadPicture(const std::string& path, int max_side, Picture& picture, std::string& problem,
                 PictureFault* fault) {
  PictureFault kind = PictureFault::kUnreadable;
  const auto fail = [&](std::string why) {
    if (fault != nullptr) *fault = kind;
    problem = std::move(why);
    return false;
  };
  const auto source = std::make_unique<PictureSource>();
  FileError failure;
  // A picture is one the user chose: a link of their own to it is followed.
  long got = 0;
  if (source->file.Open(path, kMaxPictureFileBytes, &failure, true)) {
    got = source->file.Read(source->buffer, 64);
    if (got < 0) failure = {errno, std::strerror(errno)};
  }
  if (!failure.reason.empty()) {
    const int e = failure.error_number;
    kind = e == ENOENT                  ? PictureFault::kMissing
           : e == EFBIG                 ? PictureFault::kTooLarge
           : e == EISDIR || e == EINVAL ? PictureFault::kNotAFile
                                        : PictureFault::kUnreadable;
    return fail("cannot read " + path + ": " + failure.reason);
  }
  source->pending = static_cast<std::size_t>(got);
  Picture decoded;
  std::string why;
  if (IsJpeg(source->buffer, source->pending)) {
    if (!DecodeJpegFile(*source, max_side, decoded, kind, why)) return fail(path + " " + why);
  } else if (StartsAsPng(source->buffer, source->pending)) {
    if (!DecodePngFile(*source, max_side, decoded, kind, why)) return fail(path + " " + why);
  } else {
    kind = PictureFault::kNotAPicture;
    return fail(path + " is neither a PNG nor a JPEG picture");
  }
  picture = std::move(decoded);
  return true;
}

bool TypedNoPath(const std::string& typed, PictureFault fault) {
  return fault == PictureFault::kMissing && typed.find_first_of("/.") == std::string::npos;
}

bool IsPictureFile(const std::string& path) {
  std::string bytes;
  FileError failure;
  if (!ReadFileStart(path, 64, &bytes, &failure, true)) return false;
  const auto* start = reinterpret_cast<const unsigned char*>(bytes.data());
  return IsJpeg(start, bytes.size()) || StartsAsPng(start, bytes.size());
}
