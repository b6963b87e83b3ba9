// How the theme maker fares over a fixed set of sources, not how fast: the
// 65 swatches, the 216 web colours, 300 random colours and the dominant
// colours of 50 made-up pictures, each made into a theme within the swatches
// and with any colour, in both styles, at both levels, light and dark. For
// each kind it prints the share of sources with a theme that holds every
// rule, the median weakest text contrast under each eye and under every eye
// (the least of the four) among those themes, the share of coloured items
// beyond 60 degrees of a coloured source's hue, the windows' median chroma,
// and which item is weakest most often; with --by-hue, the median weakest
// and the share with a theme for the coloured sources of each 30 degrees of
// hue; with --failing, the sources of each kind that give no theme.
// `maker_survey swatches` (or `exact`) surveys that palette alone; the
// same run always prints the same figures.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "model/checks/colour_science.h"
#include "model/color_swatches.h"
#include "model/theme/dominant_colours.h"
#include "model/theme/theme_maker.h"

namespace {

// A made-up picture of a few regions, each a colour with a little noise: a
// large one (the backdrop, often muted as a photo's) and smaller ones.
std::vector<std::uint32_t> Picture(std::mt19937& random) {
  constexpr int kSide = 96;
  std::uniform_int_distribution<int> byte(0, 255), regions(2, 5), noise(-12, 12);
  std::uniform_real_distribution<double> unit(0, 1);
  struct Region {
    int r, g, b;
    double x, y, reach;
  };
  std::vector<Region> all;
  const int count = regions(random);
  for (int i = 0; i < count; ++i) {
    Region region{byte(random), byte(random), byte(random), unit(random) * kSide, unit(random) * kSide,
                  (i == 0 ? 1.5 : 0.25 + 0.3 * unit(random)) * kSide};
    if (i == 0 && unit(random) < 0.5) {  // a muted backdrop: halfway to its grey
      const int grey = (region.r + region.g + region.b) / 3;
      region.r = (region.r + grey) / 2, region.g = (region.g + grey) / 2, region.b = (region.b + grey) / 2;
    }
    all.push_back(region);
  }
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const Region* on = &all.front();
      for (const Region& region : all) {
        if (std::hypot(x - region.x, y - region.y) < region.reach) on = &region;
      }
      auto channel = [&](int v) { return static_cast<std::uint32_t>(std::clamp(v + noise(random), 0, 255)); };
      pixels.push_back(0xFF000000u | channel(on->r) << 16 | channel(on->g) << 8 | channel(on->b));
    }
  }
  return pixels;
}

