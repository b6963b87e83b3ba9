#include "studio/shelf/colour_maker.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "model/checks/readability.h"
#include "model/color_swatches.h"
#include "model/theme/dominant_colours.h"
#include "platform/file/utf16.h"
#include "platform/shell/canvas.h"
#include "platform/file/shown_text.h"
#include "platform/file/user_folders.h"
#include "platform/shell/picture_file.h"
#include "platform/shell/shell.h"
#include "studio/preview/sample_screens.h"
#include "studio/shelf/maker_texts.h"
#include "studio/widgets/confirmation_sheet.h"
#include "studio/widgets/style.h"

namespace {

using namespace studio_style;

constexpr int kColumns = 13;  // swatches a row
constexpr int kCellWidth = 36, kCellHeight = 20, kCellGap = 2;
constexpr int kCandidateGap = 8;
constexpr std::size_t kNameLimit = 40;
constexpr std::size_t kPathLimit = 4096;  // the longest path typed
constexpr std::size_t kOtherColours = 4;  // a picture's colours offered beside the one taken

}  // namespace

// Colours in rows (the 65 swatches, or a picture's other colours); a tap,
// or Enter or Space on the one the arrows point at, chooses one.
class ColourMaker::ColourGrid : public UiWin {
 public:
  explicit ColourGrid(std::function<void(std::size_t index)> choose) : choose_(std::move(choose)) {}
  void SetColours(std::vector<COLORREF> colours) {
    colours_ = std::move(colours);
    pointed_ = 0;
    chosen_ = -1;
    Invalidate();
  }
  int Count() const { return static_cast<int>(colours_.size()); }
  int Rows() const { return (Count() + kColumns - 1) / kColumns; }
  void SetChosen(int index) {
    chosen_ = index;
    Invalidate();
  }

  void PaintWin(Canvas& canvas) override {
    for (int i = 0; i < Count(); ++i) {
      const RECT r = Cell(i);
      canvas.FillRect(r.left, r.top, kCellWidth, kCellHeight, Color::FromColorRef(colours_[static_cast<std::size_t>(i)]));
      const bool chosen = i == chosen_;
      canvas.StrokeRoundRect(r.left - 0.5, r.top - 0.5, kCellWidth + 1, kCellHeight + 1, 1, chosen ? 3 : 1,
                             chosen ? kInk : kRim);
    }
    if (ShowsFocus() && Count() > 0) {
      const RECT r = Cell(pointed_);
      PaintFocusRing(canvas, r.left - 3, r.top - 3, kCellWidth + 6, kCellHeight + 6);
    }
  }
  void OnRelease(int x, int y, bool inside) override {
    if (!inside) return;
    const int column = x / (kCellWidth + kCellGap), row = y / (kCellHeight + kCellGap);
    const int i = row * kColumns + column;
    if (column < kColumns && i >= 0 && i < Count()) {
      pointed_ = i;
      Choose();
    }
  }
  bool TakesFocus() const override { return visible_ && Count() > 0; }
  bool Activate() override {
    Choose();
    return true;
  }
  bool OnKey(InputKey key) override {
    if (!HasFocus() || Count() == 0) return false;
    const int count = Count();
    switch (key) {
      case InputKey::Right: pointed_ = (pointed_ + 1) % count; break;
      case InputKey::Left: pointed_ = (pointed_ + count - 1) % count; break;
      case InputKey::Down: pointed_ = std::min(pointed_ + kColumns, count - 1); break;
      case InputKey::Up: pointed_ = std::max(pointed_ - kColumns, 0); break;
      default: return false;
    }
    Invalidate();
    return true;
  }

 private:
  static RECT Cell(int i) {
    const int x = (i % kColumns) * (kCellWidth + kCellGap), y = (i / kColumns) * (kCellHeight + kCellGap);
    return RECT{x, y, x + kCellWidth, y + kCellHeight};
  }
  void Choose() {
    chosen_ = pointed_;
    Invalidate();
    RunLater(*this, [this] { choose_(static_cast<std::size_t>(chosen_)); });
  }

  std::function<void(std::size_t)> choose_;
  std::vector<COLORREF> colours_;
  int pointed_ = 0;
  int chosen_ = -1;
};

