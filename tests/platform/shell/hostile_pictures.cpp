#include "tests/platform/shell/hostile_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace hostile {
namespace {

// A small picture through libjpeg, into memory.
std::string EncodeJpeg(int width, int height, int components, bool progressive, bool subsampled,
                       std::uint32_t (*colour)(int x, int y)) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  if (components == 3) {
    info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = subsampled ? 2 : 1;
  }
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * components);
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = colour(x, y);
      if (components == 1) {
        row[x] = static_cast<JSAMPLE>(c & 0xFF);
      } else {
        row[x * 3] = static_cast<JSAMPLE>(c >> 16);
        row[x * 3 + 1] = static_cast<JSAMPLE>(c >> 8);
        row[x * 3 + 2] = static_cast<JSAMPLE>(c);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

// Puts `width` x `height` in the frame header (SOF0 or SOF2) of `jpeg`.
void SetJpegSize(std::string& jpeg, int width, int height) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    const auto m = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (m == 0xC0 || m == 0xC2)) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width);
      return;
    }
  }
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
  const std::uint32_t n = static_cast<std::uint32_t>(data.size());
  for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>(n >> shift);
  std::string body = std::string(type, 4) + data;
  png += body;
  const std::uint32_t crc =
      static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
  for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>(crc >> shift);
}

std::string Be32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// A PNG whose rows come from `row(y, bytes)`, deflated as they come.
template <typename Row>
std::string MakePng(std::uint32_t width, std::uint32_t height, int depth, int colour_type, std::size_t row_bytes,
                    Row row, int level = 9) {
  std::string png("\x89PNG\r\n\x1A\n", 8);
  PutChunk(png, "IHDR", Be32(width) + Be32(height) + std::string{static_cast<char>(depth),
                                                                static_cast<char>(colour_type), 0, 0, 0});
  z_stream z{};
  deflateInit(&z, level);
  std::string idat;
  std::vector<unsigned char> line(row_bytes + 1), out(1 << 16);
  for (std::uint32_t y = 0; y < height; ++y) {
    line[0] = 0;  // no filter
    row(y, line.data() + 1);
    z.next_in = line.data();
    z.avail_in = static_cast<uInt>(line.size());
    const int flush = y + 1 == height ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      deflate(&z, flush);
      idat.append(reinterpret_cast<const char*>(out.data()), out.size() - z.avail_out);
    } while (z.avail_out == 0 || (flush == Z_FINISH && z.avail_in > 0));
  }
  deflateEnd(&z);
  PutChunk(png, "IDAT", idat);
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace

std::string DeclaredHugeJpeg(int side, bool subsampled, bool progressive) {
  std::string jpeg = EncodeJpeg(16, 16, 3, progressive, subsampled, [](int x, int y) {
    return static_cast<std::uint32_t>(x * 16) << 16 | static_cast<std::uint32_t>(y * 16) << 8 | 0x40u;
  });
  SetJpegSize(jpeg, side, side);
  return jpeg;
}

std::string EndlessScansJpeg(int side, int scans) {
  std::string jpeg = EncodeJpeg(8, 8, 1, true, false, [](int, int) { return 0x80u; });
  SetJpegSize(jpeg, side, side);
  // The first scan (DC, first pass) again and again before the end: an empty
  // scan header, then no data.
  const std::string scan("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00", 10);
  const std::size_t end = jpeg.size() - 2;
  std::string more;
  for (int i = 0; i < scans; ++i) more += scan;
  jpeg.insert(end, more);
  return jpeg;
}

