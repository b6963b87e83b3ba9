// tintor --make-theme as a user runs it: from a colour, from pictures (a
// JPEG mostly of one colour, a PNG photo of greys with a clear colour in a
// part of it), names never taken twice, and sources that cannot be read.
#include <gtest/gtest.h>

#include <cairo.h>
#include <jpeglib.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "main/entry_point.h"
#include "model/checks/theme_rules.h"
#include "platform/win/color_contrast.h"
#include "model/checks/readability.h"
#include "model/color_swatches.h"
#include "model/theme/dominant_colours.h"
#include "model/theme/theme_library.h"
#include "model/theme/theme_maker.h"
#include "model/theme/theme_store.h"
#include "platform/shell/picture_file.h"
#include "tests/platform/win/temp_registry.h"

namespace {

struct Place : TempRegistry {
  Place() { ::setenv("XDG_DATA_HOME", dir().c_str(), 1); }
  std::string Bytes(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

// A JPEG of `colour` with a band of grey noise over its lower `grey_share`
// (or a band of `band`, where one is given).
void WriteJpeg(const std::string& path, COLORREF colour, double grey_share, std::optional<COLORREF> band = {}) {
  constexpr int kW = 640, kH = 480;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  FILE* file = std::fopen(path.c_str(), "wb");
  jpeg_stdio_dest(&info, file);
  info.image_width = kW;
  info.image_height = kH;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(kW * 3);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool grey = y >= kH * (1 - grey_share);
      const int noise = (x * 7 + y * 13) % 40;
      const COLORREF c = grey && band ? *band : colour;
      const bool noisy = grey && !band;
      row[x * 3] = static_cast<JSAMPLE>(noisy ? 100 + noise : GetRValue(c));
      row[x * 3 + 1] = static_cast<JSAMPLE>(noisy ? 100 + noise : GetGValue(c));
      row[x * 3 + 2] = static_cast<JSAMPLE>(noisy ? 100 + noise : GetBValue(c));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

double HueOf(COLORREF c) { return ToLch(c).h; }

TEST(MadeTheme, PicturesGiveTheirClearColoursHue) {
  Place place;
  // Mostly one blue, with a photo's grey below.
  const COLORREF blue = RGB(0x20, 0x60, 0xC0);
  const std::string jpeg = place.dir() + "/blue.jpg";
  WriteJpeg(jpeg, blue, 0.3);
  // Reached through a link of the user's own, as in a picture folder.
  ASSERT_EQ(::symlink(jpeg.c_str(), (place.dir() + "/link.jpg").c_str()), 0);
  ASSERT_EQ(RunTintor({"--make-theme", place.dir() + "/link.jpg", "--name", "blue"}), 0);
  ThemeValues saved;
  std::string problem;
  ASSERT_TRUE(LoadTheme("blue", saved, problem)) << problem;
  Picture picture;
  ASSERT_TRUE(ReadPicture(jpeg, 256, picture, problem)) << problem;
  EXPECT_LE(std::max(picture.width, picture.height), 256);
  const std::vector<DominantColour> colours = FindDominantColours(picture.pixels.data(), picture.pixels.size());
  ASSERT_FALSE(colours.empty());
  EXPECT_LT(HueDistance(colours.front().lch.h, HueOf(blue)), 5);
  EXPECT_NEAR(colours.front().share, 0.7, 0.05);
  // The saved theme is in that hue: its window, else its accents.
  auto within = [&](int n) {
    const LchColour lch = ToLch(static_cast<COLORREF>(*saved.items[static_cast<std::size_t>(n - 1)]));
    return lch.c > kSourceChroma && HueDistance(lch.h, HueOf(blue)) <= kHueReach;
  };
  EXPECT_TRUE(within(kWindowBackgroundItem) || (within(16) && within(17) && within(20) && within(9)));

  // A PNG photo: grey over four fifths, a clear orange over one fifth, and a
  // transparent corner that counts for nothing.
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 500, 400);
  cairo_t* cr = cairo_create(s);
  for (int band = 0; band < 20; ++band) {
    const double g = 0.35 + 0.02 * (band % 7);
    cairo_set_source_rgb(cr, g, g, g + 0.01);
    cairo_rectangle(cr, 0, band * 20, 500, 20);
    cairo_fill(cr);
  }
  cairo_set_source_rgb(cr, 0.95, 0.55, 0.1);
  cairo_rectangle(cr, 0, 320, 500, 80);
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_rectangle(cr, 0, 0, 100, 100);
  cairo_fill(cr);
  cairo_destroy(cr);
  const std::string png = place.dir() + "/photo.png";
  ASSERT_EQ(cairo_surface_write_to_png(s, png.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(s);
  ASSERT_TRUE(ReadPicture(png, 256, picture, problem)) << problem;
  const std::vector<DominantColour> photo = FindDominantColours(picture.pixels.data(), picture.pixels.size());
  ASSERT_FALSE(photo.empty());
  EXPECT_TRUE(photo.front().clear);
  EXPECT_LT(HueDistance(photo.front().lch.h, HueOf(RGB(0xF2, 0x8C, 0x1A))), 10) << "orange, not the grey";
  EXPECT_NEAR(photo.front().share, 80.0 * 500 / (500 * 400 - 100 * 100), 0.03);
  EXPECT_EQ(FindDominantColours(picture.pixels.data(), picture.pixels.size()).front().color,
            photo.front().color) << "the same pixels, the same colours";
}

// --style, --contrast and --json: the JSON names every rule, the theme is
// saved under a name that says its style, kind and level, and at the high
// level every text reads at 7:1 for every eye (worked out here from the
// saved colours).
TEST(MadeTheme, StyleContrastAndJsonAsTheCommandLineTakesThem) {
  Place place;
  testing::internal::CaptureStdout();
  const int code = RunTintor({"--make-theme", "#3366CC", "--exact", "--style", "vivid", "--contrast", "high", "--json"});
  const std::string printed = testing::internal::GetCapturedStdout();
  ASSERT_EQ(code, 0) << printed;
  const nlohmann::json out = nlohmann::json::parse(printed);
  EXPECT_EQ(out["saved_as"], "#3366CC 鲜明 浅色 高对比");
  EXPECT_EQ(out["style"], "vivid");
  EXPECT_EQ(out["contrast"], "high");
  EXPECT_EQ(out["pass"], true);
  std::vector<std::string> rules;
  for (const auto& rule : out["rules"]) {
    rules.push_back(rule["rule"]);
    EXPECT_EQ(rule["met"], true) << rule.dump();
  }
  EXPECT_EQ(rules, (std::vector<std::string>{"readable", "readable-by-all", "apart", "hierarchy", "like-source",
                                             "harmony"}));
  ThemeValues saved;
  std::string problem;
  ASSERT_TRUE(LoadTheme("#3366CC 鲜明 浅色 高对比", saved, problem)) << problem;
  for (ColourVision v : {ColourVision::kTypical, ColourVision::kProtan, ColourVision::kDeutan, ColourVision::kTritan}) {
    for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
      const std::optional<Readability> r = JudgeItem(saved, n);
      if (!r || r->exempt) continue;
      EXPECT_GE(ContrastRatio(SeenWith(v, r->text), SeenWith(v, r->surface)), 7.1) << n << " " << ColourVisionName(v);
    }
  }
  // The printout names the new rule too.
  testing::internal::CaptureStdout();
  ASSERT_EQ(RunTintor({"--make-theme", "#3366CC", "--dark"}), 0);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("\nrule harmony: met\n"), std::string::npos);
  // Words it does not take.
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunTintor({"--make-theme", "#3366CC", "--style", "loud"}), 2);
  EXPECT_EQ(RunTintor({"--undo", "--contrast", "high"}), 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "tintor: --style wants soft or vivid, not 'loud' (see tintor --help)\n"
            "tintor: --dark, --exact, --style, --contrast and --name go with --make-theme (see tintor --help)\n");
}

TEST(MadeTheme, SavedUnderNewNamesOnlyAndNothingWrittenForASourceThatCannotBeRead) {
  Place place;
  ASSERT_EQ(RunTintor({"--make-theme", "#FF0000"}), 0);
  ASSERT_EQ(RunTintor({"--make-theme", "#FF0000"}), 0);
  ASSERT_EQ(RunTintor({"--make-theme", "104", "--dark", "--exact"}), 0);
  EXPECT_EQ(ListSavedThemes(),
            (std::vector<std::string>{"#FF0000 柔和 浅色", "#FF0000 柔和 浅色 2", "#FF0000 柔和 深色"}));
  ThemeValues saved;
  std::string problem;
  ASSERT_TRUE(LoadTheme("#FF0000 柔和 浅色 2", saved, problem)) << problem;
  EXPECT_EQ(saved, MakeTheme(RGB(0xFF, 0, 0), MakeOptions{}).values);
  EXPECT_EQ(RunTintor({"--make-theme", "#00FF00", "--name", "#FF0000 柔和 深色"}), 1) << "never overwritten";
  EXPECT_EQ(RunTintor({"--make-theme", "#00FF00", "--name", "默认"}), 1) << "nor a preset's name";
  EXPECT_EQ(RunTintor({"--dark", "--list-themes"}), 2);
  // Savers at the same moment each get a name of their own; none is lost, and
  // a file there that is no theme is still a name taken, left as it was.
  std::ofstream(ThemesFolder() + "/夏.reg") << "not a theme";
  std::vector<std::thread> savers;
  std::vector<std::string> names(8);
  for (std::size_t i = 0; i < names.size(); ++i) {
    savers.emplace_back([&names, &place, i] {
      ThemeStore store(place.path());
      std::string problem;
      EXPECT_TRUE(store.SaveNew("", "夏", ThemeValues().With(4, static_cast<DWORD>(i)), names[i], problem)) << problem;
    });
  }
  for (std::thread& t : savers) t.join();
  for (std::size_t i = 0; i < names.size(); ++i) {
    ASSERT_TRUE(LoadTheme(names[i], saved, problem)) << problem;
    EXPECT_EQ(saved.items[3], static_cast<DWORD>(i)) << names[i] << " was saved over";
  }
  EXPECT_EQ(place.Bytes(ThemesFolder() + "/夏.reg"), "not a theme");

  // Unreadable sources: nothing in the themes folder or the registry changes.
  const std::string themes = ThemesFolder();
  auto listing = [&] {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(themes)) names.push_back(e.path().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> before = listing();
  const std::string registry = place.Bytes(place.path());
  std::ofstream(place.dir() + "/not.png") << "not a picture at all";
  std::ofstream(place.dir() + "/cut.jpg", std::ios::binary) << std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10);
  for (const std::string& source : {place.dir() + "/not.png", place.dir() + "/cut.jpg", place.dir() + "/none.png",
                                   place.dir(), std::string("#12345"), std::string("170")}) {
    EXPECT_EQ(RunTintor({"--make-theme", source}), 2) << source;
  }
  EXPECT_EQ(listing(), before);
  EXPECT_EQ(place.Bytes(place.path()), registry);

  // A source for which no theme holds every rule: the closest is printed,
  // nothing is saved, exit 1.
  for (const ColorSwatch& swatch : kColorSwatches) {
    if (MakeTheme(swatch.color, MakeOptions{true, false}).passes()) continue;
    EXPECT_EQ(RunTintor({"--make-theme", std::to_string(swatch.control_id), "--dark"}), 1);
    EXPECT_EQ(listing(), before);
    break;
  }
  // From a picture, another of its colours that gives one is named, and the
  // command named makes it.
  const std::string brown = place.dir() + "/brown.jpg";
  WriteJpeg(brown, RGB(0xC6, 0x86, 0x42), 0.3, RGB(0x2E, 0x8B, 0x57));
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunTintor({"--make-theme", brown}), 1);
  const std::string said = testing::internal::GetCapturedStderr();
  const std::size_t named = said.find("gives one: tintor --make-theme '#");
  ASSERT_NE(named, std::string::npos) << said;
  EXPECT_EQ(listing(), before);
  EXPECT_EQ(RunTintor({"--make-theme", said.substr(named + 32, 7)}), 0) << said;
}

}  // namespace

