#include "studio/preview/preview_panel.h"

#include <algorithm>
#include <initializer_list>

#include "model/theme_targets.h"
#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/win/registry.h"
#include "studio/preview/item_places.h"
#include "studio/shelf/shelf_texts.h"
#include "studio/studio_texts.h"
#include "studio/widgets/style.h"

namespace {

using namespace studio_style;

// The top row: the title, then the buttons from the right edge.
constexpr int kRowTop = 6;
constexpr int kButtonGap = 6;
// The second row: the note, and right of it the "every eye" buttons.
constexpr int kSecondRowTop = kRowTop + kControlHeight + 3;
constexpr int kVisionWidth = 44;
constexpr int kVisionGap = 4;
constexpr int kVisionLeft = PreviewPanel::kWidth - kMargin - 4 * kVisionWidth - 3 * kVisionGap;
// The status lines: two lines between the rows and the sample screens,
// which never move.
constexpr int kStatusTop = kSecondRowTop + kControlHeight + 1;
constexpr int kStatusRoom = kSampleScreensTop - kStatusTop;

}  // namespace

PreviewPanel::PreviewPanel(Shell* shell, Actions actions)
    : StudioLayer(shell),
      warnings_(FindReadabilityWarnings(theme_)),
      title_(kTitlePx, true, kInk),
      note_(kNotePx, false, kQuiet),
      status_(kNotePx, false, kSuccess),
      notice_(kNotePx, false, kNotice),
      undo_(studio_text::kUndo, StudioButton::Look::kPlain),
      redo_(studio_text::kRedo, StudioButton::Look::kPlain),
      themes_(shelf_text::kOpen, StudioButton::Look::kPlain),
      restore_(studio_text::kRestore, StudioButton::Look::kPlain),
      hide_(studio_text::kHide, StudioButton::Look::kPlain),
      screens_(theme_, warnings_, kDesk),
      visions_{VisionToggle(kVisions[0]), VisionToggle(kVisions[1]), VisionToggle(kVisions[2]),
               VisionToggle(kVisions[3])} {
  SetPlace(Place::Side);
  title_.SetText(studio_text::kTitle);
  note_.SetText(studio_text::kNote);
  // The buttons of the top row from the right edge, each as wide as its
  // caption needs; the history's two stand apart from the others.
  int right = kWidth - kMargin;
  for (StudioButton* b : {&hide_, &restore_, &themes_, &redo_, &undo_}) {
    const int width = b->WidthNeeded();
    b->SetBounds(right - width, kRowTop, width, kControlHeight);
    right -= width + (b == &themes_ ? 3 * kButtonGap : kButtonGap);
  }
  title_.SetBounds(kMargin, kRowTop, right - 2 * kButtonGap - kMargin, kControlHeight);
  note_.SetBounds(kMargin, kSecondRowTop, kVisionLeft - kMargin - 6, kControlHeight);
  title_.SetCentredVertically(true);
  note_.SetCentredVertically(true);
  undo_.OnClick(std::move(actions.undo));
  redo_.OnClick(std::move(actions.redo));
  undo_.SetEnabled(false);
  redo_.SetEnabled(false);
  themes_.OnClick(std::move(actions.open_shelf));
  restore_.OnClick(std::move(actions.restore));
  screens_.OnChoose(std::move(actions.point_at));
  hide_.OnClick([this] {
    if (Shell* shell = GetShell()) shell->ShowSide(false);
  });
  tab_.OnClick([this] {
    if (Shell* shell = GetShell()) shell->ShowSide(true);
  });
  tab_.SetBounds(0, 0, kTabWidth, kHeight);
  for (UiWin* e : std::initializer_list<UiWin*>{&title_, &note_, &status_, &notice_, &undo_, &redo_, &themes_,
                                                &restore_, &hide_}) {
    AddRoot(e);
  }
  for (int i = 0; i < 4; ++i) {
    visions_[i].OnClick([this, vision = kVisions[i]] { SetVision(vision); });
    visions_[i].SetBounds(kVisionLeft + i * (kVisionWidth + kVisionGap), kSecondRowTop, kVisionWidth,
                          kControlHeight);
    visions_[i].SetOn(kVisions[i] == vision_);
    AddRoot(&visions_[i]);
  }
  AddRoot(&screens_);
  AddRoot(&tab_);
  PlaceResized(kWidth, kHeight);
  UpdateStatus();
}

