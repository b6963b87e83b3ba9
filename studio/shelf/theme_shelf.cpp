#include "studio/shelf/theme_shelf.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "model/theme_targets.h"
#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/file/utf16.h"
#include "platform/ui/window.h"
#include "studio/widgets/confirmation_sheet.h"
#include "platform/file/documents_folder.h"
#include "platform/file/user_folders.h"
#include "model/checks/readability.h"
#include "platform/shell/picture_file.h"
#include "studio/shelf/colour_maker.h"
#include "studio/shelf/maker_texts.h"
#include "studio/shelf/shelf_texts.h"
#include "studio/studio_texts.h"
#include "model/colour_hex.h"
#include "platform/file/shown_text.h"
#include "model/theme/theme_library.h"
#include "model/theme/theme_store.h"
#include "studio/shelf/import_sheet.h"
#include "studio/widgets/style.h"

namespace {

using namespace studio_style;

constexpr int kRowHeight = 60;
constexpr int kStatusRoom = 54;
constexpr int kChangeHeight = 22;
constexpr int kColourWidth = 80;  // a swatch and its "#RRGGBB"
constexpr int kChangeSheetWidth = 460;


std::u16string Hex(COLORREF c) { return Utf8ToUtf16(ColourHex(c)); }

// The 20 colours of a theme side by side, each as the phone would draw it.
void PaintStrip(Canvas& canvas, const ThemeValues& values, int x, int y, int width, int height) {
  const int n = ThemeValues::kItemCount;
  for (int i = 0; i < n; ++i) {
    const int left = x + width * i / n;
    const int right = x + width * (i + 1) / n;
    canvas.FillRect(left, y, right - left, height, Color::FromColorRef(values.Item(i + 1)));
  }
  canvas.StrokeRoundRect(x - 0.5, y - 0.5, width + 1, height + 1, 1, 1, kRim);
}

// What applying a theme changes: one line an item, "N name  ■ old → ■ new",
// the new colour marked when it is the default or none of the swatches. A
// long name wraps onto a second line rather than being cut.
class ChangeList : public UiWin {
 public:
  using Change = ThemeChange;
  ChangeList(std::vector<Change> changes, int width) : changes_(std::move(changes)) {
    for (const Change& c : changes_) {
      const int label = Canvas::MeasureText(Label(c), LabelWidth(width), 1 << 16, kWrapped, 13).height;
      heights_.push_back(std::max(kChangeHeight, label + 4));
      height_sum_ += heights_.back();
    }
  }
  int Height() const { return height_sum_; }

  void PaintWin(Canvas& canvas) override {
    const Color& ink = kSheetInk;
    const Color& rim = kChangeRim;
    const Color& mark = kCustomMark;
    const UINT line = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    // From the right edge: the custom mark, the new colour, the arrow, the
    // old colour; the item's label takes the rest.
    const int to_x = width_ - MarkWidth() - 6 - kColourWidth;
    const int from_x = to_x - 20 - kColourWidth;
    int y = 0;
    for (std::size_t i = 0; i < changes_.size(); ++i) {
      const Change& c = changes_[i];
      const int h = heights_[i];
      canvas.DrawText(Label(c), RECT{0, y, LabelWidth(width_), y + h}, kWrapped | DT_VCENTER,
                      ink, 13);
      const int top = y + (h - kChangeHeight) / 2;
      for (int x : {from_x, to_x}) {
        const COLORREF colour = x == from_x ? c.from : c.to;
        canvas.FillRect(x, top + 5, 12, 12, Color::FromColorRef(colour));
        canvas.StrokeRoundRect(x - 0.5, top + 4.5, 13, 13, 1, 1, rim);
        canvas.DrawText(Hex(colour), RECT{x + 17, top, x + kColourWidth, top + kChangeHeight}, line, ink, 13);
      }
      canvas.DrawText(u"→", RECT{from_x + kColourWidth, top, to_x, top + kChangeHeight},
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE, ink, 13);
      const char16_t* what = !c.stored ? studio_text::kDefaultColour
                             : !SwatchOf(c.to) ? studio_text::kCustomColour : nullptr;
      if (what != nullptr) {
        canvas.DrawText(what, RECT{width_ - MarkWidth(), top, width_, top + kChangeHeight}, line, mark, 12);
      }
      y += h;
    }
  }

