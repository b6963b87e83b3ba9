// The studio's colour figures against published values and values worked
// out by hand from the published matrices, and the placement rows as a user
// meets them: every item has room for its text, badge and chip, and a point
// on it finds it.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>

#include "platform/shell/canvas.h"
#include "platform/shell/color.h"
#include "model/checks/colour_science.h"
#include "studio/preview/item_places.h"
#include "model/checks/readability.h"
#include "studio/preview/sample_screens.h"

TEST(ColourFigures, AgreeWithPublishedAndHandWorkedValues) {
  const COLORREF black = RGB(0, 0, 0), white = RGB(0xFF, 0xFF, 0xFF), grey = RGB(0x88, 0x88, 0x88);
  // APCA 0.0.98G's own examples.
  EXPECT_NEAR(ApcaContrast(black, white), 106.04, 0.01);
  EXPECT_NEAR(ApcaContrast(white, black), -107.88, 0.01);
  EXPECT_NEAR(ApcaContrast(grey, white), 63.06, 0.01);
  EXPECT_NEAR(ApcaContrast(white, grey), -68.54, 0.01);
  EXPECT_EQ(ApcaContrast(grey, grey), 0);
  // CIEDE2000: black to white is the whole lightness scale.
  EXPECT_NEAR(ColourDifference(black, white), 100, 0.1);
  EXPECT_NEAR(ColourDifference(grey, grey), 0, 1e-9);

  // Severity-1 matrices applied by hand to pure red, green and blue:
  // linearise, multiply, clip to 0..1, encode as sRGB.
  struct Case {
    ColourVision vision;
    COLORREF in, out;
  };
  const Case cases[] = {
      {ColourVision::kProtan, RGB(255, 0, 0), RGB(109, 95, 0)},
      {ColourVision::kProtan, RGB(0, 255, 0), RGB(255, 229, 0)},
      {ColourVision::kProtan, RGB(0, 0, 255), RGB(0, 89, 255)},
      {ColourVision::kDeutan, RGB(255, 0, 0), RGB(163, 144, 0)},
      {ColourVision::kDeutan, RGB(0, 255, 0), RGB(239, 214, 58)},
      {ColourVision::kDeutan, RGB(0, 0, 255), RGB(0, 61, 251)},
      {ColourVision::kTritan, RGB(255, 0, 0), RGB(255, 0, 15)},
      {ColourVision::kTritan, RGB(0, 255, 0), RGB(0, 247, 217)},
      {ColourVision::kTritan, RGB(0, 0, 255), RGB(0, 107, 150)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ColourVisionName(c.vision));
    EXPECT_EQ(SeenWith(c.vision, c.in), c.out) << std::hex << c.in;
    // A picture's pixels (0xAARRGGBB, alpha kept) take the same road.
    std::uint32_t pixel[2] = {0xFF000000u | GetRValue(c.in) << 16 | GetGValue(c.in) << 8 |
                                  GetBValue(c.in),
                              0x80FFFFFFu};
    SeePixelsWith(c.vision, pixel, 2, 1, 2);
    EXPECT_EQ(pixel[0], 0xFF000000u | GetRValue(c.out) << 16 | GetGValue(c.out) << 8 |
                            GetBValue(c.out));
    EXPECT_EQ(pixel[1], 0x80FFFFFFu) << "white stays white";
  }

  // The rules: 24 px, or 18.66 px bold, is large text. #949494 on white
  // (3.03:1, Lc 58) is enough only for large text by WCAG, and by APCA.
  const COLORREF mid = RGB(0x94, 0x94, 0x94);
  EXPECT_FALSE(JudgeText(mid, white, 23.9, false).passes());
  EXPECT_TRUE(JudgeText(mid, white, 24, false).passes());
  EXPECT_TRUE(JudgeText(mid, white, 18.66, true).passes());
  EXPECT_FALSE(JudgeText(mid, white, 18.66, false).passes());
  EXPECT_TRUE(JudgeText(mid, white, 12, false, true).passes()) << "an inactive text never fails";
  // A dark theme's light grey passes WCAG and fails APCA, and the chip says which.
  const Readability dim = JudgeText(RGB(0xA8, 0xA8, 0xA8), RGB(0x21, 0x21, 0x21), 12, false);
  EXPECT_TRUE(dim.ratio_ok());
  EXPECT_FALSE(dim.passes());
  EXPECT_EQ(ChipText(dim), u"难以阅读 Lc 52");
}

