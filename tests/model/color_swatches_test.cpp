// The swatch table: ids, colours passed as whole 32-bit values, grid cells.
#include "model/color_swatches.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::set<int> SwatchIds() {
  std::set<int> ids;
  for (int id = 102; id <= 121; ++id) ids.insert(id);
  for (int id = 123; id <= 164; ++id) ids.insert(id);
  for (int id = 167; id <= 169; ++id) ids.insert(id);
  return ids;
}

TEST(ColorSwatches, ExactlyTheSwatchIdsYieldASwatchWithTheirOwnImage) {
  const std::set<int> ids = SwatchIds();
  ASSERT_EQ(ids.size(), kColorSwatchCount);
  for (int id = -5; id <= 300; ++id) {
    const ColorSwatch* s = FindColorSwatch(id);
    if (ids.count(id) != 0) {
      ASSERT_NE(s, nullptr) << id;
      EXPECT_EQ(s->control_id, id);
      EXPECT_EQ(s->image_id, id);
    } else {
      EXPECT_EQ(s, nullptr) << id;
    }
  }
  for (int id : {101, 122, 165, 166, 170, 201, 0x10000 + 102}) EXPECT_EQ(FindColorSwatch(id), nullptr) << id;
}

TEST(ColorSwatches, EdgeColoursKeepAll32Bits) {
  struct Case {
    int id;
    std::uint32_t color;
    BYTE r, g, b, top;
  };
  const Case cases[] = {
      {102, 0x00000000u, 0, 0, 0, 0},        {103, 0x0000009Cu, 156, 0, 0, 0},
      {163, 0x00FFFFFFu, 255, 255, 255, 0},  {164, 0x00ECECECu, 236, 236, 236, 0},
      {167, 0x0338FAA2u, 162, 250, 56, 3},   {168, 0x04338D5Eu, 94, 141, 51, 4},
      {169, 0x059D5D9Au, 154, 93, 157, 5},   {121, 0x005C4033u, 51, 64, 92, 0},
      {123, 0x006B238Eu, 142, 35, 107, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const ColorSwatch* s = FindColorSwatch(c.id);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->color, c.color);
    EXPECT_EQ(GetRValue(s->color), c.r);
    EXPECT_EQ(GetGValue(s->color), c.g);
    EXPECT_EQ(GetBValue(s->color), c.b);
    EXPECT_EQ(s->color >> 24, c.top);
  }
  EXPECT_EQ(FindColorSwatch(167)->color, 54065826u);
  EXPECT_EQ(FindColorSwatch(168)->color, 70487390u);
  EXPECT_EQ(FindColorSwatch(169)->color, 94199194u);
  EXPECT_EQ(FindColorSwatch(164)->color, 15527148u);
}

TEST(ColorSwatches, OnlyTheLastThreeHaveATopByteAndTheOthersRiseWithTheirId) {
  std::uint32_t previous = 0;
  bool first = true;
  for (const ColorSwatch& s : kColorSwatches) {
    SCOPED_TRACE(s.control_id);
    if (s.control_id >= 167) {
      EXPECT_EQ(s.color >> 24, static_cast<std::uint32_t>(s.control_id - 164));
      continue;
    }
    EXPECT_EQ(s.color >> 24, 0u);
    if (s.control_id == 164) continue;
    if (!first) {
      EXPECT_GT(s.color, previous);
    }
    previous = s.color;
    first = false;
  }
  EXPECT_EQ(previous, 0x00FFFFFFu);
}

TEST(ColorSwatches, GridIsSixteenRowsOfFourThenOneCentred) {
  for (std::size_t i = 0; i < 64; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(kColorSwatches[i].row, static_cast<int>(i / 4));
    EXPECT_EQ(kColorSwatches[i].column, static_cast<int>(i % 4));
  }
  EXPECT_EQ(kColorSwatches[64].control_id, 164);
  EXPECT_EQ(kColorSwatches[64].row, 16);
  EXPECT_EQ(kColorSwatches[64].column, -1);
  // Ids run upwards in grid order from 102, skipping 122, up to 163 at row 15 column 0.
  int expected = 102;
  for (std::size_t i = 0; i < 61; ++i) {
    if (expected == 122) ++expected;
    EXPECT_EQ(kColorSwatches[i].control_id, expected) << i;
    ++expected;
  }
  const ColorSwatch* s163 = FindColorSwatch(163);
  const ColorSwatch* s167 = FindColorSwatch(167);
  EXPECT_EQ(s163->row, 15);
  EXPECT_EQ(s163->column, 0);
  EXPECT_EQ(s167->row, 15);
  EXPECT_EQ(s167->column, 1);
  EXPECT_EQ(FindColorSwatch(168)->column, 2);
  EXPECT_EQ(FindColorSwatch(169)->column, 3);
}

}  // namespace
