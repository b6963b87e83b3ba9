#include "studio/restore_confirmation.h"

#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "studio/studio_texts.h"

namespace {
constexpr int kSheetWidth = 320;
constexpr int kPad = 16;
constexpr int kButtonHeight = 40;
constexpr int kButtonGap = 20;
constexpr int kAnswerYes = 1;
constexpr int kAnswerNo = 2;
}  // namespace

RestoreConfirmation::RestoreConfirmation(int studio_width)
    : title_(18, true, Color::Rgb(0x20, 0x20, 0x20)),
      note_(12, false, Color::Rgb(0x60, 0x60, 0x60)),
      confirm_(studio_text::kConfirm, StudioButton::Look::kDanger),
      cancel_(studio_text::kCancel, StudioButton::Look::kLight) {
  SetPlace(Place::Side);
  confirm_.SetID(kAnswerYes);
  cancel_.SetID(kAnswerNo);
  SetDimsBehind(true);
  const int inner = kSheetWidth - 2 * kPad;
  title_.SetText(studio_text::kConfirmTitle);
  note_.SetText(studio_text::kConfirmNote);
  int y = 18;
  const int title_height = title_.HeightFor(inner);
  title_.SetBounds(kPad, y, inner, title_height);
  y += title_height + 8;
  const int note_height = note_.HeightFor(inner);
  note_.SetBounds(kPad, y, inner, note_height);
  y += note_height + 20;
  const int button_width = (inner - kButtonGap) / 2;
  confirm_.SetBounds(kPad, y, button_width, kButtonHeight);
  cancel_.SetBounds(kPad + button_width + kButtonGap, y, button_width, kButtonHeight);
  const int height = y + kButtonHeight + 20;
  const int left = (studio_width - kSheetWidth) / 2;
  const int top = (Shell::kScreenHeight - height) / 2;
  SetFrame(RECT{left, top, left + kSheetWidth, top + height});
  for (UiWin* e : {static_cast<UiWin*>(&title_), static_cast<UiWin*>(&note_),
                   static_cast<UiWin*>(&confirm_), static_cast<UiWin*>(&cancel_)}) {
    AddRoot(e);
  }
  SetFocus(&cancel_);
}

void RestoreConfirmation::PostCommand(WPARAM wParam, LPARAM /*lParam*/) {
  if (!IsDone()) EndModal(static_cast<int>(wParam & 0xFFFF));
}

bool RestoreConfirmation::Ask() { return RunModal(false, false) == kAnswerYes; }

void RestoreConfirmation::PaintContent(Canvas& canvas) {
  const RECT& f = Frame();
  canvas.FillRoundRect(0, 0, f.right - f.left, f.bottom - f.top, 12, Color::Rgb(0xFF, 0xFF, 0xFF));
  for (UiWin* e : Roots()) e->Paint(canvas);
}

bool RestoreConfirmation::OnKey(InputKey key) {
  if (key == InputKey::Escape) {
    EndModal(kAnswerNo);
    return true;
  }
  return ElementLayer::OnKey(key);
}

void RestoreConfirmation::OnTapOutside() { EndModal(kAnswerNo); }