 private:
  static constexpr UINT kWrapped = DT_LEFT | DT_WORDBREAK;
  static const char16_t* Label(const Change& c) { return kThemeTargets[static_cast<std::size_t>(c.number - 1)].label; }
  static int MarkWidth() {
    const UINT line = DT_LEFT | DT_SINGLELINE;
    return std::max(Canvas::MeasureText(studio_text::kCustomColour, 1 << 16, kChangeHeight, line, 12).width,
                    Canvas::MeasureText(studio_text::kDefaultColour, 1 << 16, kChangeHeight, line, 12).width);
  }
  // The room of the labels: what the colours and the mark leave.
  static int LabelWidth(int width) { return width - MarkWidth() - 6 - 2 * kColourWidth - 20 - 8; }

  std::vector<Change> changes_;
  std::vector<int> heights_;
  int height_sum_ = 0;
};

}  // namespace

// One theme on the shelf: its name, what it is, the strip of its colours,
// and its buttons, as children of the shelf's list.
class ThemeShelf::Row {
 public:
  // `act`: what a tap on one of its buttons does.
  Row(const Entry& entry, std::size_t index, int width, UiWin& list, const std::function<void(Action)>& act)
      : picture_(entry) {
    const int top = static_cast<int>(index) * kRowHeight;
    picture_.SetBounds(kMargin, top + 6, width - 3 * 80 - 2 * kMargin - 4, kRowHeight - 12);
    list.AddChild(&picture_);
    int x = width - kMargin - 3 * 80 + 6;
    for (Action action : {Action::kApply, Action::kExport, Action::kDelete}) {
      StudioButton& button = buttons_[static_cast<int>(action)];
      button.SetBounds(x, top + 14, 74, 32);
      button.OnClick([act, action] { act(action); });
      // A theme that cannot be read can only be deleted; a preset cannot.
      const bool offered = action == Action::kDelete ? !entry.preset : entry.readable;
      if (offered) list.AddChild(&button);
      x += 80;
    }
  }

 private:
  class Picture : public UiWin {
   public:
    explicit Picture(const Entry& entry) : entry_(entry) {}
    void PaintWin(Canvas& canvas) override {
      const UINT line = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
      const std::u16string tag = entry_.preset ? shelf_text::kPreset
                                               : entry_.readable ? shelf_text::kSaved : shelf_text::kUnreadableTheme;
      const int tag_width = Canvas::MeasureText(tag, width_, 20, line, 11).width;
      // A name from a file: one line, escaped, cut at a stated length.
      canvas.DrawText(Utf8ToUtf16(ShownText(entry_.name, kShownNameChars)), RECT{0, 0, width_ - tag_width - 8, 20},
                      line | DT_END_ELLIPSIS, kInk, 15, true);
      canvas.DrawText(tag, RECT{width_ - tag_width, 0, width_, 20}, line,
                      entry_.readable ? kQuiet : kFailure, 11);
      if (entry_.readable) PaintStrip(canvas, entry_.values, 0, 26, width_, height_ - 28);
    }

   private:
    Entry entry_;
  };

  Picture picture_;
  StudioButton buttons_[3] = {{shelf_text::kApply, StudioButton::Look::kPlain},
                              {shelf_text::kExport, StudioButton::Look::kPlain},
                              {shelf_text::kDelete, StudioButton::Look::kPlain}};
};