TEST(ItemPlaces, EveryItemHasRoomForItsTextBadgeAndChipAndIsFoundByAPoint) {
  const auto& rows = ItemPlacements();
  auto overlap = [](const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  };
  auto inside = [](const RECT& in, const RECT& out) {
    return in.left >= out.left && in.right <= out.right && in.top >= out.top &&
           in.bottom <= out.bottom;
  };
  std::vector<std::pair<int, RECT>> taken;  // every text place and chip, by item
  for (const ItemPlacement& row : rows) {
    SCOPED_TRACE(testing::Message() << "item " << row.number);
    const RECT card = ScreenCard(row.screen);
    for (const ItemPlace& place : row.places) {
      if (place.empty()) continue;
      EXPECT_TRUE(inside(place.rect, card));
      const int cx = (place.rect.left + place.rect.right) / 2;
      const int cy = (place.rect.top + place.rect.bottom) / 2;
      if (place.kind == ItemPlace::Kind::kFill) continue;
      EXPECT_EQ(ItemAt(cx, cy), row.number);
      const int w = place.rect.right - place.rect.left, h = place.rect.bottom - place.rect.top;
      const TextMetrics m = Canvas::MeasureText(place.text, w, h, DT_LEFT | DT_SINGLELINE, place.px,
                                                place.bold);
      EXPECT_FALSE(m.cut);
      EXPECT_LE(m.width + (place.badge ? 4 + 16 + 2 : 0), w) << "text and badge fit";
      taken.push_back({row.number, place.rect});
    }
    if (row.chip.right <= row.chip.left) {
      const ThemeItemKind kind = kThemeSchema[static_cast<std::size_t>(row.number - 1)].kind;
      EXPECT_TRUE(kind == ThemeItemKind::kSurface || kind == ThemeItemKind::kDisabledText)
          << "an item that can fail has a chip";
      continue;
    }
    EXPECT_TRUE(inside(row.chip, card)) << "the chip stays inside its card";
    EXPECT_EQ(ItemAt((row.chip.left + row.chip.right) / 2, (row.chip.top + row.chip.bottom) / 2),
              row.number);
    for (const char16_t* words : {u"难以阅读 Lc 59", u"难以阅读 4.4:1", u"难以阅读 0.0:1"}) {
      const int w = row.chip.right - row.chip.left, h = row.chip.bottom - row.chip.top;
      EXPECT_LE(Canvas::MeasureText(words, w, h, DT_LEFT | DT_SINGLELINE, 10, true).width, w - 4);
    }
    taken.push_back({row.number, row.chip});
  }
  for (std::size_t i = 0; i < taken.size(); ++i) {
    for (std::size_t j = i + 1; j < taken.size(); ++j) {
      EXPECT_FALSE(overlap(taken[i].second, taken[j].second))
          << "a place or chip of item " << taken[i].first << " covers one of item "
          << taken[j].first;
    }
  }
  // The window between its texts is the window background; the desk is nothing.
  const RECT window = ScreenCard(SampleScreen::kSettings);
  EXPECT_EQ(ItemAt(window.right - 60, window.top + 30), kWindowBackgroundItem);
  EXPECT_EQ(ItemAt(2, 2), 0);
}

TEST(Readability, UnderASimulationTextsThatSinkIntoTheirSurfaceAreNamed) {
  // Red text on a green window reads for most eyes; to a red-blind one the
  // two are one dull colour. A text far from its surface for every eye is
  // never named, nor is anything for typical vision.
  const ThemeValues red_on_green = ThemeValues().With(kWindowBackgroundItem, RGB(0x4C, 0x7A, 0x00)).With(5, RGB(0xC8, 0x50, 0x00));
  const std::vector<int> sunk = FindVanishingItems(red_on_green, ColourVision::kDeutan);
  EXPECT_NE(std::find(sunk.begin(), sunk.end(), 5), sunk.end());
  EXPECT_TRUE(FindVanishingItems(red_on_green, ColourVision::kTypical).empty());
  const std::vector<int> plain = FindVanishingItems(ThemeValues(), ColourVision::kDeutan);
  EXPECT_EQ(std::find(plain.begin(), plain.end(), 5), plain.end()) << "dark text on a light window";
}
