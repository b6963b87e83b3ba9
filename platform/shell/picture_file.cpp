#include "platform/shell/picture_file.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "platform/file/read_file.h"
#include "platform/shell/png_decoder.h"

namespace {

bool IsJpeg(const std::string& bytes) {
  return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

// Box-averages `in` (premultiplied or straight, as `premultiplied` says)
// down to at most `max_side` a side, into straight alpha.
Picture ScaleDown(int width, int height, const std::vector<std::uint32_t>& in, bool premultiplied,
                  int max_side) {
  const int longest = width > height ? width : height;
  const int k = max_side > 0 && longest > max_side ? (longest + max_side - 1) / max_side : 1;
  Picture out;
  out.width = (width + k - 1) / k;
  out.height = (height + k - 1) / k;
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  for (int oy = 0; oy < out.height; ++oy) {
    for (int ox = 0; ox < out.width; ++ox) {
      std::uint64_t a = 0, r = 0, g = 0, b = 0, n = 0;
      for (int y = oy * k; y < height && y < (oy + 1) * k; ++y) {
        const std::uint32_t* row = in.data() + static_cast<std::size_t>(y) * width;
        for (int x = ox * k; x < width && x < (ox + 1) * k; ++x) {
          const std::uint32_t p = row[x];
          const std::uint32_t alpha = p >> 24;
          // Straight colours are weighted by their alpha, as premultiplied ones already are.
          const std::uint32_t w = premultiplied ? 255 : alpha;
          a += alpha;
          r += ((p >> 16) & 0xFF) * w;
          g += ((p >> 8) & 0xFF) * w;
          b += (p & 0xFF) * w;
          ++n;
        }
      }
      std::uint32_t pixel = 0;
      if (a > 0) {
        // Summed colour over summed alpha: straight colour again.
        auto channel = [a](std::uint64_t sum) {
          const std::uint64_t v = (sum + a / 2) / a;
          return static_cast<std::uint32_t>(v > 255 ? 255 : v);
        };
        pixel = static_cast<std::uint32_t>((a + n / 2) / n) << 24 | channel(r) << 16 | channel(g) << 8 |
                channel(b);
      }
      out.pixels[static_cast<std::size_t>(oy) * out.width + ox] = pixel;
    }
  }
  return out;
}

struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JpegFailed(j_common_ptr info) {
  auto* failure = reinterpret_cast<JpegFailure*>(info->err);
  (*info->err->format_message)(info, failure->message);
  std::longjmp(failure->jump, 1);
}

void JpegWarning(j_common_ptr, int) {}  // a damaged but readable file still gives its colours

// Decodes a JPEG with the library's own scaling (1/2, 1/4 or 1/8) as far as
// that keeps at least `max_side`; straight ARGB, opaque.
bool DecodeJpeg(const std::string& bytes, int max_side, int& width, int& height,
                std::vector<std::uint32_t>& pixels, std::string& problem, bool& too_large) {
  jpeg_decompress_struct info;
  JpegFailure failure;
  info.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = JpegFailed;
  failure.manager.emit_message = JpegWarning;
  failure.message[0] = '\0';
  if (setjmp(failure.jump) != 0) {
    problem = std::string("not a JPEG that decodes: ") + failure.message;
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (static_cast<std::int64_t>(info.image_width) * info.image_height > kMaxJpegPixels) {
    problem = "a picture of more than " + std::to_string(kMaxJpegPixels) + " pixels";
    too_large = true;
    jpeg_destroy_decompress(&info);
    return false;
  }
  const unsigned longest = info.image_width > info.image_height ? info.image_width : info.image_height;
  info.scale_num = 1;
  info.scale_denom = 1;
  while (info.scale_denom < 8 && max_side > 0 && longest / (info.scale_denom * 2) >= static_cast<unsigned>(max_side)) {
    info.scale_denom *= 2;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);
  const int w = static_cast<int>(info.output_width);
  const int h = static_cast<int>(info.output_height);
  const int channels = info.output_components;
  pixels.assign(static_cast<std::size_t>(w) * h, 0);
  JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             static_cast<JDIMENSION>(w * channels), 1);
  while (info.output_scanline < info.output_height) {
    const int y = static_cast<int>(info.output_scanline);
    jpeg_read_scanlines(&info, row, 1);
    std::uint32_t* out = pixels.data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      const JSAMPLE* p = row[0] + x * channels;
      std::uint32_t r = p[0], g = p[1], b = p[2];
      if (cmyk) {
        // Stored inverted, as the common writers of CMYK JPEG files do.
        const std::uint32_t k = p[3];
        r = p[0] * k / 255;
        g = p[1] * k / 255;
        b = p[2] * k / 255;
      }
      out[x] = 0xFF000000u | r << 16 | g << 8 | b;
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  width = w;
  height = h;
  return true;
}

}  // namespace

bool ReadPicture(const std::string& path, int max_side, Picture& picture, std::string& problem,
                 PictureFault* fault) {
  const auto fail = [&](PictureFault kind, std::string why) {
    if (fault != nullptr) *fault = kind;
    problem = std::move(why);
    return false;
  };
  std::string bytes;
  FileError failure;
  // A picture is one the user chose: a link of their own to it is followed.
  if (!ReadWholeFile(path, kMaxPictureFileBytes, &bytes, &failure, true)) {
    const int e = failure.error_number;
    return fail(e == ENOENT                  ? PictureFault::kMissing
                : e == EFBIG                 ? PictureFault::kTooLarge
                : e == EISDIR || e == EINVAL ? PictureFault::kNotAFile
                                             : PictureFault::kUnreadable,
                "cannot read " + path + ": " + failure.reason);
  }
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  if (IsJpeg(bytes)) {
    bool too_large = false;
    if (!DecodeJpeg(bytes, max_side, width, height, pixels, problem, too_large)) {
      return fail(too_large ? PictureFault::kTooLarge : PictureFault::kBroken, path + " is " + problem);
    }
    picture = ScaleDown(width, height, pixels, false, max_side);
    return true;
  }
  if (ReadPngSize(bytes.data(), bytes.size(), width, height)) {
    if (static_cast<std::int64_t>(width) * height > kMaxPngPixels) {
      return fail(PictureFault::kTooLarge, path + " has more than " + std::to_string(kMaxPngPixels) + " pixels");
    }
    if (DecodePng(bytes.data(), bytes.size(), width, height, pixels)) {
      picture = ScaleDown(width, height, pixels, true, max_side);
      return true;
    }
    return fail(PictureFault::kBroken, path + " is not a PNG that decodes");
  }
  return fail(PictureFault::kNotAPicture, path + " is neither a PNG nor a JPEG picture");
}

bool IsPictureFile(const std::string& path) {
  std::string bytes;
  FileError failure;
  if (!ReadFileStart(path, 64, &bytes, &failure, true)) return false;
  int width = 0, height = 0;
  return IsJpeg(bytes) || ReadPngSize(bytes.data(), bytes.size(), width, height);
}
