#include "tools/swatch_face_art.h"

#include <algorithm>

namespace {

constexpr int kSize = 80;
constexpr int kFrame = 5;
constexpr int kMaxDiagonal = 2 * (kSize - 1);  // x + y at the bottom-right corner

// The frame's grey by x + y: 253 at the top left, 128 on the other diagonal,
// 3 at the bottom right.
std::uint8_t FrameLevel(int diagonal) {
  return static_cast<std::uint8_t>(253 - (250 * diagonal + kMaxDiagonal / 2) / kMaxDiagonal);
}

// Which ring of the frame a pixel lies on, 0 outermost; kFrame or more inside.
int RingOf(int x, int y) { return std::min({x, y, kSize - 1 - x, kSize - 1 - y}); }

bool IsCorner(int x, int y) {
  return (x == 0 || x == kSize - 1) && (y == 0 || y == kSize - 1);
}

// Black and white faces would melt into a dark or light screen, so their
// frames set themselves off: black gets a reversed gradient and a dark inner
// ring, white a light inner ring; both get a soft outer edge.
enum class FrameStyle { Common, Black, White };

FrameStyle StyleOf(int id) {
  if (id == 102) return FrameStyle::Black;
  if (id == 163) return FrameStyle::White;
  return FrameStyle::Common;
}

}  // namespace

const std::vector<SwatchFace>& SwatchFaces() {
  static const std::vector<SwatchFace> faces = {
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
  return faces;
}

RgbaImage DrawSwatchFace(const SwatchFace& face) {
  RgbaImage image(kSize, kSize);
  const auto r = static_cast<std::uint8_t>(face.rgb >> 16);
  const auto g = static_cast<std::uint8_t>(face.rgb >> 8);
  const auto b = static_cast<std::uint8_t>(face.rgb);
  const FrameStyle style = StyleOf(face.id);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const int ring = RingOf(x, y);
      if (ring >= kFrame) {
        image.Set(x, y, r, g, b, 255);
        continue;
      }
      const int diagonal = x + y;
      std::uint8_t level = FrameLevel(diagonal);
      std::uint8_t alpha = 255;
      if (style == FrameStyle::Black) {
        level = FrameLevel(kMaxDiagonal - diagonal);
        if (ring == kFrame - 1) level = static_cast<std::uint8_t>(level * 11 / 20);
      } else if (style == FrameStyle::White) {
        if (ring == kFrame - 1) level = static_cast<std::uint8_t>(level + (255 - level) / 2);
      }
      if (style != FrameStyle::Common && ring == 0) alpha = IsCorner(x, y) ? 243 : 249;
      image.Set(x, y, level, level, level, alpha);
    }
  }
  return image;
}
