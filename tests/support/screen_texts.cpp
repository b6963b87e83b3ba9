#include "tests/support/screen_texts.h"

#include <cmath>

std::vector<Canvas::DrawnText> ScreenTexts(Shell& shell) {
  std::vector<Canvas::DrawnText> texts;
  Canvas::WitnessText([&](const Canvas::DrawnText& t) { texts.push_back(t); });
  shell.Invalidate();
  shell.RenderFrame();
  Canvas::WitnessText(nullptr);
  const double scale = shell.GetHost().Scale();
  for (Canvas::DrawnText& t : texts) {
    const auto logical = [scale](LONG v) { return static_cast<LONG>(std::lround(v / scale)); };
    t.where = RECT{logical(t.where.left), logical(t.where.top), logical(t.where.right), logical(t.where.bottom)};
  }
  return texts;
}

std::u16string ScreenSays(Shell& shell) {
  std::u16string all;
  for (const Canvas::DrawnText& t : ScreenTexts(shell)) all += t.text + u"\n";
  return all;
}

bool TapText(HeadlessHost& host, Shell& shell, std::u16string_view text) {
  const std::vector<Canvas::DrawnText> texts = ScreenTexts(shell);
  for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
    if (it->text != text) continue;
    host.InjectTap((it->where.left + it->where.right) / 2, (it->where.top + it->where.bottom) / 2);
    return true;
  }
  return false;
}