// One candidate: its title and what its checks found, the sample screens
// in small, the strip of its 20 colours, and its two buttons.
class ColourMaker::Candidate {
 public:
  Candidate(int x, int y, int width) : apply_(maker_text::kApply, StudioButton::Look::kPlain),
                                       save_(maker_text::kSave, StudioButton::Look::kPlain) {
    const double scale = static_cast<double>(width) / kSampleScreensWidth;
    const int screens = static_cast<int>(kSampleScreensHeight * scale);
    picture_.SetBounds(x, y, width, 18 + screens + 14 + 32);
    const int buttons = y + picture_.GetHeight() + 4;
    apply_.SetBounds(x, buttons, width / 2 - 2, 28);
    save_.SetBounds(x + width / 2 + 2, buttons, width / 2 - 2, 28);
  }
  int Bottom() const { return apply_.GetPosY() + apply_.GetHeight(); }
  void Show(const MadeTheme* made) {
    picture_.Show(made);
    apply_.SetVisible(made != nullptr);
    save_.SetVisible(made != nullptr);
  }

  class Face : public UiWin {
   public:
    void Show(const MadeTheme* made) {
      made_ = made;
      if (made != nullptr) {
        theme_ = made->Snapshot();
        warnings_ = FindReadabilityWarnings(theme_);
      }
      Invalidate();
    }
    void PaintWin(Canvas& canvas) override {
      if (made_ == nullptr) return;
      const UINT line = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
      canvas.DrawText(maker_text::CandidateTitle(made_->options), RECT{0, 0, width_, 18}, line, kInk, 13,
                      true);
      const double scale = static_cast<double>(width_) / kSampleScreensWidth;
      const int screens = static_cast<int>(kSampleScreensHeight * scale);
      canvas.Save();
      canvas.Translate(0, 18);
      canvas.Scale(scale);
      canvas.Translate(0, -kSampleScreensTop);
      PaintSampleScreens(canvas, theme_, warnings_);
      canvas.Restore();
      const int strip = 18 + screens + 2;
      const int n = ThemeValues::kItemCount;
      for (int i = 0; i < n; ++i) {
        const int left = width_ * i / n, right = width_ * (i + 1) / n;
        canvas.FillRect(left, strip, right - left, 10, Color::FromColorRef(theme_.Item(i + 1)));
      }
      canvas.DrawText(maker_text::RulesBroken(made_->check), RECT{0, strip + 12, width_, height_},
                      DT_LEFT | DT_WORDBREAK, made_->passes() ? kSuccess : kFailure, 11);
    }

   private:
    const MadeTheme* made_ = nullptr;
    ThemeValues theme_;
    std::vector<ReadabilityWarning> warnings_;
  };

  Face picture_;
  StudioButton apply_;
  StudioButton save_;
};

ColourMaker::ColourMaker(int width, Shell* shell, ThemeStore& store,
                         std::function<void(const ThemeValues&, const std::u16string&)> apply)
    : StudioLayer(shell),
      width_(width),
      store_(store),
      apply_(std::move(apply)),
      title_(kTitlePx, true, kInk),
      close_(u"关闭", StudioButton::Look::kPlain),
      note_(kNotePx, false, kQuiet),
      hex_(maker_text::kSourceHint, kPathLimit),
      make_(maker_text::kMake, StudioButton::Look::kLight),
      exact_(maker_text::kSwatchesOnly, StudioButton::Look::kPlain),
      contrast_(maker_text::kStandardContrast, StudioButton::Look::kPlain),
      source_(kNotePx, false, kInk),
      others_title_(kNotePx, false, kQuiet),
      next_colour_(u"", StudioButton::Look::kGo),
      name_(maker_text::kNameHint, kNameLimit),
      status_(kNotePx, false, kSuccess) {
  SetPlace(Place::Side);
  SetFrame(RECT{0, 0, width, Shell::kScreenHeight});
  const int inner = width - 2 * kMargin;
  title_.SetText(maker_text::kTitle);
  title_.SetCentredVertically(true);
  title_.SetBounds(kMargin, 8, inner - 80, kControlHeight);
  close_.SetBounds(width - kMargin - 72, 8, 72, kControlHeight);
  note_.SetText(maker_text::kNote);
  int y = 42;
  note_.SetBounds(kMargin, y, inner, note_.HeightFor(inner));
  y = LayOutSource(y + note_.GetHeight() + 8, inner);
  y = LayOutCandidates(y, inner);
  name_.SetBounds(kMargin, y, inner, 32);
  y += 38;
  status_.SetBounds(kMargin, y, inner, Shell::kScreenHeight - y - kMargin);
  Wire();
  SetFocus(grid_.get());
}

