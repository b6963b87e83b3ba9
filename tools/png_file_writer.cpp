#include "tools/png_file_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

struct Output {
  std::vector<unsigned char> bytes;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Output*>(png_get_io_ptr(png));
  out->bytes.insert(out->bytes.end(), data, data + length);
}

void NoFlush(png_structp) {}

void PutWord(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v >> 24);
  p[1] = static_cast<unsigned char>(v >> 16);
  p[2] = static_cast<unsigned char>(v >> 8);
  p[3] = static_cast<unsigned char>(v);
}

// The sRGB chromaticities with the D65 white point, in units of 1/100000.
void ChrmPayload(unsigned char (&p)[32]) {
  const std::uint32_t values[8] = {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};
  for (int i = 0; i < 8; ++i) PutWord(p + 4 * i, values[i]);
}

// Encodes into `out`; false on a libpng error. Kept free of objects with
// destructors, since libpng leaves through longjmp.
bool Encode(const RgbaImage& image, PngInterlace interlace, png_bytepp rows, Output* out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, AppendBytes, NoFlush);
  png_set_compression_level(png, 9);
  // One IDAT: the compression buffer holds the whole stream, so libpng never
  // has to cut it into several chunks.
  const png_size_t raw = static_cast<png_size_t>(image.height) * (1 + image.width * 4);
  png_set_compression_buffer_size(png, raw + raw / 8 + 4096);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               interlace == PngInterlace::Adam7 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(png, info, 2835, 2835, PNG_RESOLUTION_METER);
  png_write_info(png, info);  // IHDR, then pHYs
  unsigned char chrm[32];
  ChrmPayload(chrm);
  png_write_chunk(png, reinterpret_cast<png_const_bytep>("cHRM"), chrm, sizeof chrm);
  png_write_image(png, rows);  // handles the Adam7 passes itself
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePngFile(const std::string& path, const RgbaImage& image, PngInterlace interlace,
                  std::string* error) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
    if (error) *error = path + ": empty or inconsistent picture";
    return false;
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(image.At(0, y));
  }
  Output out;
  if (!Encode(image, interlace, rows.data(), &out)) {
    if (error) *error = path + ": PNG encoding failed";
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    if (error) *error = path + ": cannot open for writing";
    return false;
  }
  const bool written = std::fwrite(out.bytes.data(), 1, out.bytes.size(), file) == out.bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    if (error) *error = path + ": write failed";
    return false;
  }
  return true;
}
