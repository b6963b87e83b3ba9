#include "studio/card/item_card.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "model/color_swatches.h"
#include "model/colour_hex.h"
#include "platform/shell/canvas.h"
#include "platform/file/utf16.h"
#include "platform/ui/window.h"
#include "studio/studio_texts.h"
#include "studio/widgets/studio_layer.h"
#include "studio/widgets/style.h"

namespace {

using studio_style::kSwatchRim;
const Color& kSheet = studio_style::kCardSheet;
const Color& kRim = studio_style::kCardRim;
const Color& kInk = studio_style::kSheetInk;
const Color& kSoftInk = studio_style::kSheetSoftInk;
const Color& kBad = studio_style::kSheetBad;
const Color& kGood = studio_style::kSheetGood;
const Color& kHard = studio_style::kHardMark;

constexpr int kMargin = 8;  // from the edges of the studio's place
constexpr int kPad = 14;
constexpr int kCloseWidth = 64;
constexpr int kLegendHeight = 18;
constexpr int kSwatchW = 30, kSwatchH = 22;  // inside a cell

constexpr int kRows = (static_cast<int>(kColorSwatchCount) + SwatchGrid::kColumns - 1) / SwatchGrid::kColumns;

std::u16string Ascii(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return Utf8ToUtf16(text);
}

std::u16string Number(int n) { return Utf8ToUtf16(std::to_string(n)); }

// "#RRGGBB", as colours are usually written.
std::u16string WebHex(COLORREF c) { return Utf8ToUtf16(ColourHex(c)); }

// The value as the registry holds it.
std::u16string RegistryHex(COLORREF c) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(c));
  return Utf8ToUtf16(text);
}

int CellOf(int control_id) {
  for (std::size_t i = 0; i < kColorSwatches.size(); ++i) {
    if (kColorSwatches[i].control_id == control_id) return static_cast<int>(i);
  }
  return -1;
}

std::u16string ValueLine(const ItemFacts& f) {
  if (!f.stored) return u"颜色 " + WebHex(f.value) + u" · " + studio_text::kDefaultColour + u"（注册表里没有这一项的值）";
  std::u16string line = u"颜色 " + WebHex(f.value) + u"（注册表值 " + RegistryHex(f.value) + u"）· ";
  return line + (f.swatch ? u"色块 " + Number(*f.swatch) : studio_text::kCustomColour + std::u16string(u"，不是 65 个色块之一"));
}

std::u16string FiguresLine(const ItemFacts& f) {
  if (!f.figures) {
    std::u16string items;
    for (int n : f.drawn_on_it) items += (items.empty() ? u"" : u"、") + Number(n);
    return u"它是这些项目的底色：" + items + u"。";
  }
  const Readability& r = *f.figures;
  std::u16string line = u"在" + std::u16string(SurfaceTitle(f.surface)) + u"（" + WebHex(r.surface) +
                        u"）上，按" + (r.large ? u"大字" : u"小字") + u"的规则：\nWCAG 对比度 " +
                        Utf8ToUtf16(RatioFigure(r.ratio)) + u"（需 ≥ " + Ascii("%.1f:1", r.needed_ratio()) +
                        u"）· APCA Lc " + Utf8ToUtf16(LcFigure(r.lc)) + u"（需 ≥ " +
                        Ascii("%.0f", r.needed_lc()) + u"）→ ";
  if (r.exempt) return line + u"不判定：禁用控件的文字不要求对比度。";
  if (r.passes()) return line + u"可以阅读";
  return line + u"难以阅读" + (r.ratio_ok() ? u"（APCA 不够）" : r.lc_ok() ? u"（WCAG 不够）" : u"（两项都不够）");
}

