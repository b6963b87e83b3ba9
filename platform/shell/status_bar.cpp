#include "platform/shell/status_bar.h"

#include <cmath>
#include <string>

#include "platform/shell/canvas.h"

namespace {

const Color kGlyph = Color::Rgb(0xF2, 0xF2, 0xF2);
const Color kGlyphDim = Color::Rgb(0x6A, 0x6A, 0x6A);

void PaintSignal(Canvas& c, int x, int bottom) {
  for (int i = 0; i < 5; ++i) {
    const int h = 4 + 3 * i;
    c.FillRect(x + i * 5, bottom - h, 3, h, i < 4 ? kGlyph : kGlyphDim);
  }
}

void PaintWireless(Canvas& c, double cx, double base) {
  c.FillCircle(cx, base - 1.5, 2.0, kGlyph);
  for (int i = 1; i <= 2; ++i) {
    const double r = 5.0 * i + 1;
    const double pts[] = {cx - r * std::cos(0.8), base - 1.5 - r * std::sin(0.8), cx,
                          base - 1.5 - r * 1.25, cx + r * std::cos(0.8),
                          base - 1.5 - r * std::sin(0.8)};
    c.DrawPolyline(pts, 3, 2.0, kGlyph);
  }
}

void PaintBattery(Canvas& c, int x, int y) {
  c.StrokeRoundRect(x + 0.5, y + 0.5, 26, 13, 2.5, 1.4, kGlyph);
  c.FillRect(x + 27, y + 4, 3, 6, kGlyph);
  c.FillRoundRect(x + 3, y + 3, 16, 8, 1, Color::Rgb(0x7C, 0xD9, 0x5A));
}

}  // namespace

void PaintStatusBar(Canvas& canvas, int width, int height, int minutes) {
  canvas.FillVerticalGradient(0, 0, width, height, Color::Rgb(0x2B, 0x2D, 0x31),
                              Color::Rgb(0x08, 0x09, 0x0A));
  canvas.FillRect(0, height - 1, width, 1, Color::Rgb(0x00, 0x00, 0x00));
  PaintSignal(canvas, 12, 25);
  const int hours = ((minutes / 60) % 24 + 24) % 24;
  const int mins = (minutes % 60 + 60) % 60;
  char text[6];
  text[0] = static_cast<char>('0' + hours / 10);
  text[1] = static_cast<char>('0' + hours % 10);
  text[2] = ':';
  text[3] = static_cast<char>('0' + mins / 10);
  text[4] = static_cast<char>('0' + mins % 10);
  text[5] = 0;
  std::u16string clock(text, text + 5);
  RECT rc{0, 0, width, height};
  canvas.DrawText(clock, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kGlyph, 19, true);
  PaintWireless(canvas, width - 62, 25);
  PaintBattery(canvas, width - 44, 11);
}
