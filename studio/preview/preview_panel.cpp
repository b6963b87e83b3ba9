#include "studio/preview/preview_panel.h"

#include <cmath>

#include <algorithm>
#include <initializer_list>

#include "model/color_swatches.h"
#include "model/theme_targets.h"
#include "platform/file/utf16.h"
#include "platform/file/replace_file.h"
#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/ui/window.h"
#include "platform/win/registry.h"
#include "studio/card/item_card.h"
#include "studio/preview/restore_confirmation.h"
#include "studio/shelf/shelf_texts.h"
#include "studio/shelf/theme_shelf.h"
#include "studio/studio_texts.h"

namespace {

using namespace studio_colour;
const Color kNotice = Color::Rgb(0xF2, 0xC9, 0x4C);

constexpr int kMargin = 12;
constexpr int kStatusTop = 56;
// The "every eye" buttons stand right of the note.
constexpr int kVisionWidth = 44;
constexpr int kVisionGap = 4;
constexpr int kVisionLeft = PreviewPanel::kWidth - kMargin - 4 * kVisionWidth - 3 * kVisionGap;
// The status lines have this much room before the sample screens begin; a
// longer message moves the screens down rather than being cut.
constexpr int kStatusRoom = kSampleScreensTop - 2 - kStatusTop;

}  // namespace

PreviewPanel::PreviewPanel(Shell* shell, ThemeStore* store)
    : ElementLayer(shell),
      own_store_(store == nullptr ? std::make_unique<ThemeStore>(RegistryFilePath()) : nullptr),
      store_(store == nullptr ? *own_store_ : *store),
      title_(17, true, kInk),
      note_(12, false, kQuiet),
      status_(12, false, kSuccess),
      notice_(12, false, kNotice),
      themes_(shelf_text::kOpen, StudioButton::Look::kPlain),
      restore_(studio_text::kRestore, StudioButton::Look::kPlain),
      hide_(studio_text::kHide, StudioButton::Look::kPlain),
      screens_(theme_, warnings_, kDesk),
      visions_{VisionToggle(kVisions[0]), VisionToggle(kVisions[1]), VisionToggle(kVisions[2]),
               VisionToggle(kVisions[3])} {
  SetPlace(Place::Side);
  title_.SetText(studio_text::kTitle);
  note_.SetText(studio_text::kNote);
  title_.SetBounds(kMargin, 8, 288, 28);
  note_.SetBounds(kMargin, 38, kVisionLeft - kMargin - 6, 18);
  title_.SetCentredVertically(true);
  note_.SetCentredVertically(true);
  themes_.SetBounds(304, 8, 56, 28);
  restore_.SetBounds(368, 8, 84, 28);
  hide_.SetBounds(460, 8, 52, 28);
  themes_.SetID(kThemesId);
  restore_.SetID(kRestoreId);
  hide_.SetID(kHideId);
  tab_.SetID(kShowId);
  screens_.SetID(kScreensId);
  tab_.SetBounds(0, 0, kTabWidth, kHeight);
  for (UiWin* e : std::initializer_list<UiWin*>{&title_, &note_, &status_, &notice_, &themes_, &restore_,
                                                &hide_}) {
    AddRoot(e);
  }
  for (int i = 0; i < 4; ++i) {
    visions_[i].SetID(kFirstVisionId + i);
    visions_[i].SetBounds(kVisionLeft + i * (kVisionWidth + kVisionGap), 37, kVisionWidth, 20);
    visions_[i].SetOn(kVisions[i] == vision_);
    AddRoot(&visions_[i]);
  }
  AddRoot(&screens_);
  AddRoot(&tab_);
  PlaceResized(kWidth, kHeight);
  ThemeValues now;
  std::string problem;
  LONG status = ERROR_SUCCESS;
  if (!store_.Read(now, problem, &status) && problem.empty()) problem = "unknown error";
  Show(std::move(now), std::move(problem), status);
}

PreviewPanel::~PreviewPanel() {
  if (Shell* shell = GetShell(); shell != nullptr && hwnd_ != nullptr) {
    shell->UnregisterTarget(hwnd_);
  }
}

bool PreviewPanel::Reload() {
  ThemeValues now;
  std::string problem;
  LONG status = ERROR_SUCCESS;
  if (!store_.Read(now, problem, &status) && problem.empty()) problem = "unknown error";
  if (now == theme_ && problem == read_problem_ && status == read_status_) return false;
  // The outcome of the last command is old news once the theme changed again.
  result_.clear();
  result_failed_ = false;
  Show(std::move(now), std::move(problem), status);
  return true;
}