std::u16string AdviceLine(const ThemeValues& theme, const ItemFacts& f) {
  std::u16string line;
  if (f.fails()) {
    if (f.suggestion) {
      const ColorSwatch* s = FindColorSwatch(*f.suggestion);
      line = u"最接近的可读色块：" + Number(*f.suggestion) + u"（" + WebHex(s->color) + u"，色差 ΔE " +
             Ascii("%.1f", ColourDifference(f.value, s->color)) + u"），下方绿框标出；选它才会写入。";
    } else {
      line = u"没有一个色块在" + std::u16string(SurfaceTitle(f.surface)) + u"上可读。";
    }
  }
  if (f.default_fails) {
    line += (line.empty() ? u"" : u"\n") + std::u16string(u"这一项的默认颜色本身就难以阅读。");
  }
  if (!f.figures) {
    std::u16string failing;
    for (int n : f.drawn_on_it) {
      if (ItemFails(theme, n)) failing += (failing.empty() ? u"" : u"、") + Number(n);
    }
    if (!failing.empty()) line += std::u16string(line.empty() ? u"" : u"\n") + u"在它上面难以阅读：" + failing + u"。";
  }
  return line;
}

// The items on the same surface that look like this one to a person with
// `vision`, on a line of its own.
std::u16string AlikeLine(const ThemeValues& theme, int number, ColourVision vision) {
  if (vision == ColourVision::kTypical) return u"";
  std::u16string alike;
  for (const ConfusablePair& pair : FindConfusablePairs(theme, vision)) {
    const int other = pair.first == number ? pair.second : pair.second == number ? pair.first : 0;
    if (other != 0) alike += (alike.empty() ? u"" : u"、") + Number(other);
  }
  const std::u16string who = ColourVisionTitle(vision);
  return (alike.empty() ? who + u"看来：它与同一表面上的项目都能分辨。"
                                 : who + u"看来它与这些项目难以分辨：" + alike + u"。");
}

}  // namespace

// ---- SwatchGrid ----

int SwatchGrid::Height() { return kRows * kCellHeight; }

RECT SwatchGrid::CellRect(int cell) {
  const int x = (cell % kColumns) * kCellWidth, y = (cell / kColumns) * kCellHeight;
  return RECT{x, y, x + kCellWidth, y + kCellHeight};
}

int SwatchGrid::CellAt(int x, int y) {
  if (x < 0 || y < 0 || x >= kColumns * kCellWidth) return -1;
  const int cell = (y / kCellHeight) * kColumns + x / kCellWidth;
  return cell < static_cast<int>(kColorSwatchCount) ? cell : -1;
}

void SwatchGrid::SetMarks(std::vector<bool> hard, int current, int suggested) {
  hard_ = std::move(hard);
  current_ = current;
  suggested_ = suggested;
  Invalidate();
}

void SwatchGrid::SetFocusedCell(int cell) {
  focused_ = std::clamp(cell, 0, static_cast<int>(kColorSwatchCount) - 1);
  Invalidate();
}

void SwatchGrid::PaintWin(Canvas& canvas) {
  for (int cell = 0; cell < static_cast<int>(kColorSwatchCount); ++cell) {
    const RECT r = CellRect(cell);
    const double x = r.left + (kCellWidth - kSwatchW) / 2.0, y = r.top + (kCellHeight - kSwatchH) / 2.0;
    const Color face = Color::FromColorRef(kColorSwatches[static_cast<std::size_t>(cell)].color);
    canvas.FillRoundRect(x, y, kSwatchW, kSwatchH, 4, face);
    canvas.StrokeRoundRect(x + 0.5, y + 0.5, kSwatchW - 1, kSwatchH - 1, 3.5, 1, kSwatchRim);
    if (cell == suggested_) {
      canvas.StrokeRoundRect(x - 2, y - 2, kSwatchW + 4, kSwatchH + 4, 5, 2.5, kGood);
    }
    if (cell == current_) {
      canvas.StrokeRoundRect(x + 2, y + 2, kSwatchW - 4, kSwatchH - 4, 2.5, 2, studio_style::kSheet);
      canvas.StrokeRoundRect(x + 0.5, y + 0.5, kSwatchW - 1, kSwatchH - 1, 3.5, 1.5, kInk);
    }
    if (cell < static_cast<int>(hard_.size()) && hard_[static_cast<std::size_t>(cell)]) {
      // A corner flag: amber with a dark rim, seen on any face.
      const double fx = x + kSwatchW - 1, fy = y + 1;
      const double flag[] = {fx - 11, fy, fx, fy, fx, fy + 11};
      canvas.FillPolygon(flag, 3, kHard);
      canvas.DrawPolyline(flag, 3, 1, kInk);
      canvas.DrawLine(fx - 11, fy, fx, fy + 11, 1, kInk);
    }
    if (cell == focused_ && ShowsFocus()) {
      PaintFocusRing(canvas, r.left, r.top, kCellWidth, kCellHeight);
    }
  }
}

