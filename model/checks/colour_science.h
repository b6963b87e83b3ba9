// The colour figures the studio shows: the APCA lightness contrast of a text
// on its ground, the CIEDE2000 difference of two colours, a colour in CIE LCh
// and back, and a colour as a person with a colour-vision deficiency sees it.
// Colours are the phone's COLORREF (0x00BBGGRR); the top byte is ignored. No
// drawing here.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/win/win_types.h"

// APCA 0.0.98G lightness contrast of `text` on `background`, times 100:
// positive for dark text on a lighter ground (black on white is 106.04),
// negative for light text on a darker one (white on black is -107.88).
double ApcaContrast(COLORREF text, COLORREF background);

// How far apart two colours look: CIEDE2000 of their CIELAB values (sRGB,
// D50 white as Little CMS adapts it). About 2 is just noticeable.
double ColourDifference(COLORREF a, COLORREF b);
// The same for colours turned into CIELAB once, to compare many pairs.
struct LabColour {
  double l = 0, a = 0, b = 0;
};
LabColour ToLab(COLORREF color);
double ColourDifference(const LabColour& a, const LabColour& b);

// CIE LCh: lightness, chroma and hue angle (degrees, 0 to 360) of CIELAB.
struct LchColour {
  double l = 0, c = 0, h = 0;
};
LchColour ToLch(COLORREF color);
LchColour ToLch(const LabColour& lab);
// The screen colour of `lch`; one outside what the screen shows gets less
// chroma, its lightness and hue kept, until it fits.
COLORREF FromLch(const LchColour& lch);
// How far apart two hue angles are, 0 to 180 degrees.
double HueDistance(double a, double b);

enum class ColourVision { kTypical, kProtan, kDeutan, kTritan };

inline constexpr ColourVision kDeficiencies[] = {ColourVision::kProtan, ColourVision::kDeutan,
                                                 ColourVision::kTritan};

// "protan", "deutan", "tritan" ("typical" for kTypical), as the command line
// writes them; Parse is false for any other word.
const char* ColourVisionName(ColourVision vision);
bool ParseColourVision(std::string_view word, ColourVision* vision);

// The colour as seen with the deficiency at full severity.
COLORREF SeenWith(ColourVision vision, COLORREF color);

// Rewrites `height` rows of `width` pixels (0xAARRGGBB, alpha kept; rows
// `stride` pixels apart) as seen with the deficiency.
void SeePixelsWith(ColourVision vision, std::uint32_t* pixels, int width, int height, int stride);