namespace {

// A picture's file name gives its theme a name whatever the name holds:
// what the name rule refuses is replaced, a long name cut to fit.
TEST(MadeTheme, EveryReadablePictureGetsANameFromItsFileName) {
  Place place;
  const std::string long_name = std::string(36, 'a') + "bcdef.jpg";
  const struct {
    std::string file, name;
  } cases[] = {
      {"\xFF\xFEsun.jpg", "__sun.jpg 柔和 浅色"},           // no UTF-8
      {"a\xC2\x85" "b.jpg", "a_b.jpg 柔和 浅色"},            // a C1 control (NEL)
      {"a\xE2\x80\xA8" "b.jpg", "a_b.jpg 柔和 浅色 2"},      // LINE SEPARATOR, the same name again
      {"\xE2\x80\x83.jpg", "\xE2\x80\x83.jpg 柔和 浅色"},    // an em space is shown as it is
      {long_name, std::string(31, 'a') + " 柔和 浅色"},  // 31 + 6 characters, room for " 99"
      {"\xE3\x80\x80\xE2\x80\x8B", "图片 柔和 浅色"},         // nothing visible: two kinds of space
  };
  for (const auto& c : cases) {
    const std::string picture = place.dir() + "/" + c.file;
    WriteJpeg(picture, RGB(0x20, 0x60, 0xC0), 0.3);
    ASSERT_EQ(RunTintor({"--make-theme", picture}), 0) << c.name;
    ThemeValues saved;
    std::string problem;
    EXPECT_TRUE(LoadTheme(c.name, saved, problem)) << c.name << ": " << problem;
  }
  EXPECT_EQ(ListSavedThemes().size(), std::size(cases));
}

}  // namespace
