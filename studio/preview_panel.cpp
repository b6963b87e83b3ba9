#include "studio/preview_panel.h"

#include <cmath>

#include <algorithm>
#include <initializer_list>

#include "model/theme_targets.h"
#include "platform/file/replace_file.h"
#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/ui/window.h"
#include "platform/win/registry.h"
#include "studio/restore_confirmation.h"
#include "studio/studio_texts.h"
#include "studio/theme_history.h"

namespace {

const Color kDesk = Color::Rgb(0x2B, 0x2E, 0x33);
const Color kTitle = Color::Rgb(0xF2, 0xF4, 0xF7);
const Color kNote = Color::Rgb(0xB8, 0xBE, 0xC8);
const Color kFailure = Color::Rgb(0xFF, 0x8F, 0x85);
const Color kSuccess = Color::Rgb(0x9D, 0xE0, 0x9D);
const Color kNotice = Color::Rgb(0xF2, 0xC9, 0x4C);

constexpr int kMargin = 12;
constexpr int kStatusTop = 56;
// The status lines have this much room before the sample screens begin; a
// longer message moves the screens down rather than being cut.
constexpr int kStatusRoom = kSampleScreensTop - 2 - kStatusTop;

}  // namespace

PreviewPanel::PreviewPanel(Shell* shell)
    : ElementLayer(shell),
      title_(17, true, kTitle),
      note_(12, false, kNote),
      status_(12, false, kSuccess),
      notice_(12, false, kNotice),
      restore_(studio_text::kRestore, StudioButton::Look::kPlain),
      hide_(studio_text::kHide, StudioButton::Look::kPlain),
      screens_(theme_, warnings_) {
  SetPlace(Place::Side);
  title_.SetText(studio_text::kTitle);
  note_.SetText(studio_text::kNote);
  title_.SetBounds(kMargin, 8, 328, 28);
  note_.SetBounds(kMargin, 38, kWidth - 2 * kMargin, 18);
  title_.SetCentredVertically(true);
  note_.SetCentredVertically(true);
  restore_.SetBounds(344, 8, 88, 28);
  hide_.SetBounds(440, 8, 72, 28);
  restore_.SetID(kRestoreId);
  hide_.SetID(kHideId);
  tab_.SetID(kShowId);
  screens_.SetID(kScreensId);
  tab_.SetBounds(0, 0, kTabWidth, kHeight);
  for (UiWin* e : std::initializer_list<UiWin*>{&title_, &note_, &status_, &notice_, &restore_, &hide_,
                                                &screens_, &tab_}) {
    AddRoot(e);
  }
  PlaceResized(kWidth, kHeight);
  Show(ThemeSnapshot::Read());
}

PreviewPanel::~PreviewPanel() {
  if (Shell* shell = GetShell(); shell != nullptr && hwnd_ != nullptr) {
    shell->UnregisterTarget(hwnd_);
  }
}

bool PreviewPanel::Reload() {
  ThemeSnapshot now = ThemeSnapshot::Read();
  if (now == theme_) return false;
  // The outcome of the last command is old news once the theme changed again.
  result_.clear();
  result_failed_ = false;
  Show(std::move(now));
  return true;
}

void PreviewPanel::Show(ThemeSnapshot theme) {
  theme_ = std::move(theme);
  warnings_ = FindReadabilityWarnings(theme_);
  UpdateStatus();
  screens_.Invalidate();
}

void PreviewPanel::UpdateStatus() {
  if (!result_.empty()) {
    status_.SetText(result_);
  } else if (!theme_.readable()) {
    status_.SetText(studio_text::Unreadable(RegistryFilePath(), theme_.status()));
  } else {
    status_.SetText(u"");
  }
  const bool bad = result_failed_ || (result_.empty() && !theme_.readable());
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
      if (screens_click_) screens_click_(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    default:
      break;
  }
}

void PreviewPanel::AskRestore() {
  if (confirmation_ != nullptr) return;
  RestoreConfirmation sheet(kWidth, GetShell());
  confirmation_ = &sheet;
  const bool yes = sheet.Ask();
  confirmation_ = nullptr;
  if (yes) RestoreDefaults();
}

void PreviewPanel::RestoreDefaults() {
  std::vector<RegistryValueName> names;
  for (const ThemeTarget& target : kThemeTargets) names.push_back({target.key, target.value_name});
  const LONG status = RegistryDeleteValues(HKEY_LOCAL_MACHINE, names.data(), names.size());
  const bool failed = status != ERROR_SUCCESS;
  // One write, so one step of the history; recorded as a restore before the
  // watch sees it as a change.
  std::string unrecorded;
  if (!failed) ThemeHistory(RegistryFilePath()).Record("restore", unrecorded);
  std::u16string result = failed ? studio_text::RestoreFailed(RegistryFilePath(), status)
                                 : std::u16string(studio_text::kRestored);
  Reload();
  Report(std::move(result), failed);
}

void PreviewPanel::Report(std::u16string message, bool failed) {
  result_failed_ = failed;
  result_ = std::move(message);
  UpdateStatus();
}

void PreviewPanel::PaintContent(Canvas& canvas) {
  const RECT& f = Frame();
  canvas.FillRect(0, 0, f.right - f.left, f.bottom - f.top, kDesk);
  for (UiWin* e : Roots()) e->Paint(canvas);
}

void PreviewPanel::Paint(Canvas& canvas, double scale) {
  canvas.Save();
  canvas.Scale(scale);
  canvas.ClipRect(0, 0, kWidth, kHeight);
  PaintContent(canvas);
  canvas.Restore();
}

bool WritePreviewPng(const std::string& path, double scale, std::string& error,
                     std::string* unreadable, ColourVision vision) {
  if (!(scale >= 0.25 && scale <= 8)) {
    error = "the scale must be between 0.25 and 8";
    return false;
  }
  PreviewPanel panel;
  if (unreadable != nullptr) *unreadable = panel.theme().problem();
  std::string png;
  const int width = static_cast<int>(std::lround(PreviewPanel::kWidth * scale));
  const int height = static_cast<int>(std::lround(PreviewPanel::kHeight * scale));
  auto paint = [&](Canvas& c) {
    panel.Paint(c, scale);
    ShowAsSeenWith(c, 0, 0, width, height, scale, panel.theme(), vision);
  };
  if (!Canvas::RenderPng(width, height, paint, png)) {
    error = "cannot draw the preview";
    return false;
  }
  // A link at the path is replaced, never written through. A device, a pipe
  // or a socket there is not the user's picture to replace (/dev/null among them).
  FileError failure;
  if (ReplaceFile(path, png, ReplaceOptions{.link = LinkAtPath::kReplace}, &failure)) return true;
  error = "cannot write " + path + ": " + failure.reason;
  return false;
}
