#include "tests/resources/png_inspector.h"

#include <png.h>
#include <zlib.h>

#include <cstring>

#include "platform/win/resources.h"

namespace {

std::uint32_t ReadWord(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

struct Source {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t offset;
};

void ReadFromSource(png_structp png, png_bytep out, png_size_t length) {
  auto* src = static_cast<Source*>(png_get_io_ptr(png));
  if (src->size - src->offset < length) png_error(png, "read past the end");
  std::memcpy(out, src->data + src->offset, length);
  src->offset += length;
}

// Plain-data decode, libpng leaves through longjmp on errors.
bool Decode(Source* src, DecodedPng* out, std::vector<png_bytep>* rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, src, ReadFromSource);
  png_read_info(png, info);
  out->width = static_cast<int>(png_get_image_width(png, info));
  out->height = static_cast<int>(png_get_image_height(png, info));
  out->bit_depth = png_get_bit_depth(png, info);
  out->color_type = png_get_color_type(png, info);
  out->interlace = png_get_interlace_type(png, info);
  if (out->bit_depth != 8 || out->color_type != PNG_COLOR_TYPE_RGB_ALPHA || out->width <= 0 ||
      out->height <= 0 || out->width > 4096 || out->height > 4096) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  out->rgba.assign(static_cast<std::size_t>(out->width) * out->height * 4, 0);
  rows->resize(static_cast<std::size_t>(out->height));
  for (int y = 0; y < out->height; ++y) {
    (*rows)[static_cast<std::size_t>(y)] = &out->rgba[static_cast<std::size_t>(y) * out->width * 4];
  }
  png_read_image(png, rows->data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

std::vector<std::uint8_t> Resource(HMODULE module, int id) {
  HRSRC info = FindResourceExW(module, RT_RCDATA, MAKEINTRESOURCEW(id), LANG_ZH_CN);
  if (info == nullptr) return {};
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, info)));
  if (data == nullptr) return {};
  return std::vector<std::uint8_t>(data, data + SizeofResource(module, info));
}

}  // namespace

std::vector<PngChunk> ListPngChunks(const std::uint8_t* data, std::size_t size) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<PngChunk> chunks;
  if (size < 8 || std::memcmp(data, kSignature, 8) != 0) return chunks;
  std::size_t at = 8;
  while (size - at >= 12) {
    const std::uint32_t length = ReadWord(data + at);
    if (length > size - at - 12) break;
    PngChunk chunk;
    chunk.type.assign(reinterpret_cast<const char*>(data + at + 4), 4);
    chunk.payload.assign(data + at + 8, data + at + 8 + length);
    const std::uint32_t stored = ReadWord(data + at + 8 + length);
    const uLong computed = crc32(0, data + at + 4, length + 4);
    chunk.crc_ok = stored == computed;
    chunks.push_back(std::move(chunk));
    at += 12 + length;
  }
  return chunks;
}

DecodedPng DecodePng(const std::uint8_t* data, std::size_t size) {
  DecodedPng out;
  Source src{data, size, 0};
  std::vector<png_bytep> rows;
  out.ok = Decode(&src, &out, &rows);
  if (!out.ok) out.error = "libpng could not decode it as 8-bit RGBA";
  return out;
}

std::vector<std::uint8_t> ProgramResource(int id) { return Resource(ProgramModuleHandle(), id); }

std::vector<std::uint8_t> PlatformResource(int id) {
  return Resource(PlatformResourceModuleHandle(), id);
}
