#include "studio/widgets/confirmation_sheet.h"

#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "studio/studio_texts.h"
#include "studio/widgets/style.h"

namespace {
using namespace studio_style;
constexpr int kPad = kSheetPad;
constexpr int kButtonHeight = kSheetButtonHeight;
constexpr int kButtonGap = kSheetButtonGap;
constexpr int kAnswerYes = 1;
constexpr int kAnswerNo = 2;
}  // namespace

ConfirmationSheet::ConfirmationSheet(int studio_width, Shell* shell, std::u16string title,
                                     std::u16string note, bool undoable, UiWin* detail, int detail_height,
                                     int sheet_width)
    : StudioLayer(shell),
      title_(18, true, kSheetInk),
      note_(kNotePx, false, kSheetNote),
      confirm_(studio_text::kConfirm, undoable ? StudioButton::Look::kGo : StudioButton::Look::kDanger),
      cancel_(studio_text::kCancel, StudioButton::Look::kLight) {
  SetPlace(Place::Side);
  confirm_.OnClick([this] { Answer(kAnswerYes); });
  cancel_.OnClick([this] { Answer(kAnswerNo); });
  SetDimsBehind(true);
  const int inner = sheet_width - 2 * kPad;
  title_.SetText(std::move(title));
  note_.SetText(std::move(note));
  int y = 18;
  const int title_height = title_.HeightFor(inner);
  title_.SetBounds(kPad, y, inner, title_height);
  y += title_height + 8;
  const int note_height = note_.HeightFor(inner);
  note_.SetBounds(kPad, y, inner, note_height);
  y += note_height + 20;
  AddRoot(&title_);
  AddRoot(&note_);
  if (detail != nullptr) {
    detail->SetBounds(kPad, y - 8, inner, detail_height);
    AddRoot(detail);
    y += detail_height + 12;
  }
  const int button_width = (inner - kButtonGap) / 2;
  confirm_.SetBounds(kPad, y, button_width, kButtonHeight);
  cancel_.SetBounds(kPad + button_width + kButtonGap, y, button_width, kButtonHeight);
  const int height = y + kButtonHeight + 20;
  const int left = (studio_width - sheet_width) / 2;
  const int top = (Shell::kScreenHeight - height) / 2;
  SetFrame(RECT{left, top, left + sheet_width, top + height});
  AddRoot(&confirm_);
  AddRoot(&cancel_);
  SetFocus(&cancel_);
}

void ConfirmationSheet::Answer(int answer) {
  if (IsRunningModal() && !IsDone()) EndModal(answer);
}

bool ConfirmationSheet::Ask() { return RunModal(false, false) == kAnswerYes; }

void ConfirmationSheet::PaintContent(Canvas& canvas) {
  const RECT& f = Frame();
  canvas.FillRoundRect(0, 0, f.right - f.left, f.bottom - f.top, 12, kSheet);
  for (UiWin* e : Roots()) e->Paint(canvas);
  PaintFocusOutside(canvas);
}

bool ConfirmationSheet::OnKey(InputKey key) {
  if (key == InputKey::Escape) {
    EndModal(kAnswerNo);
    return true;
  }
  if (key == InputKey::Left || key == InputKey::Right) {
    SetFocus(key == InputKey::Left ? &confirm_ : &cancel_);
    Repaint();
    return true;
  }
  return ElementLayer::OnKey(key);
}

void ConfirmationSheet::OnTapOutside() { EndModal(kAnswerNo); }