// The swatches, the box for a colour or a picture's path with its buttons,
// the line that says where the source came from, a picture's other colours.
int ColourMaker::LayOutSource(int y, int inner) {
  grid_ = std::make_unique<ColourGrid>([this](std::size_t index) {
    const ColorSwatch& swatch = kColorSwatches[index];
    picture_.clear();
    MakeFromColour(swatch.color & 0x00FFFFFF, maker_text::FromSwatch(swatch.control_id, swatch.color));
  });
  std::vector<COLORREF> swatches;
  for (const ColorSwatch& swatch : kColorSwatches) swatches.push_back(swatch.color & 0x00FFFFFF);
  grid_->SetColours(std::move(swatches));
  grid_->SetBounds(kMargin, y, kColumns * (kCellWidth + kCellGap), grid_->Rows() * (kCellHeight + kCellGap));
  y += grid_->GetHeight() + 6;
  hex_.SetBounds(kMargin, y, inner - 318, 30);
  make_.SetBounds(width_ - kMargin - 302, y, 56, 30);
  exact_.SetBounds(width_ - kMargin - 240, y, 150, 30);
  contrast_.SetBounds(width_ - kMargin - 84, y, 84, 30);
  y += 34;
  // Where the source came from, or why the one asked for gives nothing.
  source_.SetText(maker_text::kNoSource);
  source_.SetBounds(kMargin, y, inner, 26);
  next_colour_.SetBounds(width_ - kMargin - 230, y, 230, 26);
  next_colour_.SetVisible(false);
  y += 28;
  others_title_.SetText(maker_text::kOtherColours);
  others_title_.SetCentredVertically(true);
  others_title_.SetBounds(kMargin, y, 124, kCellHeight + 4);
  others_ = std::make_unique<ColourGrid>([this](std::size_t index) {
    if (index + 1 >= picture_colours_.size()) return;
    const DominantColour& other = picture_colours_[index + 1];
    MakeFromColour(other.color, maker_text::FromPicture(picture_, other.color, other.share, false));
  });
  others_->SetBounds(kMargin + 124, y + 2, kColumns * (kCellWidth + kCellGap), kCellHeight);
  others_title_.SetVisible(false);
  others_->SetVisible(false);
  return y + kCellHeight + 10;
}

// The four candidates side by side, each with its two buttons.
int ColourMaker::LayOutCandidates(int y, int inner) {
  const int column = (inner - 3 * kCandidateGap) / 4;
  for (int i = 0; i < 4; ++i) {
    views_.push_back(std::make_unique<Candidate>(kMargin + i * (column + kCandidateGap), y, column));
    const std::size_t index = static_cast<std::size_t>(i);
    views_.back()->apply_.OnClick([this, index] {
      if (IsRunningModal()) Apply(index);
    });
    views_.back()->save_.OnClick([this, index] {
      if (IsRunningModal()) Save(index);
    });
    views_.back()->Show(nullptr);
  }
  return views_.back()->Bottom() + 8;
}

// What each control does, and the order Tab takes them in.
void ColourMaker::Wire() {
  close_.OnClick([this] {
    if (IsRunningModal()) EndModal(0);
  });
  hex_.OnEnter([this] { MakeFromTyped(); });
  make_.OnClick([this] { MakeFromTyped(); });
  exact_.OnClick([this] { SwitchExact(); });
  contrast_.OnClick([this] { SwitchContrast(); });
  next_colour_.OnClick([this] {
    if (next_index_ == 0 || next_index_ >= picture_colours_.size()) return;
    const DominantColour& other = picture_colours_[next_index_];
    others_->SetChosen(static_cast<int>(next_index_) - 1);
    MakeFromColour(other.color, maker_text::FromPicture(picture_, other.color, other.share, false));
  });
  for (UiWin* e : std::initializer_list<UiWin*>{&title_, &note_, grid_.get(), &hex_, &make_, &exact_, &contrast_,
                                                &source_, &next_colour_, &others_title_, others_.get()}) {
    AddRoot(e);
  }
  for (auto& view : views_) {
    for (UiWin* e : std::initializer_list<UiWin*>{&view->picture_, &view->apply_, &view->save_}) AddRoot(e);
  }
  for (UiWin* e : std::initializer_list<UiWin*>{&name_, &status_, &close_}) AddRoot(e);
}