ThemeShelf::ThemeShelf(int width, Shell* shell, ThemeStore& store,
                       std::function<void(const std::string& path)> import)
    : StudioLayer(shell),
      width_(width),
      store_(store),
      title_(17, true, kInk),
      note_(12, false, kQuiet),
      close_(shelf_text::kClose, StudioButton::Look::kPlain),
      maker_button_(maker_text::kOpen, StudioButton::Look::kPlain),
      name_(shelf_text::kNameHint, kThemeNameMaxChars),
      save_(shelf_text::kSave, StudioButton::Look::kLight),
      export_current_(shelf_text::kExportCurrent, StudioButton::Look::kPlain),
      format_(shelf_text::kFormat5, StudioButton::Look::kPlain),
      import_(shelf_text::kImportOpen, StudioButton::Look::kPlain),
      import_file_(std::move(import)),
      status_(12, false, kSuccess) {
  SetPlace(Place::Side);
  SetFrame(RECT{0, 0, width, Shell::kScreenHeight});
  PlaceControls();
  // A command acts only while the shelf runs and no question is open over it.
  const auto when_free = [this](void (ThemeShelf::*command)()) {
    return [this, command] {
      if (question_ == nullptr && IsRunningModal()) (this->*command)();
    };
  };
  close_.OnClick(when_free(&ThemeShelf::Close));
  maker_button_.OnClick(when_free(&ThemeShelf::OpenMaker));
  save_.OnClick(when_free(&ThemeShelf::Save));
  name_.OnEnter(when_free(&ThemeShelf::Save));
  export_current_.OnClick(when_free(&ThemeShelf::ExportCurrent));
  format_.OnClick(when_free(&ThemeShelf::SwitchFormat));
  import_.OnClick(when_free(&ThemeShelf::ImportFile));
  for (UiWin* e : std::initializer_list<UiWin*>{&title_, &maker_button_, &close_, &note_, &name_, &save_,
                                                &export_current_, &format_, &import_, &status_, &list_}) {
    AddRoot(e);
  }
  Fill();
  SetFocus(&name_);
}

ThemeShelf::~ThemeShelf() = default;

void ThemeShelf::PlaceControls() {
  const int inner = width_ - 2 * kMargin;
  title_.SetText(shelf_text::kTitle);
  title_.SetCentredVertically(true);
  title_.SetBounds(kMargin, 8, inner - 160, 28);
  maker_button_.SetBounds(width_ - kMargin - 152, 8, 72, 28);
  close_.SetBounds(width_ - kMargin - 72, 8, 72, 28);
  note_.SetText(shelf_text::kNote);
  int y = 42;
  const int note_height = note_.HeightFor(inner);
  note_.SetBounds(kMargin, y, inner, note_height);
  y += note_height + 10;
  name_.SetBounds(kMargin, y, inner - 96, 34);
  save_.SetBounds(width_ - kMargin - 88, y, 88, 34);
  y += 44;
  export_current_.SetBounds(kMargin, y, 140, 30);
  format_.SetBounds(kMargin + 148, y, 220, 30);
  import_.SetBounds(width_ - kMargin - 88, y, 88, 30);
  y += 38;
  status_.SetBounds(kMargin, y, inner, kStatusRoom);
  y += kStatusRoom + 4;
  list_.SetBounds(0, y, width_, Shell::kScreenHeight - y);
  list_.EnableScrollBarV(true);
  list_.KeepIndicatorShown(true);  // more themes than fit: the bar says so
}

void ThemeShelf::SetExportForm(RegFileForm form) {
  form_ = form;
  format_.SetText(form_ == RegFileForm::kVersion5 ? shelf_text::kFormat5 : shelf_text::kFormat4);
}

void ThemeShelf::Run(const std::string& picture) {
  Shell* shell = GetShell();
  if (shell == nullptr) return;
  if (!picture.empty()) Later([this, picture] { OpenMakerOn(picture); });
  shell->TakeText(true);
  RunModal(false, false);
  shell->TakeText(false);
}

void ThemeShelf::Fill() {
  entries_.clear();
  for (const ThemePreset& preset : store_.Presets()) {
    entries_.push_back({Utf16ToUtf8(preset.name), true, true, preset.values, ThemeApply::kWhole});
  }
  for (const std::string& name : store_.SavedNames()) {
    Entry entry{name, false, true, {}, ThemeApply::kOver, true};
    std::string problem;
    entry.readable = store_.Find(name, entry.values, entry.how, problem);
    entries_.push_back(std::move(entry));
  }
  rows_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    rows_.push_back(std::make_unique<Row>(entries_[i], i, width_, list_, [this, i](Action action) {
      if (question_ == nullptr && IsRunningModal() && i < entries_.size()) Act(i, action);
    }));
  }
  list_.ScrollTo(list_.GetScrollY());
  stale_ = false;
  Repaint();
}