void PreviewPanel::Show(ThemeValues theme, std::string problem, LONG status) {
  theme_ = std::move(theme);
  read_problem_ = std::move(problem);
  read_status_ = status;
  warnings_ = FindReadabilityWarnings(theme_);
  UpdateStatus();
  screens_.Invalidate();
  ItemCard* card = card_ != nullptr ? card_ : pictured_card_.get();
  if (card != nullptr) card->Show(theme_, card->Item(), kWidth, kHeight, vision_);
}

void PreviewPanel::UpdateStatus() {
  if (!result_.empty()) {
    status_.SetText(result_);
  } else if (!read_problem_.empty()) {
    status_.SetText(studio_text::Unreadable(RegistryFilePath(), read_status_));
  } else {
    status_.SetText(u"");
  }
  const bool bad = result_failed_ || (result_.empty() && !read_problem_.empty());
  status_.SetColor(bad ? kFailure : kSuccess);
  Layout();
}

void PreviewPanel::SetNotice(std::u16string notice) {
  if (notice == notice_.Text()) return;
  notice_.SetText(std::move(notice));
  Layout();
}

void PreviewPanel::Layout() {
  const int width = kWidth - 2 * kMargin;
  const int notice = notice_.Text().empty() ? 0 : notice_.HeightFor(width);
  const int status = std::max(status_.HeightFor(width), kStatusRoom - notice);
  status_.SetBounds(kMargin, kStatusTop, width, status);
  notice_.SetBounds(kMargin, kStatusTop + status, width, notice);
  const int below = std::max(0, status + notice - kStatusRoom);
  screens_.SetBounds(0, kSampleScreensTop + below, kSampleScreensWidth, kSampleScreensHeight);
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

void PreviewPanel::PostCommand(WPARAM wParam, LPARAM lParam) {
  Shell* shell = GetShell();
  if (shell == nullptr) return;
  if (hwnd_ == nullptr) hwnd_ = shell->RegisterTarget(this);
  shell->PostMessage(hwnd_, WM_COMMAND, wParam, lParam);
}

void PreviewPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND) return;
  Shell* shell = GetShell();
  switch (static_cast<int>(wParam & 0xFFFF)) {
    case kThemesId:
      OpenShelf();
      break;
    case kRestoreId:
      AskRestore();
      break;
    case kHideId:
      if (shell != nullptr) shell->ShowSide(false);
      break;
    case kShowId:
      if (shell != nullptr) shell->ShowSide(true);
      break;
    case kScreensId:
      if ((wParam >> 16) == SampleScreensView::kChooseByKey) {
        PointAt(static_cast<int>(lParam));
        break;
      }
      if (screens_click_) screens_click_(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      PointAt(ItemAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      break;
    case kPickSwatchId:
      WriteSwatch(static_cast<int>(lParam));
      break;
    default: {
      const int vision = static_cast<int>(wParam & 0xFFFF) - kFirstVisionId;
      if (vision >= 0 && vision < 4) SetVision(kVisions[vision]);
      break;
    }
  }
}

void PreviewPanel::PointAt(int number) {
  if (number < 1 || number > static_cast<int>(kThemeTargetCount)) return;
  if (GetShell() == nullptr) {
    // For a picture: the card stays open where it would stand.
    screens_.SetSelected(number);
    pictured_card_ = std::make_unique<ItemCard>(nullptr, nullptr);
    pictured_card_->Show(theme_, number, kWidth, kHeight, vision_);
    Repaint();
    return;
  }
  if (card_ != nullptr || confirmation_ != nullptr || shelf_ != nullptr) return;
  ItemCard card(GetShell(), [this](int swatch) { PostCommand(kPickSwatchId, swatch); });
  card_ = &card;
  // A tap on another item beside the card points at that one instead.
  for (int item = number; item != 0;) {
    screens_.SetSelected(item);
    card.Show(theme_, item, kWidth, kHeight, vision_);
    const std::optional<POINT> tap = card.Run();
    const int shift = screens_.GetPosY() - kSampleScreensTop;
    item = tap ? ItemAt(tap->x, tap->y - shift) : 0;
    if (GetShell() == nullptr || GetShell()->QuitRequested()) break;
  }
  card_ = nullptr;
  screens_.SetSelected(0);
  SetFocus(&screens_);
  Repaint();
}

void PreviewPanel::WriteSwatch(int control_id) {
  const ColorSwatch* swatch = FindColorSwatch(control_id);
  const int item = screens_.Selected();
  // Only the phone's own swatches are written, and only into the item the
  // card shows.
  if (swatch == nullptr || card_ == nullptr || item != card_->Item()) return;
  const ThemeTarget& target = kThemeTargets[static_cast<std::size_t>(item - 1)];
  std::string problem;
  const bool written = store_.SetItem(item, swatch->color, problem);
  Reload();
  if (card_ == nullptr) return;
  card_->SetResult(written ? studio_text::SwatchWritten(control_id, target.label)
                           : studio_text::SwatchNotWritten(RegistryFilePath()),
                   !written);
  card_->Show(theme_, item, kWidth, kHeight, vision_);
}

void PreviewPanel::SetVision(ColourVision vision) {
  vision_ = vision;
  for (VisionToggle& toggle : visions_) toggle.SetOn(toggle.Vision() == vision);
  Repaint();
}

const VisionToggle& PreviewPanel::VisionButton(ColourVision vision) const {
  for (const VisionToggle& toggle : visions_) {
    if (toggle.Vision() == vision) return toggle;
  }
  return visions_[0];
}

void PreviewPanel::AskRestore() {
  if (confirmation_ != nullptr) return;
  RestoreConfirmation sheet(kWidth, GetShell());
  confirmation_ = &sheet;
  const bool yes = sheet.Ask();
  confirmation_ = nullptr;
  if (yes) RestoreDefaults();
}

void PreviewPanel::OpenShelf() {
  if (shelf_ != nullptr || confirmation_ != nullptr || card_ != nullptr) return;
  ThemeShelf shelf(kWidth, GetShell(), store_);
  shelf.SetExportForm(export_form_);
  shelf_ = &shelf;
  shelf.Run();
  shelf_ = nullptr;
  export_form_ = shelf.ExportForm();
  Reload();
}

void PreviewPanel::RestoreDefaults() {
  // One write, and one step of the history, recorded as a restore.
  std::string problem;
  LONG status = ERROR_SUCCESS;
  const bool failed = !store_.Restore(problem, &status);
  std::u16string result = failed ? studio_text::RestoreFailed(RegistryFilePath(), status)
                                 : std::u16string(studio_text::kRestored);
  Reload();
  Report(std::move(result), failed);
}

void PreviewPanel::Report(std::u16string message, bool failed) {
  result_failed_ = failed;
  result_ = std::move(message);
  UpdateStatus();
  if (shelf_ != nullptr) shelf_->Say(result_, failed);
  if (card_ != nullptr) {
    card_->SetResult(result_, failed);
    card_->Show(theme_, card_->Item(), kWidth, kHeight, vision_);
  }
}

void PreviewPanel::PaintContent(Canvas& canvas) {
  const RECT& f = Frame();
  canvas.FillRect(0, 0, f.right - f.left, f.bottom - f.top, kDesk);
  for (UiWin* e : Roots()) e->Paint(canvas);
  if (pictured_card_ != nullptr) {
    canvas.Save();
    pictured_card_->PaintLayer(canvas, 1.0);
    canvas.Restore();
  }
  if (vision_ != ColourVision::kTypical && f.right - f.left >= kWidth) {
    // The note of pairs goes on its line between the screens, wherever
    // they stand.
    const int shift = screens_.GetPosY() - kSampleScreensTop;
    canvas.Save();
    canvas.Translate(0, shift);
    ShowAsSeenWith(canvas, RECT{0, -shift, kWidth, kHeight - shift}, theme_, vision_);
    canvas.Restore();
  }
}

void PreviewPanel::Paint(Canvas& canvas, double scale) {
  canvas.Save();
  canvas.Scale(scale);
  canvas.ClipRect(0, 0, kWidth, kHeight);
  PaintContent(canvas);
  canvas.Restore();
}

bool WritePreviewPng(const std::string& path, double scale, std::string& error,
                     std::string* unreadable, ColourVision vision, int item) {
  if (!(scale >= 0.25 && scale <= 8)) {
    error = "the scale must be between 0.25 and 8";
    return false;
  }
  PreviewPanel panel;
  if (unreadable != nullptr) *unreadable = panel.ReadProblem();
  panel.SetVision(vision);
  panel.PointAt(item);
  std::string png;
  const int width = static_cast<int>(std::lround(PreviewPanel::kWidth * scale));
  const int height = static_cast<int>(std::lround(PreviewPanel::kHeight * scale));
  auto paint = [&](Canvas& c) { panel.Paint(c, scale); };
  if (!Canvas::RenderPng(width, height, paint, png)) {
    error = "cannot draw the preview";
    return false;
  }
  // A link at the path is replaced, never written through. A device, a pipe
  // or a socket there is not the user's picture to replace (/dev/null among them).
  // What a killed run left beside it goes.
  FileError failure;
  const ReplaceOptions options{.link = LinkAtPath::kReplace, .clear_stale_temporaries = true};
  if (ReplaceFile(path, png, options, &failure)) return true;
  error = "cannot write " + path + ": " + failure.reason;
  return false;
}
