// PNG pictures through libpng, row by row (each pass of an interlaced one
// as it comes) into the shrinker, within libpng's user limits: never the
// whole picture in memory.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <png.h>

#include "platform/shell/picture_decoding.h"

namespace {

// The widest and tallest picture libpng is to read, and the most an
// ancillary chunk may take (a text or colour profile, inflated).
constexpr png_uint_32 kMaxPngSide = 1u << 16;
constexpr png_alloc_size_t kMaxPngChunkBytes = 1u << 20;

struct PngState {
  PictureSource* file;
  PictureFault fault;
  char why[200];
};

[[noreturn]] void Stop(png_structp png, PictureFault fault, const char* why) {
  auto* state = static_cast<PngState*>(png_get_error_ptr(png));
  state->fault = fault;
  std::snprintf(state->why, sizeof state->why, "%s", why);
  png_longjmp(png, 1);
}

void Failed(png_structp png, png_const_charp message) {
  char why[200];
  std::snprintf(why, sizeof why, "is not a PNG that decodes: %s", message);
  Stop(png, PictureFault::kBroken, why);
}

void Warned(png_structp, png_const_charp) {}  // what is whole still decodes

void ReadSome(png_structp png, png_bytep out, png_size_t length) {
  auto* state = static_cast<PngState*>(png_get_error_ptr(png));
  PictureSource& file = *state->file;
  while (length > 0) {
    if (file.pending > 0) {
      // The first bytes, read already to tell what the file is.
      const std::size_t step = length < file.pending ? length : file.pending;
      std::memcpy(out, file.buffer, step);
      std::memmove(file.buffer, file.buffer + step, file.pending - step);
      file.pending -= step;
      out += step;
      length -= step;
      continue;
    }
    const long got = file.file.Read(out, length);
    if (got < 0) Stop(png, PictureFault::kUnreadable, "cannot be read to its end");
    if (got == 0) png_error(png, "the file ends before the picture does");
    out += got;
    length -= static_cast<png_size_t>(got);
  }
}

// Every row of the picture into `shrinker`, through `row` (a row's width of
// RGBA). Jumps back through Stop when a bound is passed.
void ReadPasses(png_structp png, png_infop info, const DecodeBounds& bounds, PictureShrinker& shrinker,
                png_bytep row) {
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  // Without libpng's interlace handling, an interlaced picture comes as its
  // seven passes, each a small picture of every so many pixels.
  const bool interlaced = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;
  for (int pass = 0; pass < (interlaced ? 7 : 1); ++pass) {
    const png_uint_32 columns = interlaced ? PNG_PASS_COLS(width, pass) : width;
    const png_uint_32 rows = interlaced ? PNG_PASS_ROWS(height, pass) : height;
    if (columns == 0 || rows == 0) continue;
    const int x0 = interlaced ? PNG_PASS_START_COL(pass) : 0;
    const int dx = interlaced ? 1 << PNG_PASS_COL_SHIFT(pass) : 1;
    for (png_uint_32 r = 0; r < rows; ++r) {
      const char* why = nullptr;
      PictureFault stop;
      if (bounds.Passed(&stop, &why)) Stop(png, stop, why);
      png_read_row(png, row, nullptr);
      const int y = interlaced ? static_cast<int>(PNG_ROW_FROM_PASS_ROW(r, pass)) : static_cast<int>(r);
      shrinker.Add(y, x0, dx, row, static_cast<int>(columns));
    }
  }
}

}  // namespace

bool DecodePngFile(PictureSource& source, int max_side, Picture& picture, PictureFault& fault,
                   std::string& problem) {
  const DecodeBounds bounds;
  PngState state{&source, PictureFault::kBroken, ""};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, Failed, Warned);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    fault = PictureFault::kTooLarge;
    problem = "cannot be decoded: out of memory";
    return false;
  }
  // Made before setjmp, so that a jump back finds them whole.
  PictureShrinker* volatile shrinker = nullptr;
  png_bytep volatile row = nullptr;
  if (setjmp(png_jmpbuf(png)) != 0) {
    // The rows read before the damage are the picture.
    const bool some = shrinker != nullptr && !shrinker->empty() && state.fault == PictureFault::kBroken;
    if (some) picture = shrinker->Finish();
    delete shrinker;
    delete[] row;
    png_destroy_read_struct(&png, &info, nullptr);
    if (some) return true;
    fault = state.fault;
    problem = state.why;
    return false;
  }
  png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
  png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
  png_set_read_fn(png, nullptr, ReadSome);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (std::int64_t{width} * height > kMaxPngPixels) {
    char why[160];
    std::snprintf(why, sizeof why, "is a picture of %u x %u pixels, more than the %lld that are read", width, height,
                  static_cast<long long>(kMaxPngPixels));
    Stop(png, PictureFault::kTooLarge, why);
  }
  // Every kind of PNG as 8-bit RGBA, straight alpha.
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  shrinker = new PictureShrinker(static_cast<int>(width), static_cast<int>(height), max_side);
  row = new png_byte[std::size_t{width} * 4];
  ReadPasses(png, info, bounds, *shrinker, row);
  // What follows the rows is not needed.
  picture = shrinker->Finish();
  delete shrinker;
  delete[] row;
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}
