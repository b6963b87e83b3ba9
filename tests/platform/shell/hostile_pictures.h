// Pictures that attack a decoder, made in memory by the tests themselves:
// bombs that declare far more pixels than they hold, endless progressive
// scans, cut files, pictures that are valid but enormous.
#pragma once

#include <cstdint>
#include <string>

namespace hostile {

// A progressive JPEG declaring `side` x `side` pixels of three components
// (4:2:0 when `subsampled`) in a few hundred bytes: a small picture's
// header with its size changed, so nearly all of its data is missing.
std::string DeclaredHugeJpeg(int side, bool subsampled, bool progressive = true);

// A progressive grey JPEG of `side` x `side` whose one DC scan is followed by
// `scans` more scans of the same kind, each a few bytes.
std::string EndlessScansJpeg(int side, int scans);

// A progressive grey JPEG of `side` x `side` (a multiple of 8, at most 1024)
// whose DC scan is followed by `scans` whole AC scans, each two bytes of
// data that end every block at once: valid, and cheap per scan.
std::string ManyScansJpeg(int side, int scans);

// A baseline colour JPEG of a smooth "plasma" (every hue, no grey), 512 x 512.
std::string PlasmaJpeg();

// A PNG of `width` x `height` one-bit pixels, all black, valid and whole
// (its data deflated, a few KB for 8000 x 8000).
std::string OneBitPng(std::uint32_t width, std::uint32_t height);

// An 8-bit RGBA PNG of one colour (0xAARRGGBB, straight alpha), 64 x 64.
std::string SeeThroughPng(std::uint32_t argb);

// An 8-bit RGB PNG of `height` rows, red above `red_rows` and blue below,
// its data stored uncompressed (so a file cut at a share of its length
// keeps about that share of its rows), `width` pixels wide.
std::string RedOverBluePng(std::uint32_t width, std::uint32_t height, std::uint32_t red_rows);

// An RGBA PNG in four quadrants of the colours `argb` (top left, top right,
// bottom left, bottom right), interlaced (Adam7) when asked.
std::string QuadrantPng(std::uint32_t width, std::uint32_t height, const std::uint32_t argb[4], bool interlaced);

// Writes `bytes` to `path`, then grows the file (sparse) to `size` bytes
// when `size` is larger. False when it cannot be written.
bool WriteFile(const std::string& path, const std::string& bytes, std::uint64_t size = 0);

}  // namespace hostile
