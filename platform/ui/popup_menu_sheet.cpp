#include "platform/ui/popup_menu_sheet.h"

#include <algorithm>
#include <cmath>

#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/ui/imaging_helper.h"

namespace {
constexpr int kSeparatorHeight = 13;
constexpr int kWidth = Shell::kScreenWidth;
constexpr COLORREF kSheetSurface = RGB(0xF5, 0xF6, 0xF7);
constexpr COLORREF kListSurface = RGB(0xFF, 0xFF, 0xFF);
}  // namespace

// One item of the list: its text, a divider below, highlighted while pressed
// or chosen by the keyboard.
class PopupMenuSheet::Row : public UiWin {
 public:
  Row(PopupMenuSheet& sheet, int index) : sheet_(sheet), index_(index) {}

  void PaintWin(Canvas& canvas) override {
    const MzPopupMenu::Item& item = sheet_.menu_.GetItems()[index_];
    if (item.flags & MF_SEPARATOR) {
      canvas.FillRect(16, height_ / 2, width_ - 32, 1, Color::Rgb(0xBF, 0xC3, 0xC8));
      return;
    }
    if (pressed_ || sheet_.highlight_ == index_) {
      canvas.FillRect(0, 0, width_, height_, Color::Rgb(0xCF, 0xE2, 0xF8));
    }
    ThemeColors theme;
    if (Shell* shell = Shell::Current()) theme = shell->Theme();
    const bool grayed = (item.flags & MF_GRAYED) != 0;
    const Color text = grayed ? Color::Rgb(0xA0, 0xA0, 0xA0)
                              : Color::FromColorRef(ReadableText(theme.list_text, kListSurface,
                                                                 ThemeColors{}.list_text));
    canvas.DrawText(item.text, RECT{28, 0, width_ - 20, height_},
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, text, 22);
    if (index_ + 1 < static_cast<int>(sheet_.menu_.GetItems().size())) {
      canvas.FillRect(20, height_ - 1, width_ - 40, 1, Color::Rgb(0xDA, 0xDC, 0xE0));
    }
  }
  void OnPress(int, int) override {
    if (!sheet_.Selectable(index_)) return;
    pressed_ = true;
    Invalidate();
  }
  void OnRelease(int, int, bool inside) override {
    const bool was = pressed_;
    pressed_ = false;
    Invalidate();
    if (was && inside) sheet_.Choose(static_cast<int>(sheet_.menu_.GetItems()[index_].id));
  }
  void OnPressCancelled() override {
    pressed_ = false;
    Invalidate();
  }

 private:
  PopupMenuSheet& sheet_;
  int index_;
  bool pressed_ = false;
};

PopupMenuSheet::PopupMenuSheet(const MzPopupMenu& menu)
    : menu_(menu), cancel_(u"取消", [this] { Choose(0); }) {
  const auto& items = menu.GetItems();
  int y = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    auto row = std::make_unique<Row>(*this, static_cast<int>(i));
    const int h = (items[i].flags & MF_SEPARATOR) ? kSeparatorHeight : MzPopupMenu::kRowHeight;
    row->SetBounds(0, y, kWidth, h);
    y += h;
    list_.AddChild(row.get());
    rows_.push_back(std::move(row));
  }
  const int max_list = Shell::kScreenHeight - Shell::kStatusBarHeight - MzPopupMenu::kTopGap -
                       MzPopupMenu::kTitleHeight - MzPopupMenu::kCancelHeight;
  const int list_height = std::min(y, max_list);
  height_ = MzPopupMenu::kTitleHeight + list_height + MzPopupMenu::kCancelHeight;
  top_ = Shell::kScreenHeight - height_;
  list_.SetBounds(0, top_ + MzPopupMenu::kTitleHeight, kWidth, list_height);
  list_.EnableScrollBarV(true);
  cancel_.SetBounds(20, Shell::kScreenHeight - MzPopupMenu::kCancelHeight + 14, kWidth - 40, 56);
  roots_ = {&list_, &cancel_};
}

PopupMenuSheet::~PopupMenuSheet() {
  // Rows go before the list; detach them so neither side touches the other.
  for (auto& row : rows_) list_.RemoveChild(row.get());
}

bool PopupMenuSheet::Selectable(int index) const {
  const auto& items = menu_.GetItems();
  return index >= 0 && index < static_cast<int>(items.size()) &&
         !(items[index].flags & (MF_SEPARATOR | MF_GRAYED));
}

void PopupMenuSheet::Choose(int id) {
  if (done_) return;
  result_ = id;
  done_ = true;
}