std::vector<COLORREF> Sources() {
  std::vector<COLORREF> sources;
  for (const ColorSwatch& swatch : kColorSwatches) sources.push_back(swatch.color & 0x00FFFFFF);
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) sources.push_back(RGB(r * 51, g * 51, b * 51));
    }
  }
  std::mt19937 random(631);
  for (int i = 0; i < 300; ++i) sources.push_back(RGB(random() & 0xFF, random() & 0xFF, random() & 0xFF));
  for (int i = 0; i < 50; ++i) {
    const std::vector<std::uint32_t> pixels = Picture(random);
    sources.push_back(FindDominantColours(pixels.data(), pixels.size()).front().color);
  }
  return sources;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Survey(const std::vector<COLORREF>& sources, bool exact, bool by_hue, bool failing) {
  std::printf("%s\n%-22s %6s  %-29s %6s %5s %7s  %s\n", exact ? "== any colour (--exact)" : "== within the 65 swatches",
              "kind", "themes", "median weakest: typ pro deu tri", "every", ">=6", "off60", "window C, weakest items");
  for (ContrastLevel level : {ContrastLevel::kStandard, ContrastLevel::kHigh}) {
    for (bool dark : {false, true}) {
      for (ThemeStyle style : {ThemeStyle::kSoft, ThemeStyle::kVivid}) {
        int passing = 0, coloured = 0, off = 0;
        std::vector<double> eyes[4], every, window;
        std::map<int, int> weakest;
        std::vector<double> hue_every[12];
        std::string fails;
        int hue_sources[12] = {};
        for (COLORREF source : sources) {
          const MadeTheme made = MakeTheme(source, MakeOptions{dark, exact, style, level});
          const LchColour s = ToLch(source);
          for (const auto& item : made.values.items) {
            const LchColour lch = ToLch(*item);
            if (s.c <= 10 || lch.c <= 10) continue;
            ++coloured;
            off += HueDistance(lch.h, s.h) > 60;
          }
          window.push_back(ToLch(made.values.Item(kWindowBackgroundItem)).c);
          const std::size_t sector = s.c > 10 ? static_cast<std::size_t>(s.h / 30) % 12 : 0;
          hue_sources[sector] += s.c > 10;
          if (!made.passes()) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02X%02X%02X", GetRValue(source), GetGValue(source), GetBValue(source));
            fails += std::string(" ") + hex;
            continue;
          }
          ++passing;
          double least = 21;
          int least_item = 0;
          for (std::size_t v = 0; v < 4; ++v) {
            eyes[v].push_back(made.check.visions[v].weakest_ratio);
            if (made.check.visions[v].weakest_ratio < least) {
              least = made.check.visions[v].weakest_ratio;
              least_item = made.check.visions[v].weakest_item;
            }
          }
          every.push_back(least);
          if (s.c > 10) hue_every[sector].push_back(least);
          ++weakest[least_item];
        }
        std::string kind = std::string(ThemeStyleId(style)) + (dark ? " dark" : " light") +
                           (level == ContrastLevel::kHigh ? " high" : "");
        std::string items;
        std::vector<std::pair<int, int>> ranked;
        for (const auto& [item, times] : weakest) ranked.push_back({times, item});
        std::sort(ranked.rbegin(), ranked.rend());
        for (std::size_t i = 0; i < ranked.size() && i < 4; ++i) {
          items += " " + std::to_string(ranked[i].second) + "x" + std::to_string(ranked[i].first);
        }
        const double reach = std::count_if(every.begin(), every.end(), [](double e) { return e >= 6; });
        std::printf("%-22s %5.1f%%  %6.2f %6.2f %6.2f %6.2f  %6.2f %4.0f%% %6.1f%%  %5.1f,%s\n", kind.c_str(),
                    100.0 * passing / sources.size(), Median(eyes[0]), Median(eyes[1]), Median(eyes[2]),
                    Median(eyes[3]), Median(every), every.empty() ? 0.0 : 100 * reach / every.size(),
                    coloured ? 100.0 * off / coloured : 0.0, Median(window), items.c_str());
        if (failing) std::printf("  failing:%s\n", fails.c_str());
        if (by_hue) {
          std::printf("  hue from:");
          for (int h = 0; h < 12; ++h) std::printf(" %6d", h * 30);
          std::printf("\n  sources: ");
          for (int h = 0; h < 12; ++h) std::printf(" %6d", hue_sources[h]);
          std::printf("\n  themes:  ");
          for (int h = 0; h < 12; ++h) std::printf(" %6zu", hue_every[h].size());
          std::printf("\n  weakest: ");
          for (int h = 0; h < 12; ++h) std::printf(" %6.2f", Median(hue_every[h]));
          std::printf("\n");
        }
        std::fflush(stdout);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<COLORREF> all = Sources();
  // `--only swatches|web|random|pictures` surveys one group of sources.
  std::vector<COLORREF> sources = all;
  bool swatches = true, exact = true, by_hue = false, failing = false;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "swatches") exact = false;
    if (word == "exact") swatches = false;
    if (word == "--by-hue") by_hue = true;
    if (word == "--failing") failing = true;
    if (word == "--only" && i + 1 < argc) {
      const std::string group = argv[++i];
      const std::size_t from = group == "swatches" ? 0 : group == "web" ? 65 : group == "random" ? 281 : 581;
      const std::size_t to = group == "swatches" ? 65 : group == "web" ? 281 : group == "random" ? 581 : 631;
      sources.assign(all.begin() + from, all.begin() + to);
    }
  }
  std::printf("%zu sources\n", sources.size());
  if (swatches) Survey(sources, false, by_hue, failing);
  if (exact) Survey(sources, true, by_hue, failing);
  return 0;
}