void ThemeShelf::ThemesChanged() {
  if (question_ != nullptr || maker_ != nullptr) {
    stale_ = true;
    return;
  }
  Fill();
}

void ThemeShelf::Close() { EndModal(0); }

bool ThemeShelf::TakeDroppedFile(const std::string& path, bool picture) {
  if (question_ != nullptr || GetShell() == nullptr) return false;
  if (maker_ != nullptr && GetShell()->Holder() == maker_) {
    maker_->MakeFromPicture(path);
    return true;
  }
  if (maker_ == nullptr && GetShell()->Holder() == this && picture) {
    Later([this, path] { OpenMakerOn(path); });
    return true;
  }
  return false;
}

void ThemeShelf::OpenMakerOn(const std::string& picture) {
  ColourMaker maker(width_, GetShell(), store_, [this](const ThemeValues& values, const std::u16string& name) {
    Apply(Entry{Utf16ToUtf8(name), false, true, values});
  });
  if (!picture.empty()) maker.MakeFromPicture(picture);
  maker_ = &maker;
  maker.Run();
  maker_ = nullptr;
  Fill();
}

void ThemeShelf::ExportCurrent() {
  ThemeValues now;
  std::string problem;
  if (!store_.Read(now, problem)) {
    Fail(problem, shelf_text::ExportFailed(shelf_text::kCurrent));
    return;
  }
  Export(now, Utf16ToUtf8(shelf_text::kCurrent));
}

void ThemeShelf::SwitchFormat() {
  SetExportForm(form_ == RegFileForm::kVersion5 ? RegFileForm::kRegedit4 : RegFileForm::kVersion5);
}

void ThemeShelf::ImportFile() {
  const std::string path = ImportSheet(width_, GetShell()).Choose();
  if (Shell* shell = GetShell()) shell->TakeText(true);
  if (!path.empty() && import_file_) import_file_(path);
}

void ThemeShelf::Act(std::size_t index, Action action) {
  // A copy: the list is read again after a change.
  const Entry entry = entries_[index];
  switch (action) {
    case Action::kApply:
      Apply(entry);
      return;
    case Action::kExport:
      Export(entry.values, entry.name);
      return;
    case Action::kDelete:
      Delete(entry);
      return;
  }
}

bool ThemeShelf::Ask(std::u16string title, std::u16string note, bool undoable, UiWin* detail, int detail_height,
                     int width) {
  ConfirmationSheet sheet(width_, GetShell(), std::move(title), std::move(note), undoable, detail, detail_height,
                          width);
  question_ = &sheet;
  const bool yes = sheet.Ask();
  question_ = nullptr;
  if (stale_) Fill();
  return yes;
}

void ThemeShelf::Say(std::u16string message, bool failed) {
  if (maker_ != nullptr) maker_->Say(message, failed);
  status_.SetColor(failed ? kFailure : kSuccess);
  status_.SetText(std::move(message));
}

void ThemeShelf::Save() {
  // The one rule for a theme's name, as the command line has it.
  const std::string typed = Utf16ToUtf8(name_.Text());
  std::string name;
  const ThemeNameFault fault = CheckThemeName(typed, name);
  const std::u16string shown = Utf8ToUtf16(name.empty() ? typed : name);
  switch (fault) {
    case ThemeNameFault::kNone:
      break;
    case ThemeNameFault::kBlank:
      Say(shelf_text::kNameFirst, true);
      SetFocus(&name_);
      return;
    case ThemeNameFault::kPreset:
      Say(shelf_text::PresetName(shown), true);
      return;
    case ThemeNameFault::kTooLong:
      Say(shelf_text::NameTooLong(kThemeNameMaxChars), true);
      return;
    case ThemeNameFault::kControl:
    case ThemeNameFault::kNotText:
      Say(shelf_text::kNameControl, true);
      return;
  }
  for (const Entry& entry : entries_) {
    if (!entry.preset && entry.name == name && !Ask(shelf_text::ReplaceQuestion(shown), shelf_text::kReplaceNote, false)) {
      return;
    }
  }
  std::string problem;
  if (!store_.SaveCurrent(name, problem)) {
    Fail(problem, shelf_text::SaveFailed(shown));
    return;
  }
  name_.SetText(u"");
  Fill();
  Say(shelf_text::Saved(shown), false);
}