ColourMaker::~ColourMaker() = default;

void ColourMaker::Run() {
  Shell* shell = GetShell();
  if (shell == nullptr) return;
  shell->TakeText(true);
  RunModal(false, false);
  shell->TakeText(false);
}

void ColourMaker::Say(std::u16string message, bool failed) {
  status_.SetColor(failed ? kFailure : kSuccess);
  status_.SetText(std::move(message));
  Repaint();
}

void ColourMaker::MakeFromColour(COLORREF colour, std::u16string told) {
  const bool others = !picture_.empty() && picture_colours_.size() > 1;
  others_title_.SetVisible(others);
  others_->SetVisible(others);
  has_source_ = true;
  source_colour_ = colour;
  source_.SetColor(kInk);
  source_.SetText(std::move(told));
  Say(u"", false);
  Remake();
}

void ColourMaker::SourceFailed(std::u16string message) {
  has_source_ = false;
  picture_.clear();
  picture_colours_.clear();
  candidates_.clear();
  for (auto& view : views_) view->Show(nullptr);
  others_title_.SetVisible(false);
  others_->SetVisible(false);
  ShowOffer(false);
  source_.SetColor(kFailure);
  source_.SetText(std::move(message));
  Say(u"", false);
}

bool ColourMaker::MakeFromPicture(const std::string& path, const std::u16string& typed) {
  Picture picture;
  std::string problem;
  PictureFault fault = PictureFault::kUnreadable;
  if (!ReadPicture(path, kPictureSide, picture, problem, &fault)) {
    // The window says it in words; the details go to standard error.
    std::fprintf(stderr, "tintor: no theme made: %s\n", ShownText(problem, kShownLineChars).c_str());
    SourceFailed(!typed.empty() && TypedNoPath(Utf16ToUtf8(typed), fault) ? maker_text::BadSource(typed)
                                                                        : maker_text::PictureUnreadable(path, &fault));
    return false;
  }
  const std::vector<DominantColour> colours = FindDominantColours(picture.pixels.data(), picture.pixels.size());
  if (colours.empty()) {
    SourceFailed(maker_text::PictureUnreadable(path, nullptr));
    return false;
  }
  picture_ = path;
  std::vector<COLORREF> others;
  for (std::size_t i = 1; i < colours.size() && i <= kOtherColours; ++i) others.push_back(colours[i].color);
  others_->SetColours(std::move(others));
  picture_colours_.assign(colours.begin(), colours.begin() + std::min<std::size_t>(colours.size(), kOtherColours + 1));
  MakeFromColour(colours.front().color, maker_text::FromPicture(path, colours.front().color, colours.front().share, true));
  OfferNextColour();
  return true;
}

void ColourMaker::OfferNextColour() {
  next_index_ = 0;
  const bool any = std::any_of(candidates_.begin(), candidates_.end(), [](const MadeTheme& m) { return m.passes(); });
  for (std::size_t i = 1; !any && i < picture_colours_.size(); ++i) {
    const std::vector<MadeTheme> made =
        MakeThemeCandidates(picture_colours_[i].color, exact_colours_, high_contrast_ ? ContrastLevel::kHigh : ContrastLevel::kStandard);
    if (std::any_of(made.begin(), made.end(), [](const MadeTheme& m) { return m.passes(); })) {
      next_index_ = i;
      break;
    }
  }
  ShowOffer(next_index_ != 0);
  if (next_index_ == 0) return;
  next_colour_.SetText(maker_text::TakeNextColour(picture_colours_[next_index_].color));
  source_.SetText(maker_text::NoThemeFromMain(picture_, picture_colours_.front().color,
                                              picture_colours_[next_index_].color));
  SetFocus(&next_colour_);
}