RECT PopupMenuSheet::ItemRect(int index) const {
  if (index < 0 || index >= static_cast<int>(rows_.size())) return RECT{0, 0, 0, 0};
  const UiWin& row = *rows_[index];
  const int y = list_.GetPosY() + row.GetPosY() - list_.GetScrollY();
  return RECT{0, y, kWidth, y + row.GetHeight()};
}

RECT PopupMenuSheet::CancelRect() const {
  return RECT{cancel_.GetPosX(), cancel_.GetPosY(), cancel_.GetPosX() + cancel_.GetWidth(),
              cancel_.GetPosY() + cancel_.GetHeight()};
}

void PopupMenuSheet::MoveHighlight(int step) {
  const int n = static_cast<int>(rows_.size());
  if (n == 0) return;
  int i = highlight_;
  if (i < 0) {
    i = step > 0 ? -1 : n;
  }
  for (int tries = 0; tries < n; ++tries) {
    i += step;
    if (i < 0 || i >= n) return;  // stays where it was at either end
    if (Selectable(i)) break;
  }
  if (!Selectable(i)) return;
  highlight_ = i;
  // Bring the highlighted row into view.
  const UiWin& row = *rows_[i];
  if (row.GetPosY() < list_.GetScrollY()) {
    list_.ScrollTo(row.GetPosY());
  } else if (row.GetPosY() + row.GetHeight() > list_.GetScrollY() + list_.GetHeight()) {
    list_.ScrollTo(row.GetPosY() + row.GetHeight() - list_.GetHeight());
  }
  list_.Invalidate();
}

void PopupMenuSheet::HandleInput(const InputEvent& e) {
  switch (e.type) {
    case InputEvent::Type::Press:
      if (e.y < top_) {
        outside_press_ = true;
      } else {
        finger_.Press(roots_, e.x, e.y);
      }
      break;
    case InputEvent::Type::Move:
      if (!outside_press_) finger_.Move(e.x, e.y);
      break;
    case InputEvent::Type::Release:
      if (outside_press_) {
        outside_press_ = false;
        if (e.y < top_) Choose(0);
      } else {
        finger_.Release(e.x, e.y);
      }
      break;
    case InputEvent::Type::Wheel:
      finger_.Wheel(roots_, e.x, e.y, e.wheel);
      break;
    case InputEvent::Type::Key:
      switch (e.key) {
        case InputKey::Escape:
          Choose(0);
          break;
        case InputKey::Down:
          MoveHighlight(1);
          break;
        case InputKey::Up:
          MoveHighlight(-1);
          break;
        case InputKey::Enter:
          if (Selectable(highlight_)) {
            Choose(static_cast<int>(menu_.GetItems()[highlight_].id));
          }
          break;
      }
      break;
    case InputEvent::Type::Quit:
      break;
  }
}

void PopupMenuSheet::PaintLayer(Canvas& canvas, double shown) {
  canvas.FillRect(0, 0, kWidth, Shell::kScreenHeight, Color::Rgb(0, 0, 0, 0.45 * shown));
  const int offset = static_cast<int>(std::lround((1.0 - shown) * height_));
  canvas.Translate(0, offset);
  ThemeColors theme;
  if (Shell* shell = Shell::Current()) theme = shell->Theme();
  canvas.FillRoundRect(0, top_, kWidth, height_ + 24, 16, Color::FromColorRef(kSheetSurface));
  // Title: the picture, then the text beside it.
  int text_left = 24;
  if (const ImagingHelper* image = menu_.GetTitleImage(); image != nullptr && !image->IsNull()) {
    image->Draw(canvas, 20, top_ + (MzPopupMenu::kTitleHeight - image->GetImageHeight()) / 2);
    text_left = 20 + image->GetImageWidth() + 14;
  }
  canvas.DrawText(menu_.GetTitle(),
                  RECT{text_left, top_, kWidth - 20, top_ + MzPopupMenu::kTitleHeight},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
                  Color::FromColorRef(
                      ReadableText(theme.window_text, kSheetSurface, ThemeColors{}.window_text)),
                  21, true);
  canvas.FillRect(0, top_ + MzPopupMenu::kTitleHeight - 1, kWidth, 1,
                  Color::Rgb(0xC8, 0xCB, 0xCF));
  canvas.FillRect(0, list_.GetPosY(), kWidth, list_.GetHeight(), Color::FromColorRef(kListSurface));
  list_.Paint(canvas);
  const int cancel_top = Shell::kScreenHeight - MzPopupMenu::kCancelHeight;
  canvas.FillRect(0, cancel_top, kWidth, 1, Color::Rgb(0xC8, 0xCB, 0xCF));
  cancel_.Paint(canvas);
}
