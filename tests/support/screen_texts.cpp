#include "tests/support/screen_texts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

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

std::vector<Canvas::DrawnText> LayerTexts(Shell& shell) {
  std::vector<Canvas::DrawnText> texts;
  ShellLayer* top = shell.TopLayer();
  if (top == nullptr) return texts;
  const LONG left = top->GetPlace() == ShellLayer::Place::Side ? Shell::kScreenWidth : 0;
  const int width = shell.PlaceWidth(top->GetPlace());
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * Shell::kScreenHeight);
  Canvas::WitnessText([&](const Canvas::DrawnText& t) { texts.push_back(t); });
  Canvas::RenderOffscreen(width, Shell::kScreenHeight, [top](Canvas& c) { top->PaintLayer(c, 1.0); }, pixels.data(),
                          width * 4);
  Canvas::WitnessText(nullptr);
  for (Canvas::DrawnText& t : texts) {
    t.where.left += left;
    t.where.right += left;
  }
  return texts;
}

std::u16string LayerSays(Shell& shell) {
  std::u16string all;
  for (const Canvas::DrawnText& t : LayerTexts(shell)) all += t.text + u"\n";
  return all;
}

std::optional<Canvas::DrawnText> LayerTextNear(Shell& shell, std::initializer_list<std::u16string_view> path) {
  const std::vector<Canvas::DrawnText> texts = LayerTexts(shell);
  const auto middle = [](const RECT& r, bool x) { return x ? (r.left + r.right) / 2.0 : (r.top + r.bottom) / 2.0; };
  std::optional<Canvas::DrawnText> at;
  for (std::u16string_view words : path) {
    if (!at) {
      const auto first = std::find_if(texts.begin(), texts.end(), [&](const auto& t) { return t.text == words; });
      if (first == texts.end()) return std::nullopt;
      at = *first;
      continue;
    }
    // Nearest in height first (a row's own button), then across.
    std::optional<Canvas::DrawnText> next;
    std::pair<double, double> best{std::numeric_limits<double>::max(), 0};
    for (const Canvas::DrawnText& t : texts) {
      if (words.empty() ? t.text == at->text : t.text != words) continue;
      const std::pair<double, double> distance{std::abs(middle(t.where, false) - middle(at->where, false)),
                                               std::abs(middle(t.where, true) - middle(at->where, true))};
      if (distance < best) {
        next = t;
        best = distance;
      }
    }
    if (!next) return std::nullopt;
    at = next;
  }
  return at;
}

bool TapTextNear(HeadlessHost& host, Shell& shell, std::initializer_list<std::u16string_view> path) {
  const std::optional<Canvas::DrawnText> t = LayerTextNear(shell, path);
  if (!t) return false;
  host.InjectTap((t->where.left + t->where.right) / 2, (t->where.top + t->where.bottom) / 2);
  return true;
}
