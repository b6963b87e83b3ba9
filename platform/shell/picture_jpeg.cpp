// JPEG pictures through libjpeg-turbo, within its own memory limit, with a
// progress monitor that bounds the scans and the time, scaled down by the
// library while it decodes (1/2, 1/4 or 1/8).
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/shell/picture_decoding.h"

namespace {

struct JpegState {
  jpeg_error_mgr errors;
  jpeg_source_mgr source;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  PictureSource* file;
  const DecodeBounds* bounds;
  // Why the decoding stopped, when it did.
  PictureFault fault;
  char why[JMSG_LENGTH_MAX + 64];
  // The output rows whose data is in the file: all, until the data is
  // found cut or damaged in the middle of the iMCU row then decoded.
  JDIMENSION good_rows;
  int rows_per_imcu_row;
};

JpegState& StateOf(j_common_ptr info) { return *static_cast<JpegState*>(info->client_data); }

[[noreturn]] void Stop(j_common_ptr info, PictureFault fault, const char* why) {
  JpegState& state = StateOf(info);
  state.fault = fault;
  std::snprintf(state.why, sizeof state.why, "%s", why);
  std::longjmp(state.jump, 1);
}

void Failed(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, message);
  // Past the memory limit, the library asks for a backing store it does not have.
  if (info->err->msg_code == JERR_NO_BACKING_STORE) {
    char why[JMSG_LENGTH_MAX + 64];
    std::snprintf(why, sizeof why, "needs more than %ld MB to decode", kMaxJpegDecoderBytes >> 20);
    Stop(info, PictureFault::kTooLarge, why);
  }
  char why[JMSG_LENGTH_MAX + 64];
  std::snprintf(why, sizeof why, "is not a JPEG that decodes: %s", message);
  Stop(info, PictureFault::kBroken, why);
}

// A warning that the data is cut or damaged: no row from here on counts.
// A progressive file spreads each row over all its scans, so none does.
void Warned(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace messages
  switch (info->err->msg_code) {
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
      break;
    default:
      return;  // the picture's data is whole
  }
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  JpegState& state = StateOf(info);
  if (d->progressive_mode) Stop(info, PictureFault::kBroken, "is a damaged or cut progressive JPEG");
  const JDIMENSION good = d->input_iMCU_row * static_cast<JDIMENSION>(state.rows_per_imcu_row);
  if (good < state.good_rows) state.good_rows = good;
}

void Progressed(j_common_ptr info) {
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->input_scan_number > kMaxJpegScans) {
    char why[64];
    std::snprintf(why, sizeof why, "has more than %d scans", kMaxJpegScans);
    Stop(info, PictureFault::kTooSlow, why);
  }
  PictureFault fault;
  const char* why = nullptr;
  if (StateOf(info).bounds->Passed(&fault, &why)) Stop(info, fault, why);
}

void InitSource(j_decompress_ptr) {}

boolean FillSource(j_decompress_ptr info) {
  JpegState& state = StateOf(reinterpret_cast<j_common_ptr>(info));
  PictureSource& file = *state.file;
  long got = static_cast<long>(file.pending);
  file.pending = 0;
  if (got == 0) got = file.file.Read(file.buffer, sizeof file.buffer);
  if (got <= 0) {
    // As the library's own sources do: a warning, then an end of picture.
    WARNMS(info, JWRN_JPEG_EOF);
    file.buffer[0] = 0xFF;
    file.buffer[1] = JPEG_EOI;
    got = 2;
  }
  info->src->next_input_byte = file.buffer;
  info->src->bytes_in_buffer = static_cast<std::size_t>(got);
  return TRUE;
}

void SkipSource(j_decompress_ptr info, long count) {
  while (count > 0) {
    if (info->src->bytes_in_buffer == 0) FillSource(info);
    const std::size_t step = static_cast<std::size_t>(count) < info->src->bytes_in_buffer
                                 ? static_cast<std::size_t>(count)
                                 : info->src->bytes_in_buffer;
    info->src->next_input_byte += step;
    info->src->bytes_in_buffer -= step;
    count -= static_cast<long>(step);
  }
}

void TermSource(j_decompress_ptr) {}

