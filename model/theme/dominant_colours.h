// The colours a picture is mostly made of, found in CIELAB and ranked as a
// theme's source: by how much of the picture each covers and how clear a
// colour it is. A clear colour that covers a fair part of the picture always
// ranks above the greys of a photo. The same pixels always give the same
// colours, in the same order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/checks/colour_science.h"
#include "platform/win/win_types.h"

// A colour is clear with at least this chroma (CIE LCh); a fair part is at
// least this share of the picture's opaque pixels.
inline constexpr double kClearChroma = 15;
inline constexpr double kFairShare = 0.05;
// A picture is scaled down to at most this many pixels a side before its
// colours are found, on the command line and in the window alike: one
// picture gives one source.
inline constexpr int kPictureSide = 256;

struct DominantColour {
  COLORREF color = 0;
  LchColour lch;
  double share = 0;  // of the opaque pixels, 0 to 1
  bool clear = false;  // clear, and over a fair part
};

// `count` pixels (0xAARRGGBB, straight alpha; those mostly transparent left
// out), best source first; empty when no pixel is opaque enough.
std::vector<DominantColour> FindDominantColours(const std::uint32_t* pixels, std::size_t count);
