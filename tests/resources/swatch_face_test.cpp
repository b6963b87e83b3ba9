// The 65 swatch faces: the exact fill inside, the frames round it, and the
// fill as a preview of the swatch's colour value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <vector>

#include "model/color_swatches.h"
#include "tests/resources/png_inspector.h"

namespace {

constexpr int kSize = 80;
constexpr int kFrame = 5;

// The fill every face shows, 0xRRGGBB, by resource id.
const std::map<int, std::uint32_t>& Fills() {
  static const std::map<int, std::uint32_t> fills = {
      {102, 0x000000}, {103, 0xA80008}, {104, 0xFF0000}, {105, 0x00FF0C}, {106, 0xFCFF00},
      {107, 0x088402}, {108, 0x118114}, {109, 0x381707}, {110, 0x082B01}, {111, 0x3B3D03},
      {112, 0x0FD000}, {113, 0x8BD81C}, {114, 0x066801}, {115, 0x555A1D}, {116, 0xDF242C},
      {117, 0x030037}, {118, 0x0F3928}, {119, 0x333425}, {120, 0x050D4B}, {121, 0x01142D},
      {123, 0x96015C}, {124, 0xC26623}, {125, 0x75DA12}, {126, 0xF8F66E}, {127, 0xFF0048},
      {128, 0x29FC3C}, {129, 0x082C42}, {130, 0x4D3651}, {131, 0x86185B}, {132, 0x044146},
      {133, 0x0D006E}, {134, 0x975469}, {135, 0xFF92B1}, {136, 0x10FA8E}, {137, 0x153A52},
      {138, 0xD30566}, {139, 0x860478}, {140, 0x1B6C69}, {141, 0x03335C}, {142, 0x537985},
      {143, 0x8D8E8C}, {144, 0x007785}, {145, 0xA5A5A6}, {146, 0xC4C4C4}, {147, 0x012A91},
      {148, 0x069085}, {149, 0x495486}, {150, 0x00C1BA}, {151, 0x6C516F}, {152, 0xFE27FB},
      {153, 0x0AB47E}, {154, 0x0000E8}, {155, 0x6C8DA0}, {156, 0x6BC5C0}, {157, 0x6D9CB4},
      {158, 0xFF00C0}, {159, 0x000098}, {160, 0xE500FF}, {161, 0x0060FE}, {162, 0x00FCFF},
      {163, 0xFFFFFF}, {164, 0xECECEC}, {167, 0x90FF00}, {168, 0x62CE02}, {169, 0x9F018E},
  };
  return fills;
}

DecodedPng Face(int id) {
  const std::vector<std::uint8_t> bytes = ProgramResource(id);
  return DecodePng(bytes.data(), bytes.size());
}

int Ring(int x, int y) { return std::min({x, y, kSize - 1 - x, kSize - 1 - y}); }

struct Rgb {
  int r, g, b;
};

Rgb FillOf(const DecodedPng& face) {
  const DecodedPng::Pixel p = face.At(40, 40);
  return {p.r, p.g, p.b};
}

TEST(SwatchFaces, InteriorIsExactlyTheFillAndOpaque) {
  ASSERT_EQ(Fills().size(), 65u);
  for (const auto& [id, rgb] : Fills()) {
    SCOPED_TRACE(testing::Message() << "face " << id);
    const DecodedPng face = Face(id);
    ASSERT_TRUE(face.ok);
    ASSERT_EQ(face.width, kSize);
    ASSERT_EQ(face.height, kSize);
    const int r = static_cast<int>(rgb >> 16), g = static_cast<int>((rgb >> 8) & 0xFF),
              b = static_cast<int>(rgb & 0xFF);
    int wrong = 0;
    for (int y = kFrame; y < kSize - kFrame; ++y) {
      for (int x = kFrame; x < kSize - kFrame; ++x) {
        const DecodedPng::Pixel p = face.At(x, y);
        if (p.r != r || p.g != g || p.b != b || p.a != 255) {
          if (wrong++ == 0) ADD_FAILURE() << "first wrong interior pixel at " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(SwatchFaces, CommonFrameIsOneOpaqueDiagonalGreyGradient) {
  std::map<int, int> level_by_diagonal;  // x + y -> grey, the same on every face
  int faces = 0;
  for (const auto& [id, rgb] : Fills()) {
    if (id == 102 || id == 163) continue;
    ++faces;
    SCOPED_TRACE(testing::Message() << "face " << id);
    const DecodedPng face = Face(id);
    ASSERT_TRUE(face.ok);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        if (Ring(x, y) >= kFrame) continue;
        const DecodedPng::Pixel p = face.At(x, y);
        ASSERT_EQ(p.a, 255) << x << "," << y;
        ASSERT_TRUE(p.r == p.g && p.g == p.b) << "not grey at " << x << "," << y;
        auto [it, inserted] = level_by_diagonal.emplace(x + y, p.r);
        ASSERT_EQ(it->second, p.r) << "level depends on more than x + y at " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(faces, 63);
  ASSERT_EQ(level_by_diagonal.size(), 2u * (kSize - 1) + 1);
  EXPECT_EQ(level_by_diagonal[0], 253);
  EXPECT_EQ(level_by_diagonal[2 * (kSize - 1)], 3);
  EXPECT_NEAR(level_by_diagonal[kSize - 1], 128, 4);
  // Darker all the way down the diagonal, without steps of more than a few levels.
  for (int d = 1; d <= 2 * (kSize - 1); ++d) {
    EXPECT_LE(level_by_diagonal[d], level_by_diagonal[d - 1]) << "x + y = " << d;
    EXPECT_LE(level_by_diagonal[d - 1] - level_by_diagonal[d], 3) << "x + y = " << d;
  }
}

// A frame pixel of `ring` and its neighbour one ring further out.
struct RingPair {
  DecodedPng::Pixel inner, outer;
};

std::vector<RingPair> InnerRingAgainstNext(const DecodedPng& face) {
  std::vector<RingPair> pairs;
  const int in = kFrame - 1, out = kFrame - 2;
  for (int i = in; i < kSize - in; ++i) {
    pairs.push_back({face.At(i, in), face.At(i, out)});                          // top
    pairs.push_back({face.At(i, kSize - 1 - in), face.At(i, kSize - 1 - out)});  // bottom
    pairs.push_back({face.At(in, i), face.At(out, i)});                          // left
    pairs.push_back({face.At(kSize - 1 - in, i), face.At(kSize - 1 - out, i)});  // right
  }
  return pairs;
}

void ExpectSoftOuterRing(const DecodedPng& face) {
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const DecodedPng::Pixel p = face.At(x, y);
      const bool corner = (x == 0 || x == kSize - 1) && (y == 0 || y == kSize - 1);
      const int want = Ring(x, y) != 0 ? 255 : corner ? 243 : 249;
      ASSERT_EQ(p.a, want) << "alpha at " << x << "," << y;
      if (Ring(x, y) < kFrame) {
        ASSERT_TRUE(p.r == p.g && p.g == p.b) << x << "," << y;
      }
    }
  }
}

TEST(SwatchFaces, BlackFaceHasAReversedFrameWithADarkInnerRing) {
  const DecodedPng face = Face(102);
  ASSERT_TRUE(face.ok);
  ExpectSoftOuterRing(face);
  // Dark at the top left, light at the bottom right.
  EXPECT_LT(face.At(0, 0).r + 40, face.At(kSize - 1, kSize - 1).r);
  EXPECT_LT(face.At(2, 2).r + 40, face.At(kSize - 3, kSize - 3).r);
  EXPECT_LT(face.At(2, 40).r, face.At(kSize - 3, 40).r);
  for (const RingPair& p : InnerRingAgainstNext(face)) EXPECT_LT(p.inner.r, p.outer.r);
}

TEST(SwatchFaces, WhiteFaceHasTheCommonGradientWithALightInnerRing) {
  const DecodedPng face = Face(163);
  ASSERT_TRUE(face.ok);
  ExpectSoftOuterRing(face);
  EXPECT_GT(face.At(0, 0).r, face.At(kSize - 1, kSize - 1).r + 40);
  EXPECT_GT(face.At(2, 40).r, face.At(kSize - 3, 40).r);
  for (const RingPair& p : InnerRingAgainstNext(face)) EXPECT_GT(p.inner.r, p.outer.r);
}

// Hue in degrees; chroma is max - min of the channels.
double Hue(const Rgb& c) {
  const int mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b});
  const double d = mx - mn;
  if (d == 0) return 0;
  double h;
  if (mx == c.r) {
    h = std::fmod((c.g - c.b) / d, 6.0);
  } else if (mx == c.g) {
    h = (c.b - c.r) / d + 2;
  } else {
    h = (c.r - c.g) / d + 4;
  }
  h *= 60;
  return h < 0 ? h + 360 : h;
}

int Chroma(const Rgb& c) { return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}); }

int FarthestChannel(const Rgb& a, const Rgb& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// "Nearly the same hue": a grey shows a grey; two muted colours pass as
// family; otherwise the hues lie within 40 degrees.
bool SameHueFamily(const Rgb& value, const Rgb& fill) {
  if (Chroma(value) == 0) return Chroma(fill) <= 16;
  if (Chroma(value) <= 35 && Chroma(fill) <= 35) return true;
  if (Chroma(fill) < 20) return false;
  double dh = std::fabs(Hue(value) - Hue(fill));
  dh = std::min(dh, 360 - dh);
  return dh <= 40;
}

Rgb AsBbggrr(std::uint32_t value) {
  return {static_cast<int>(GetRValue(value)), static_cast<int>(GetGValue(value)),
          static_cast<int>(GetBValue(value))};
}

TEST(SwatchFaces, FillsPreviewTheSwatchValuesReadAsBbggrr) {
  const std::vector<int> exact = {102, 104, 163, 164};
  const std::vector<int> close = {103, 105, 106, 162};
  auto in = [](const std::vector<int>& v, int id) { return std::find(v.begin(), v.end(), id) != v.end(); };
  int family = 0;
  for (const ColorSwatch& s : kColorSwatches) {
    SCOPED_TRACE(testing::Message() << "swatch " << s.control_id);
    ASSERT_EQ(s.image_id, s.control_id);
    const DecodedPng face = Face(s.image_id);
    ASSERT_TRUE(face.ok);
    const Rgb fill = FillOf(face);
    const Rgb value = AsBbggrr(s.color);
    const int off = FarthestChannel(value, fill);
    if (in(exact, s.control_id)) {
      EXPECT_EQ(off, 0);
    } else if (in(close, s.control_id)) {
      EXPECT_LE(off, 12);
    } else {
      ++family;
      EXPECT_TRUE(SameHueFamily(value, fill))
          << "value " << value.r << "," << value.g << "," << value.b << " fill " << fill.r << ","
          << fill.g << "," << fill.b;
      EXPECT_LE(off, 120);
    }
  }
  EXPECT_EQ(family, 57);
}

TEST(SwatchFaces, TheOtherByteOrderWouldShowOtherColours) {
  // Where reading 0x00RRGGBB would look clearly different, the faces follow
  // 0x00BBGGRR: 0xFF is red, 0xFFFF yellow, 0xFFFF00 cyan.
  struct Case {
    int id;
    Rgb want;
  };
  const Case cases[] = {{104, {255, 0, 0}}, {106, {252, 255, 0}}, {162, {0, 252, 255}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "swatch " << c.id);
    const ColorSwatch* s = FindColorSwatch(c.id);
    ASSERT_NE(s, nullptr);
    const Rgb fill = FillOf(Face(c.id));
    EXPECT_EQ(FarthestChannel(fill, c.want), 0);
    const Rgb swapped = {static_cast<int>(GetBValue(s->color)), static_cast<int>(GetGValue(s->color)),
                         static_cast<int>(GetRValue(s->color))};
    EXPECT_GT(FarthestChannel(fill, swapped), 200);
  }
  // A family check that passes either reading is worthless: most faces
  // would fail it under the wrong byte order.
  int wrong_order_passes = 0;
  for (const ColorSwatch& s : kColorSwatches) {
    const Rgb swapped = {static_cast<int>(GetBValue(s.color)), static_cast<int>(GetGValue(s.color)),
                         static_cast<int>(GetRValue(s.color))};
    if (SameHueFamily(swapped, FillOf(Face(s.image_id)))) ++wrong_order_passes;
  }
  EXPECT_LT(wrong_order_passes, 30);
}

TEST(SwatchFaces, ValuesAboveTwentyFourBitsShowTheirLowThreeBytes) {
  for (int id : {167, 168, 169}) {
    SCOPED_TRACE(testing::Message() << "swatch " << id);
    const ColorSwatch* s = FindColorSwatch(id);
    ASSERT_NE(s, nullptr);
    EXPECT_GT(s->color, 0xFFFFFFu);
    const Rgb fill = FillOf(Face(id));
    EXPECT_TRUE(SameHueFamily(AsBbggrr(s->color & 0xFFFFFF), fill));
  }
}

}  // namespace
