#include "platform/ui/popup_menu_sheet.h"

#include <algorithm>

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
    const ThemeColors& theme = Theme();
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
  SetFrame(RECT{0, Shell::kScreenHeight - height_, kWidth, Shell::kScreenHeight});
  SetDimsBehind(true);
  list_.SetBounds(0, MzPopupMenu::kTitleHeight, kWidth, list_height);
  list_.EnableScrollBarV(true);
  cancel_.SetBounds(20, height_ - MzPopupMenu::kCancelHeight + 14, kWidth - 40, 56);
  AddRoot(&list_);
  AddRoot(&cancel_);
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
  if (!IsDone()) EndModal(id);
}

RECT PopupMenuSheet::ItemRect(int index) const {
  if (index < 0 || index >= static_cast<int>(rows_.size())) return RECT{0, 0, 0, 0};
  const UiWin& row = *rows_[index];
  const int y = SheetTop() + list_.GetPosY() + row.GetPosY() - list_.GetScrollY();
  return RECT{0, y, kWidth, y + row.GetHeight()};
}

RECT PopupMenuSheet::CancelRect() const {
  const int top = SheetTop() + cancel_.GetPosY();
  return RECT{cancel_.GetPosX(), top, cancel_.GetPosX() + cancel_.GetWidth(),
              top + cancel_.GetHeight()};
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

bool PopupMenuSheet::OnKey(InputKey key) {
  switch (key) {
    case InputKey::Escape:
      Choose(0);
      return true;
    case InputKey::Down:
      MoveHighlight(1);
      return true;
    case InputKey::Up:
      MoveHighlight(-1);
      return true;
    case InputKey::Enter:
    case InputKey::Space:
      if (!Selectable(highlight_)) return ElementLayer::OnKey(key);  // a focused 取消
      Choose(static_cast<int>(menu_.GetItems()[highlight_].id));
      return true;
    default:
      return ElementLayer::OnKey(key);
  }
}

void PopupMenuSheet::OnTapOutside() { Choose(0); }

void PopupMenuSheet::PaintContent(Canvas& canvas) {
  const ThemeColors& theme = Theme();
  canvas.FillRoundRect(0, 0, kWidth, height_ + 24, 16, Color::FromColorRef(kSheetSurface));
  // Title: the picture, then the text beside it.
  int text_left = 24;
  if (const ImagingHelper* image = menu_.GetTitleImage(); image != nullptr && !image->IsNull()) {
    image->Draw(canvas, 20, (MzPopupMenu::kTitleHeight - image->GetImageHeight()) / 2);
    text_left = 20 + image->GetImageWidth() + 14;
  }
  canvas.DrawText(menu_.GetTitle(), RECT{text_left, 0, kWidth - 20, MzPopupMenu::kTitleHeight},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
                  Color::FromColorRef(
                      ReadableText(theme.window_text, kSheetSurface, ThemeColors{}.window_text)),
                  21, true);
  canvas.FillRect(0, MzPopupMenu::kTitleHeight - 1, kWidth, 1, Color::Rgb(0xC8, 0xCB, 0xCF));
  canvas.FillRect(0, list_.GetPosY(), kWidth, list_.GetHeight(), Color::FromColorRef(kListSurface));
  list_.Paint(canvas);
  const int cancel_top = height_ - MzPopupMenu::kCancelHeight;
  canvas.FillRect(0, cancel_top, kWidth, 1, Color::Rgb(0xC8, 0xCB, 0xCF));
  cancel_.Paint(canvas);
}