std::string ManyScansJpeg(int side, int scans) {
  // One quantisation table of ones; one DC and one AC Huffman table, each of
  // a single one-bit code: DC difference 0, and an end-of-band run of 2^14.
  std::string jpeg("\xFF\xD8", 2);
  jpeg += std::string("\xFF\xDB\x00\x43\x00", 5) + std::string(64, '\x01');
  jpeg += std::string("\xFF\xC2\x00\x0B\x08", 5) + static_cast<char>(side >> 8) + static_cast<char>(side) +
          static_cast<char>(side >> 8) + static_cast<char>(side) + std::string("\x01\x01\x11\x00", 4);
  const std::string counts = std::string(1, '\x01') + std::string(15, '\0');
  jpeg += std::string("\xFF\xC4\x00\x14\x00", 5) + counts + std::string(1, '\x00');
  jpeg += std::string("\xFF\xC4\x00\x14\x10", 5) + counts + std::string(1, '\xE0');
  // The DC scan: one zero bit a block.
  const int blocks = (side / 8) * (side / 8);
  jpeg += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00", 10) + std::string((blocks + 7) / 8, '\0');
  // Each AC scan: the run code (0), 14 bits that add nothing to the run of
  // 2^14 blocks (enough for 1024 x 1024), and a one bit of padding.
  for (int i = 0; i < scans; ++i) {
    jpeg += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x01\x3F\x00\x00\x01", 12);
  }
  jpeg += std::string("\xFF\xD9", 2);
  return jpeg;
}

std::string PlasmaJpeg() {
  return EncodeJpeg(512, 512, 3, false, false, [](int x, int y) {
    const double h = std::fmod((std::sin(x / 40.0) + std::cos(y / 31.0) + 2) * 3, 6);
    const int i = static_cast<int>(h);
    const auto f = static_cast<std::uint32_t>((h - i) * 255);
    const std::uint32_t up = f, down = 255 - f;
    const std::uint32_t rgb[6][3] = {{255, up, 0}, {down, 255, 0}, {0, 255, up},
                                     {0, down, 255}, {up, 0, 255}, {255, 0, down}};
    return rgb[i][0] << 16 | rgb[i][1] << 8 | rgb[i][2];
  });
}

std::string OneBitPng(std::uint32_t width, std::uint32_t height) {
  const std::size_t row_bytes = (width + 7) / 8;
  return MakePng(width, height, 1, 0, row_bytes, [row_bytes](std::uint32_t, unsigned char* row) {
    std::fill(row, row + row_bytes, 0);
  });
}

std::string SeeThroughPng(std::uint32_t argb) {
  return MakePng(64, 64, 8, 6, 64 * 4, [argb](std::uint32_t, unsigned char* row) {
    for (int x = 0; x < 64; ++x) {
      row[x * 4] = static_cast<unsigned char>(argb >> 16);
      row[x * 4 + 1] = static_cast<unsigned char>(argb >> 8);
      row[x * 4 + 2] = static_cast<unsigned char>(argb);
      row[x * 4 + 3] = static_cast<unsigned char>(argb >> 24);
    }
  });
}

std::string RedOverBluePng(std::uint32_t width, std::uint32_t height, std::uint32_t red_rows) {
  return MakePng(width, height, 8, 2, std::size_t{width} * 3, [width, red_rows](std::uint32_t y, unsigned char* row) {
    for (std::uint32_t x = 0; x < width; ++x) {
      row[x * 3] = y < red_rows ? 255 : 0;
      row[x * 3 + 1] = 0;
      row[x * 3 + 2] = y < red_rows ? 0 : 255;
    }
  }, 0);
}

namespace {
void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void Flush(png_structp) {}
}  // namespace

std::string QuadrantPng(std::uint32_t width, std::uint32_t height, const std::uint32_t argb[4], bool interlaced) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<unsigned char> pixels(std::size_t{width} * height * 4);
  std::vector<png_bytep> rows(height);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, Append, Flush);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  for (std::uint32_t y = 0; y < height; ++y) {
    rows[y] = pixels.data() + std::size_t{y} * width * 4;
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::uint32_t c = argb[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
      unsigned char* p = rows[y] + x * 4;
      p[0] = static_cast<unsigned char>(c >> 16);
      p[1] = static_cast<unsigned char>(c >> 8);
      p[2] = static_cast<unsigned char>(c);
      p[3] = static_cast<unsigned char>(c >> 24);
    }
  }
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool WriteFile(const std::string& path, const std::string& bytes, std::uint64_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  if (ok && size > bytes.size()) ok = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  return ::close(fd) == 0 && ok;
}

}  // namespace hostile