void SwatchGrid::OnPress(int x, int y) { pressed_ = CellAt(x, y); }

void SwatchGrid::OnRelease(int x, int y, bool inside) {
  const int cell = pressed_;
  pressed_ = -1;
  if (inside && cell >= 0 && CellAt(x, y) == cell) {
    focused_ = cell;
    Choose(cell);
  }
}

bool SwatchGrid::Activate() {
  Choose(focused_);
  return true;
}

bool SwatchGrid::OnKey(InputKey key) {
  const int count = static_cast<int>(kColorSwatchCount);
  int cell = focused_;
  switch (key) {
    case InputKey::Left: cell -= 1; break;
    case InputKey::Right: cell += 1; break;
    case InputKey::Up: cell -= kColumns; break;
    case InputKey::Down: cell += kColumns; break;
    case InputKey::Home: cell = 0; break;
    case InputKey::End: cell = count - 1; break;
    default: return false;
  }
  if (cell < 0 || cell >= count) return true;  // at the edge: stays
  SetFocusedCell(cell);
  return true;
}

void SwatchGrid::Choose(int cell) {
  if (cell < 0 || cell >= static_cast<int>(kColorSwatchCount)) return;
  if (!pick_) return;
  RunLater(*this, [pick = pick_, swatch = kColorSwatches[static_cast<std::size_t>(cell)].control_id] {
    pick(swatch);
  });
}

// ---- ItemCard ----

ItemCard::ItemCard(Shell* shell, std::function<void(int swatch)> pick)
    : StudioLayer(shell),
      title_(17, true, kInk),
      value_(12, false, kSoftInk),
      figures_(12, false, kInk),
      advice_(12, false, kBad),
      result_(12, true, kGood),
      close_(u"关闭", StudioButton::Look::kLight) {
  SetPlace(Place::Side);
  grid_.OnPick(std::move(pick));
  close_.OnClick([this] {
    if (IsRunningModal() && !IsDone()) EndModal(0);
  });
  for (UiWin* e : std::initializer_list<UiWin*>{&title_, &value_, &figures_, &advice_, &result_, &grid_,
                                                &close_}) {
    AddRoot(e);
  }
}

void ItemCard::Show(const ThemeValues& theme, int number, int place_width, int place_height,
                    ColourVision vision) {
  const bool same_item = number == facts_.number;
  facts_ = DescribeItem(theme, number);
  title_.SetText(facts_.target->label);
  value_.SetText(ValueLine(facts_));
  figures_.SetText(FiguresLine(facts_));
  const std::u16string advice = AdviceLine(theme, facts_), alike = AlikeLine(theme, number, vision);
  advice_.SetText(advice + (advice.empty() || alike.empty() ? u"" : u"\n") + alike);
  if (!same_item) result_.SetText(u"");
  std::vector<bool> hard;
  for (const ColorSwatch& s : kColorSwatches) hard.push_back(HardToReadWith(theme, number, s.color));
  // The swatch of the colour it is drawn in, stored or the default.
  const std::optional<int> drawn = SwatchOf(facts_.value);
  const int current = drawn ? CellOf(*drawn) : -1;
  const int suggested = facts_.suggestion ? CellOf(*facts_.suggestion) : -1;
  grid_.SetMarks(std::move(hard), current, suggested);
  if (!same_item) grid_.SetFocusedCell(current >= 0 ? current : std::max(suggested, 0));
  if (!same_item || Focused() == nullptr) SetFocus(&grid_);
  Layout(place_width, place_height);
}

void ItemCard::SetResult(std::u16string text, bool failed) {
  result_.SetColor(failed ? kBad : kGood);
  result_.SetText(std::move(text));
}