void ThemeShelf::Apply(const Entry& asked) {
  // A saved theme is read again: another program may have changed or
  // deleted it since the list was read.
  Entry entry = asked;
  if (entry.saved && !ReadAgain(entry)) return;
  const std::u16string name = Utf8ToUtf16(ShownText(entry.name, kShownNameChars));
  ThemeValues now;
  std::string problem;
  if (!store_.Read(now, problem)) {
    Fail(problem, shelf_text::ApplyFailed(name));
    return;
  }
  // Only what a person would see change is listed.
  std::vector<ChangeList::Change> changes = VisibleChanges(now, Applied(now, entry.values, entry.how));
  if (changes.empty()) {
    Say(shelf_text::Unchanged(name), false);
    return;
  }
  ChangeList list(changes, kChangeSheetWidth - 2 * kSheetPad);
  if (!Ask(shelf_text::ApplyQuestion(name), shelf_text::ApplyNote(static_cast<int>(changes.size())), true, &list,
           list.Height(), kChangeSheetWidth)) {
    return;
  }
  // What was asked is applied, unless the theme went meanwhile.
  Entry again = entry;
  if (entry.saved && !ReadAgain(again)) return;
  int changed = 0;
  if (!store_.Apply(entry.values, entry.how, "apply", changed, problem, entry.name)) {
    Fail(problem, shelf_text::ApplyFailed(name));
    return;
  }
  Say(changed == 0 ? shelf_text::Unchanged(name) : shelf_text::Applied(name, changed), false);
}

bool ThemeShelf::ReadAgain(Entry& entry) {
  std::string problem;
  bool missing = false;
  if (store_.Find(entry.name, entry.values, entry.how, problem, &missing)) return true;
  if (missing) {
    SayGone(entry.name);
  } else {
    Fill();
    Fail(problem, shelf_text::ApplyFailed(Utf8ToUtf16(ShownText(entry.name, kShownNameChars))));
  }
  return false;
}

void ThemeShelf::SayGone(const std::string& name) {
  Fill();
  Say(shelf_text::Gone(Utf8ToUtf16(ShownText(name, kShownNameChars))), true);
}

void ThemeShelf::Fail(const std::string& problem, std::u16string message) {
  std::fprintf(stderr, "tintor: %s\n", ShownText(problem).c_str());
  Say(std::move(message), true);
}

void ThemeShelf::Export(const ThemeValues& values, const std::string& name) {
  const std::string folder = DocumentsFolder();
  const std::string file = ExportFileName(form_ == RegFileForm::kRegedit4 ? name + "-REGEDIT4" : name);
  const std::string path = folder.empty() || file.empty() ? std::string() : FreeExportPath(folder, file);
  std::string problem = folder.empty() ? "no home folder" : "no free file name in " + folder;
  if (path.empty() || !ThemeStore::Export(values, path, form_, problem)) {
    Fail(problem, shelf_text::ExportFailed(Utf8ToUtf16(ShownText(name, kShownNameChars))));
    return;
  }
  Say(shelf_text::Exported(PathShownFromHome(path)), false);
}

void ThemeShelf::Delete(const Entry& entry) {
  const std::u16string name = Utf8ToUtf16(ShownText(entry.name, kShownNameChars));
  if (!Ask(shelf_text::DeleteQuestion(name), shelf_text::kDeleteNote, false)) return;
  std::string problem;
  bool missing = false;
  if (!store_.Delete(entry.name, problem, &missing)) {
    if (missing) {
      SayGone(entry.name);
    } else {
      Fail(problem, shelf_text::DeleteFailed(name));
    }
    return;
  }
  Fill();
  Say(shelf_text::Deleted(name), false);
}

void ThemeShelf::PaintContent(Canvas& canvas) {
  canvas.FillRect(0, 0, width_, Shell::kScreenHeight, kDesk);
  canvas.FillRect(0, list_.GetPosY() - 1, width_, 1, kRim);
  for (UiWin* e : Roots()) e->Paint(canvas);
  PaintFocusOutside(canvas);
}
