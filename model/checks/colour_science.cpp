#include "model/checks/colour_science.h"

#include <lcms2.h>

#include "platform/win/color_contrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

double Channel(COLORREF c, int shift) { return ((c >> shift) & 0xFF) / 255.0; }

// APCA 0.0.98G (Myndex, "APCA-W3" base algorithm): screen luminance with a
// plain 2.4 power (APCA's own, not sRGB's piecewise decoding), a soft clamp near black, then the polarity's exponents.
double ApcaLuminance(COLORREF c) {
  double y = 0.2126729 * std::pow(Channel(c, 0), 2.4) + 0.7151522 * std::pow(Channel(c, 8), 2.4) +
             0.0721750 * std::pow(Channel(c, 16), 2.4);
  constexpr double kBlackThreshold = 0.022;
  if (y < kBlackThreshold) y += std::pow(kBlackThreshold - y, 1.414);
  return y;
}

double LinearToSrgb(double l) {
  return l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
}

// Converts sRGB to CIELAB once for the whole run.
class LabConverter {
 public:
  LabConverter() {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    transform_ = cmsCreateTransform(srgb, TYPE_RGB_8, lab, TYPE_Lab_DBL, INTENT_PERCEPTUAL,
                                    cmsFLAGS_NOCACHE);
    cmsCloseProfile(srgb);
    cmsCloseProfile(lab);
  }
  ~LabConverter() {
    if (transform_ != nullptr) cmsDeleteTransform(transform_);
  }
  LabConverter(const LabConverter&) = delete;
  LabConverter& operator=(const LabConverter&) = delete;

  cmsCIELab operator()(COLORREF c) const {
    const unsigned char rgb[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    cmsCIELab lab{};
    if (transform_ != nullptr) cmsDoTransform(transform_, rgb, &lab, 1);
    return lab;
  }

 private:
  cmsHTRANSFORM transform_ = nullptr;
};

// Turns CIELAB back into 8-bit sRGB, clipped to the screen's range.
class LabToScreen {
 public:
  LabToScreen() {
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    transform_ = cmsCreateTransform(lab, TYPE_Lab_DBL, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL,
                                    cmsFLAGS_NOCACHE);
    cmsCloseProfile(lab);
    cmsCloseProfile(srgb);
  }
  ~LabToScreen() {
    if (transform_ != nullptr) cmsDeleteTransform(transform_);
  }
  LabToScreen(const LabToScreen&) = delete;
  LabToScreen& operator=(const LabToScreen&) = delete;

  COLORREF operator()(const LabColour& c) const {
    const cmsCIELab lab{c.l, c.a, c.b};
    unsigned char rgb[3] = {0, 0, 0};
    if (transform_ != nullptr) cmsDoTransform(transform_, &lab, rgb, 1);
    return RGB(rgb[0], rgb[1], rgb[2]);
  }