void ItemCard::Layout(int place_width, int place_height) {
  const int width = place_width - 2 * kMargin;
  const int inner = width - 2 * kPad;
  int y = kPad;
  close_.SetBounds(width - kPad - kCloseWidth, y - 2, kCloseWidth, 28);
  title_.SetBounds(kPad, y, inner - kCloseWidth - 8, 24);
  title_.SetCentredVertically(true);
  y += 28;
  for (StudioText* t : {&value_, &figures_, &advice_, &result_}) {
    const int h = t->HeightFor(inner);
    t->SetBounds(kPad, y, inner, h);
    t->SetVisible(h > 0);
    if (h > 0) y += h + 4;
  }
  y += 4;
  const int grid_width = SwatchGrid::kColumns * SwatchGrid::kCellWidth;
  grid_.SetBounds((width - grid_width) / 2, y, grid_width, SwatchGrid::Height());
  y += SwatchGrid::Height() + 4;
  legend_top_ = y;
  const int height = y + kLegendHeight + 10;

  // Above or below the item, whichever covers less of its places.
  auto covered = [&](int top) {
    long area = 0;
    const ItemPlacement& row = PlacementOf(facts_.number);
    for (const ItemPlace& place : row.places) {
      if (place.empty()) continue;
      const int t = std::max<int>(place.rect.top, top), b = std::min<int>(place.rect.bottom, top + height);
      if (b > t) area += static_cast<long>(b - t) * (place.rect.right - place.rect.left);
    }
    return area;
  };
  const int above = kMargin, below = place_height - kMargin - height;
  const int top = covered(below) <= covered(above) ? below : above;
  // Above, it covers the line between the small screens and the window
  // whole or not at all: never half a line of text.
  const int line_top = ScreenCard(SampleScreen::kLockScreen).bottom;
  const int line_bottom = ScreenCard(SampleScreen::kSettings).top;
  int bottom = top + height;
  if (top == above && bottom > line_top && bottom < line_bottom) bottom = line_bottom - 1;
  SetFrame(RECT{kMargin, top, kMargin + width, bottom});
}

void ItemCard::Run() { RunModal(false, false); }

void ItemCard::PaintContent(Canvas& canvas) {
  const RECT& f = Frame();
  const int w = f.right - f.left, h = f.bottom - f.top;
  canvas.FillRoundRect(0, 0, w, h, 12, kSheet);
  canvas.StrokeRoundRect(1, 1, w - 2, h - 2, 11, 2, kRim);
  for (UiWin* e : Roots()) {
    if (e->IsVisible()) e->Paint(canvas);
  }
  // The legend under the grid: what its marks mean.
  const int y = legend_top_, mid = y + kLegendHeight / 2;
  int x = grid_.GetPosX();
  const double flag[] = {x + 1.0, mid - 6.0, x + 13.0, mid - 6.0, x + 13.0, mid + 6.0};
  canvas.FillPolygon(flag, 3, kHard);
  canvas.DrawPolyline(flag, 3, 1, kInk);
  canvas.DrawLine(x + 1.0, mid - 6.0, x + 13.0, mid + 6.0, 1, kInk);
  const UINT line = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
  x += 18;
  x += canvas.DrawText(u"难以阅读", RECT{x, y, x + 120, y + kLegendHeight}, line, kSoftInk, 11.5).width + 16;
  canvas.StrokeRoundRect(x + 0.5, mid - 6.5, 18, 13, 3, 1.5, kInk);
  x += 24;
  x += canvas.DrawText(u"当前颜色", RECT{x, y, x + 120, y + kLegendHeight}, line, kSoftInk, 11.5).width + 16;
  canvas.StrokeRoundRect(x + 1, mid - 6, 18, 12, 3, 2.5, kGood);
  x += 24;
  x += canvas.DrawText(u"建议", RECT{x, y, x + 120, y + kLegendHeight}, line, kSoftInk, 11.5).width + 16;
  canvas.DrawText(u"选一个色块即写入注册表 · Esc 关闭", RECT{x, y, w - kPad, y + kLegendHeight},
                  DT_RIGHT | DT_VCENTER | DT_SINGLELINE, kSoftInk, 11.5);
  PaintFocusOutside(canvas);
}

void ItemCard::OnTapOutside() { EndModal(0); }

void ItemCard::PressedElsewhere() { EndModal(0); }