void ColourMaker::ShowOffer(bool shown) {
  next_colour_.SetVisible(shown);
  // The source's line is as wide as the offer beside it leaves.
  const int right = shown ? next_colour_.GetPosX() - 6 : width_ - kMargin;
  source_.SetBounds(kMargin, source_.GetPosY(), right - kMargin, source_.GetHeight());
}

void ColourMaker::MakeFromTyped() {
  std::string typed = Utf16ToUtf8(hex_.Text());
  typed.erase(0, typed.find_first_not_of(' '));
  typed.erase(typed.find_last_not_of(' ') + 1);
  // Else a picture's path, as typed or pasted from a file manager.
  if (typed.empty() || typed[0] != '#') {
    const std::string path = PathTyped(typed);
    if (path.empty()) {
      SourceFailed(maker_text::BadSource(hex_.Text()));
    } else {
      MakeFromPicture(path, hex_.Text());
    }
    return;
  }
  bool hex = typed.size() == 7;
  for (std::size_t i = 1; hex && i < typed.size(); ++i) hex = std::isxdigit(static_cast<unsigned char>(typed[i])) != 0;
  if (!hex) {
    SourceFailed(maker_text::BadSource(hex_.Text()));
    return;
  }
  const unsigned long v = std::strtoul(typed.c_str() + 1, nullptr, 16);
  const COLORREF colour = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  picture_.clear();
  picture_colours_.clear();
  ShowOffer(false);
  MakeFromColour(colour, maker_text::FromColour(colour));
}

void ColourMaker::SwitchExact() {
  exact_colours_ = !exact_colours_;
  exact_.SetText(exact_colours_ ? maker_text::kAnyColour : maker_text::kSwatchesOnly);
  if (has_source_) Remake();
}

void ColourMaker::SwitchContrast() {
  high_contrast_ = !high_contrast_;
  contrast_.SetText(high_contrast_ ? maker_text::kHighContrast : maker_text::kStandardContrast);
  if (has_source_) Remake();
}

void ColourMaker::Remake() {
  candidates_ = MakeThemeCandidates(source_colour_, exact_colours_,
                                    high_contrast_ ? ContrastLevel::kHigh : ContrastLevel::kStandard);
  for (std::size_t i = 0; i < views_.size(); ++i) views_[i]->Show(i < candidates_.size() ? &candidates_[i] : nullptr);
  Repaint();
}

bool ColourMaker::AcceptBroken(std::size_t index, bool saving) {
  const MadeTheme& made = candidates_[index];
  if (made.passes()) return true;
  ConfirmationSheet sheet(width_, GetShell(), maker_text::BrokenQuestion(made.options, saving),
                          maker_text::BrokenNote(made.check), false);
  return sheet.Ask();
}

void ColourMaker::Apply(std::size_t index) {
  if (index >= candidates_.size() || !AcceptBroken(index, false)) return;
  const MadeTheme& made = candidates_[index];
  apply_(made.values, name_.Text().empty() ? maker_text::MadeName(made.source, made.options) : name_.Text());
}

void ColourMaker::Save(std::size_t index) {
  if (index >= candidates_.size() || !AcceptBroken(index, true)) return;
  const MadeTheme& made = candidates_[index];
  const std::u16string typed = name_.Text();
  const std::u16string base = maker_text::MadeName(made.source, made.options);
  std::string saved, problem;
  bool taken = false;
  if (!store_.SaveNew(Utf16ToUtf8(typed), Utf16ToUtf8(base), made.values, saved, problem, &taken)) {
    Say(taken ? maker_text::NameTaken(typed.empty() ? base : typed) : maker_text::SaveFailed(problem), true);
    return;
  }
  name_.SetText(u"");
  Say(maker_text::Saved(Utf8ToUtf16(saved)), false);
}

void ColourMaker::PaintContent(Canvas& canvas) {
  canvas.FillRect(0, 0, width_, Shell::kScreenHeight, kDesk);
  for (UiWin* e : Roots()) e->Paint(canvas);
}