 private:
  cmsHTRANSFORM transform_ = nullptr;
};

// Machado, Oliveira and Fernandes, "A Physiologically-based Model for
// Simulation of Color Vision Deficiency", IEEE TVCG 15(6), 2009: the matrices
// for severity 1.0. Rows give linear R', G', B' from linear R, G, B.
using Matrix = std::array<std::array<double, 3>, 3>;
constexpr Matrix kProtan = {{{0.152286, 1.052583, -0.204868},
                             {0.114503, 0.786281, 0.099216},
                             {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeutan = {{{0.367322, 0.860646, -0.227968},
                             {0.280085, 0.672501, 0.047413},
                             {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kTritan = {{{1.255528, -0.076749, -0.178779},
                             {-0.078411, 0.930809, 0.147602},
                             {0.004733, 0.691367, 0.303900}}};

const Matrix* MatrixOf(ColourVision vision) {
  switch (vision) {
    case ColourVision::kProtan: return &kProtan;
    case ColourVision::kDeutan: return &kDeutan;
    case ColourVision::kTritan: return &kTritan;
    case ColourVision::kTypical: break;
  }
  return nullptr;
}

// Linear light through the matrix, clipped to the screen's range.
std::array<double, 3> Apply(const Matrix& m, const std::array<double, 3>& linear) {
  std::array<double, 3> out{};
  for (int row = 0; row < 3; ++row) {
    const double v = m[row][0] * linear[0] + m[row][1] * linear[1] + m[row][2] * linear[2];
    out[row] = std::clamp(v, 0.0, 1.0);
  }
  return out;
}

int Encode(double linear) { return static_cast<int>(std::lround(LinearToSrgb(linear) * 255)); }

// Pixels take the same road as SeenWith through tables: 8-bit sRGB to
// linear, and the linear values where the 8-bit encoding rounds up to the
// next level, found from a guess by linear value in fine steps.
struct PixelTables {
  static constexpr int kGuesses = 4096;
  std::array<double, 256> linear{};
  std::array<double, 256> step_up{};  // step_up[v]: from here on, v + 1 (v < 255)
  std::array<unsigned char, kGuesses + 1> guess{};
  PixelTables() {
    for (int i = 0; i < 256; ++i) linear[i] = SrgbToLinear(i);
    for (int v = 0; v < 255; ++v) step_up[v] = SrgbToLinear((v + 0.5) / 255.0);
    step_up[255] = 2;  // beyond every clipped value
    for (int i = 0; i <= kGuesses; ++i) {
      const double l = 1.0 * i / kGuesses;
      guess[i] = static_cast<unsigned char>(
          std::upper_bound(step_up.begin(), step_up.end(), l) - step_up.begin());
    }
  }
  unsigned Encoded(double l) const {
    unsigned v = guess[static_cast<std::size_t>(l * kGuesses)];
    while (l >= step_up[v]) ++v;
    while (v > 0 && l < step_up[v - 1]) --v;
    return v;
  }
};

}  // namespace

double ApcaContrast(COLORREF text, COLORREF background) {
  const double yt = ApcaLuminance(text);
  const double yb = ApcaLuminance(background);
  if (std::fabs(yb - yt) < 0.0005) return 0;
  if (yb > yt) {
    const double s = (std::pow(yb, 0.56) - std::pow(yt, 0.57)) * 1.14;
    return s < 0.1 ? 0 : (s - 0.027) * 100;
  }
  const double s = (std::pow(yb, 0.65) - std::pow(yt, 0.62)) * 1.14;
  return s > -0.1 ? 0 : (s + 0.027) * 100;
}

LabColour ToLab(COLORREF color) {
  static const LabConverter to_lab;
  const cmsCIELab lab = to_lab(color);
  return {lab.L, lab.a, lab.b};
}

double ColourDifference(const LabColour& a, const LabColour& b) {
  const cmsCIELab la{a.l, a.a, a.b}, lb{b.l, b.a, b.b};
  return cmsCIE2000DeltaE(&la, &lb, 1, 1, 1);
}

double ColourDifference(COLORREF a, COLORREF b) { return ColourDifference(ToLab(a), ToLab(b)); }

const char* ColourVisionName(ColourVision vision) {
  switch (vision) {
    case ColourVision::kProtan: return "protan";
    case ColourVision::kDeutan: return "deutan";
    case ColourVision::kTritan: return "tritan";
    case ColourVision::kTypical: break;
  }
  return "typical";
}

bool ParseColourVision(std::string_view word, ColourVision* vision) {
  for (ColourVision v : kDeficiencies) {
    if (word == ColourVisionName(v)) {
      *vision = v;
      return true;
    }
  }
  return false;
}

COLORREF SeenWith(ColourVision vision, COLORREF color) {
  const Matrix* m = MatrixOf(vision);
  if (m == nullptr) return color & 0x00FFFFFF;
  const auto out = Apply(*m, {SrgbToLinear(int{GetRValue(color)}), SrgbToLinear(int{GetGValue(color)}),
                              SrgbToLinear(int{GetBValue(color)})});
  return RGB(Encode(out[0]), Encode(out[1]), Encode(out[2]));
}

void SeePixelsWith(ColourVision vision, std::uint32_t* pixels, int width, int height, int stride) {
  const Matrix* m = MatrixOf(vision);
  if (m == nullptr) return;
  static const PixelTables tables;
  // A picture holds few colours (runs of one, and the edges of text): each
  // is worked out once, in a small table indexed by a hash of the colour.
  // A key is the colour with bit 32 set, so an empty slot (0) never matches.
  constexpr std::uint32_t kSlots = 1 << 14;
  std::vector<std::uint64_t> keys(kSlots, 0);
  std::vector<std::uint32_t> seen(kSlots);
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < width;) {
      const std::uint32_t p = row[x];
      const std::uint32_t slot = ((p * 2654435761u) >> 18) & (kSlots - 1);
      const std::uint64_t key = p | (std::uint64_t{1} << 32);
      if (keys[slot] != key) {
        const auto out = Apply(*m, {tables.linear[(p >> 16) & 0xFF], tables.linear[(p >> 8) & 0xFF],
                                    tables.linear[p & 0xFF]});
        keys[slot] = key;
        seen[slot] = (p & 0xFF000000u) | tables.Encoded(out[0]) << 16 |
                     tables.Encoded(out[1]) << 8 | tables.Encoded(out[2]);
      }
      // The whole run of this colour at once.
      const std::uint32_t out = seen[slot];
      do {
        row[x++] = out;
      } while (x < width && row[x] == p);
    }
  }
}

LchColour ToLch(const LabColour& lab) {
  const cmsCIELab in{lab.l, lab.a, lab.b};
  cmsCIELCh out{};
  cmsLab2LCh(&out, &in);
  return {out.L, out.C, out.h};
}

LchColour ToLch(COLORREF color) { return ToLch(ToLab(color)); }

COLORREF FromLch(const LchColour& lch) {
  static const LabToScreen to_screen;
  auto at = [&](double chroma) {
    const cmsCIELCh in{lch.l, chroma, lch.h};
    cmsCIELab out{};
    cmsLCh2Lab(&out, &in);
    return LabColour{out.L, out.a, out.b};
  };
  // A colour fits when the screen colour it becomes reads back as itself
  // (within the rounding to 8 bits); chroma is halved towards a fit.
  auto fits = [&](double chroma, COLORREF* out) {
    const LabColour wanted = at(chroma);
    *out = to_screen(wanted);
    return ColourDifference(ToLab(*out), wanted) < 1.5;
  };
  COLORREF best = 0;
  if (fits(lch.c, &best)) return best;
  double low = 0, high = lch.c;
  fits(0, &best);
  for (int i = 0; i < 12; ++i) {
    const double mid = (low + high) / 2;
    COLORREF c = 0;
    if (fits(mid, &c)) {
      low = mid;
      best = c;
    } else {
      high = mid;
    }
  }
  return best;
}

double HueDistance(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}