// The rows decoded into `shrinker`, as RGBA; `row` and `rgba` hold one row.
void ReadRows(jpeg_decompress_struct& info, JpegState& state, PictureShrinker& shrinker, JSAMPARRAY row,
              JSAMPLE* rgba) {
  const bool cmyk = info.out_color_space == JCS_CMYK;
  const int channels = info.output_components;
  const int width = static_cast<int>(info.output_width);
  while (info.output_scanline < info.output_height && info.output_scanline < state.good_rows) {
    PictureFault fault;
    const char* why = nullptr;
    if (state.bounds->Passed(&fault, &why)) Stop(reinterpret_cast<j_common_ptr>(&info), fault, why);
    const int y = static_cast<int>(info.output_scanline);
    jpeg_read_scanlines(&info, row, 1);
    // A warning while this row was decoded may have cut it off.
    if (static_cast<JDIMENSION>(y) >= state.good_rows) break;
    for (int x = 0; x < width; ++x) {
      const JSAMPLE* p = row[0] + x * channels;
      JSAMPLE* out = rgba + 4 * x;
      if (cmyk) {
        // Stored inverted, as the common writers of CMYK JPEG files do.
        const unsigned k = p[3];
        for (int c = 0; c < 3; ++c) out[c] = static_cast<JSAMPLE>(p[c] * k / 255);
      } else {
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
      }
      out[3] = 255;
    }
    shrinker.Add(y, 0, 1, rgba, width);
  }
}

// The decoder reads through `state`'s source, within its memory bound and
// under its progress monitor.
void Connect(jpeg_decompress_struct& info, JpegState& state) {
  info.client_data = &state;
  info.mem->max_memory_to_use = kMaxJpegDecoderBytes;
  state.progress.progress_monitor = Progressed;
  info.progress = &state.progress;
  state.source.init_source = InitSource;
  state.source.fill_input_buffer = FillSource;
  state.source.skip_input_data = SkipSource;
  state.source.resync_to_restart = jpeg_resync_to_restart;
  state.source.term_source = TermSource;
  info.src = &state.source;
}

// Refuses a picture of too many pixels; else the smallest scale that keeps
// `max_side`, and RGB (or CMYK) rows out. Jumps back through Stop.
void ChooseOutput(jpeg_decompress_struct& info, JpegState& state, int max_side) {
  const std::int64_t pixels = std::int64_t{info.image_width} * info.image_height;
  if (pixels > kMaxJpegPixels) {
    char why[160];
    std::snprintf(why, sizeof why, "is a picture of %u x %u pixels, more than the %lld that are read",
                  info.image_width, info.image_height, static_cast<long long>(kMaxJpegPixels));
    Stop(reinterpret_cast<j_common_ptr>(&info), PictureFault::kTooLarge, why);
  }
  const unsigned longest = info.image_width > info.image_height ? info.image_width : info.image_height;
  info.scale_num = 1;
  info.scale_denom = 1;
  while (info.scale_denom < 8 && max_side > 0 && longest / (info.scale_denom * 2) >= static_cast<unsigned>(max_side)) {
    info.scale_denom *= 2;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_calc_output_dimensions(&info);
#if JPEG_LIB_VERSION >= 70
  state.rows_per_imcu_row = info.max_v_samp_factor * info.min_DCT_v_scaled_size;
#else
  state.rows_per_imcu_row = info.max_v_samp_factor * info.min_DCT_scaled_size;
#endif
}

}  // namespace

bool DecodeJpegFile(PictureSource& source, int max_side, Picture& picture, PictureFault& fault,
                    std::string& problem) {
  const DecodeBounds bounds;
  jpeg_decompress_struct info;
  JpegState state;
  std::memset(&state, 0, sizeof state);
  state.file = &source;
  state.bounds = &bounds;
  state.good_rows = ~JDIMENSION{0};
  info.err = jpeg_std_error(&state.errors);
  state.errors.error_exit = Failed;
  state.errors.emit_message = Warned;
  // Made before setjmp, so that a jump back finds them whole.
  PictureShrinker* volatile shrinker = nullptr;
  if (setjmp(state.jump) != 0) {
    delete shrinker;
    jpeg_destroy_decompress(&info);
    fault = state.fault;
    problem = state.why;
    return false;
  }
  jpeg_create_decompress(&info);
  Connect(info, state);
  jpeg_read_header(&info, TRUE);
  ChooseOutput(info, state, max_side);
  // A progressive file is read whole here, under the progress monitor.
  jpeg_start_decompress(&info);
  shrinker = new PictureShrinker(static_cast<int>(info.output_width), static_cast<int>(info.output_height), max_side);
  const JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                   info.output_width * static_cast<JDIMENSION>(info.output_components), 1);
  JSAMPLE* rgba = static_cast<JSAMPLE*>((*info.mem->alloc_large)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                                 std::size_t{info.output_width} * 4));
  ReadRows(info, state, *shrinker, row, rgba);
  if (shrinker->empty()) Stop(reinterpret_cast<j_common_ptr>(&info), PictureFault::kBroken, "is cut or damaged before its first row");
  picture = shrinker->Finish();
  delete shrinker;
  shrinker = nullptr;
  // What follows the rows read is not needed.
  jpeg_destroy_decompress(&info);
  return true;
}