bool PreviewPanel::Show(ThemeValues theme, std::string problem, LONG status) {
  if (theme == theme_ && problem == read_problem_ && status == read_status_) return false;
  theme_ = std::move(theme);
  read_problem_ = std::move(problem);
  read_status_ = status;
  warnings_ = FindReadabilityWarnings(theme_);
  result_.clear();
  result_failed_ = false;
  UpdateStatus();
  screens_.Invalidate();
  return true;
}

bool PreviewPanel::ShowRead(const ThemeStore& store) {
  ThemeValues now;
  std::string problem;
  LONG status = ERROR_SUCCESS;
  if (!store.Read(now, problem, &status) && problem.empty()) problem = "unknown error";
  return Show(std::move(now), std::move(problem), status);
}

void PreviewPanel::SetSelected(int number) {
  screens_.SetSelected(number);
  if (number == 0) SetFocus(&screens_);
}


void PreviewPanel::UpdateStatus() {
  if (!result_.empty()) {
    status_.SetText(result_);
  } else if (!read_problem_.empty()) {
    status_.SetText(studio_text::Unreadable(RegistryFilePath(), read_status_));
  } else {
    status_.SetText(history_);
  }
  const bool bad = result_failed_ || (result_.empty() && !read_problem_.empty());
  status_.SetColor(bad ? kFailure : result_.empty() ? kQuiet : kSuccess);
  Layout();
}

void PreviewPanel::SetHistory(const std::u16string& undo, const std::u16string& redo) {
  undo_.SetEnabled(!undo.empty());
  redo_.SetEnabled(!redo.empty());
  std::u16string line = studio_text::HistoryLine(undo, redo);
  if (line == history_) return;
  history_ = std::move(line);
  UpdateStatus();
}

void PreviewPanel::SetNotice(std::u16string notice) {
  if (notice == notice_.Text()) return;
  notice_.SetText(std::move(notice));
  Layout();
}

void PreviewPanel::Layout() {
  // The notice takes the last line of the room when there is one; nothing
  // said ever moves the screens.
  const int width = kWidth - 2 * kMargin;
  const int notice = notice_.Text().empty() ? 0 : kStatusRoom / 2;
  status_.SetBounds(kMargin, kStatusTop, width, kStatusRoom - notice);
  notice_.SetBounds(kMargin, kStatusTop + kStatusRoom - notice, width, notice);
  screens_.SetBounds(0, kSampleScreensTop, kSampleScreensWidth, kSampleScreensHeight);
}

void PreviewPanel::PlaceResized(int width, int /*height*/) {
  const bool shown = width >= kWidth;
  SetFrame(RECT{0, 0, width, kHeight});
  UiWin* focused = Focused();
  for (UiWin* e : Roots()) e->SetVisible((e == &tab_) != shown);
  // The focus goes along to what took the place of the focused control.
  if (focused != nullptr && focused != &tab_ && !shown) SetFocus(&tab_);
  if (focused == &tab_ && shown) SetFocus(&hide_);
  Repaint();
}

void PreviewPanel::SetVision(ColourVision vision) {
  vision_ = vision;
  for (VisionToggle& toggle : visions_) toggle.SetOn(toggle.Vision() == vision);
  Repaint();
}

void PreviewPanel::Report(std::u16string message, bool failed) {
  result_failed_ = failed;
  result_ = std::move(message);
  UpdateStatus();
}

void PreviewPanel::PaintContent(Canvas& canvas) { PaintWith(canvas, nullptr); }

void PreviewPanel::PaintWith(Canvas& canvas, ShellLayer* over) {
  const RECT& f = Frame();
  canvas.FillRect(0, 0, f.right - f.left, f.bottom - f.top, kDesk);
  for (UiWin* e : Roots()) e->Paint(canvas);
  if (over != nullptr) {
    canvas.Save();
    over->PaintLayer(canvas, 1.0);
    canvas.Restore();
  }
  if (vision_ != ColourVision::kTypical && f.right - f.left >= kWidth) {
    ShowAsSeenWith(canvas, RECT{0, 0, kWidth, kHeight}, theme_, vision_);
  }
  PaintFocusOutside(canvas);
}

void PreviewPanel::Paint(Canvas& canvas, double scale, ShellLayer* over) {
  canvas.Save();
  canvas.Scale(scale);
  canvas.ClipRect(0, 0, kWidth, kHeight);
  PaintWith(canvas, over);
  canvas.Restore();
}
