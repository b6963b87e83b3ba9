// The theme shelf's 配色 place: a source colour chosen among the 65 swatches,
// typed as #RRGGBB, or taken from a picture dropped on the window (its
// dominant colour), and the four themes made from it (soft and vivid, light
// and dark) side by side, each with the sample screens in small, the strip of
// its 20 colours and what its checks found; one is applied (the shelf's own
// question first, a step that can be undone) or saved under a name that no
// theme has yet, a candidate that breaks a rule only after a question that
// names it. A 高对比 switch makes them at the high contrast level. When a
// picture's main colour gives no theme, the place names the picture's next
// colour that does, taken with one tap or key. A layer of the studio's over
// the shelf, run modally: Tab and the arrows reach everything, Esc, "关闭"
// and a click on the phone close it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/theme/dominant_colours.h"
#include "model/theme/theme_maker.h"
#include "model/theme/theme_store.h"
#include "studio/widgets/studio_controls.h"
#include "studio/widgets/studio_layer.h"
#include "studio/widgets/text_field.h"

class ColourMaker : public StudioLayer {
 public:
  // `store`: the theme's store a theme is saved through; `apply`: applies a
  // theme as the shelf does (asking first), named.
  ColourMaker(int width, Shell* shell, ThemeStore& store,
              std::function<void(const ThemeValues& values, const std::u16string& name)> apply);
  ~ColourMaker() override;

  // Runs until closed, taking typed text meanwhile.
  void Run();

  // A new source: the four candidates are made again from it.
  void MakeFromColour(COLORREF colour, std::u16string told);
  // A picture's dominant colour as the source; false (nothing made, the
  // status says why) when it cannot be read. `typed`: what was typed for
  // the path, if it was typed (a bare word that names no file is said to
  // be no colour and no picture).
  bool MakeFromPicture(const std::string& path, const std::u16string& typed = {});

  // Shows how a command went in the status line.
  void Say(std::u16string message, bool failed);

  bool LetsWindowKeysAct() const override { return true; }
  // A click on the phone closes the place, and does nothing else.
  void PressedElsewhere() override { EndModal(0); }

 protected:
  void PaintContent(Canvas& canvas) override;

 private:
  class ColourGrid;
  class Candidate;
  int LayOutSource(int y, int inner);
  int LayOutCandidates(int y, int inner);
  void Wire();
  void MakeFromTyped();
  // A source that gives nothing: said beside the box, the old results gone.
  void SourceFailed(std::u16string message);
  void SwitchExact();
  void SwitchContrast();
  void Remake();
  // A picture's next colour that gives a theme, offered when its main one gives none.
  void OfferNextColour();
  void ShowOffer(bool shown);
  // True to go on with candidate `index`: it holds every rule, or the user
  // said yes to the question that names the rules it breaks.
  bool AcceptBroken(std::size_t index, bool saving);
  void Apply(std::size_t index);
  void Save(std::size_t index);

  int width_;
  ThemeStore& store_;
  std::function<void(const ThemeValues&, const std::u16string&)> apply_;
  StudioText title_;
  StudioButton close_;
  StudioText note_;
  std::unique_ptr<ColourGrid> grid_;
  TextField hex_;
  StudioButton make_;
  StudioButton exact_;
  StudioButton contrast_;
  StudioText source_;
  StudioText others_title_;
  std::unique_ptr<ColourGrid> others_;
  StudioButton next_colour_;  // takes the picture's next colour that gives a theme
  std::size_t next_index_ = 0;  // in picture_colours_
  std::string picture_;  // the picture the source came from, else empty
  std::vector<DominantColour> picture_colours_;  // its colours, the one taken first
  std::vector<std::unique_ptr<Candidate>> views_;
  TextField name_;
  StudioText status_;
  bool exact_colours_ = false;
  bool high_contrast_ = false;
  bool has_source_ = false;
  COLORREF source_colour_ = 0;
  std::vector<MadeTheme> candidates_;
};
