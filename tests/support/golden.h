// Golden screenshots: compares a picture with a reference PNG in tests/golden
// channel by channel within a tolerance, letting through a few glyph-edge
// pixels a shade lighter or darker (font rasterisers of
// different releases). A missing reference fails unless the
// run sets TINTOR_RECORD_GOLDEN=1, which writes (or rewrites) it. A failing
// compare writes NAME.actual.png and NAME.diff.png under the build's
// golden-out folder and names the first bad pixel.
#pragma once

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

// 0x00RRGGBB rows, `stride` bytes apart. `name` is relative to tests/golden,
// e.g. "platform/toolbar.png".
::testing::AssertionResult MatchesGolden(const std::uint32_t* pixels, int width, int height,
                                         int stride, const std::string& name,
                                         int tolerance = 10);

// Where the references live and where failures are written.
std::string GoldenDir();
std::string GoldenOutDir();
