// The card of the item the user points at in the studio: its number and
// name, its value and the swatch that writes it, how well it reads on its
// surface, the nearest swatch that would read well, and the 65 swatches in
// the colours they write, each marked where it would be hard to read. A
// swatch chosen there is handed to whoever opened the card (the panel
// writes it); the card itself writes nothing. It is a layer of the one layer
// type in the studio's place, run through the one modal run: Esc, "关闭" and
// a click beside it (on the phone too) close it, and that click does
// nothing else.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/checks/item_facts.h"
#include "studio/widgets/studio_controls.h"
#include "studio/widgets/studio_layer.h"

// The 65 swatches, in the phone's order, kColumns to a row. A tap on one,
// or Enter or Space on the focused one, calls back with the swatch's
// control id. The arrows move the focus from swatch to swatch.
class SwatchGrid : public UiWin {
 public:
  static constexpr int kColumns = 13;
  static constexpr int kCellWidth = 36;
  static constexpr int kCellHeight = 28;
  static int Height();

  // Called (from the shell's loop) with the control id of the swatch chosen.
  void OnPick(std::function<void(int swatch)> pick) { pick_ = std::move(pick); }

  // Per swatch (in the phone's order): hard to read; the swatch of the value
  // now and the one suggested (-1: none).
  void SetMarks(std::vector<bool> hard, int current, int suggested);
  void SetFocusedCell(int cell);

  void PaintWin(Canvas& canvas) override;
  void OnPress(int x, int y) override;
  void OnRelease(int x, int y, bool inside) override;
  void OnPressCancelled() override { pressed_ = -1; }
  bool TakesFocus() const override { return visible_; }
  bool Activate() override;
  bool OnKey(InputKey key) override;

 private:
  // The cell of a point in the grid's coordinates; -1 for none.
  static int CellAt(int x, int y);
  static RECT CellRect(int cell);
  void Choose(int cell);

  std::function<void(int swatch)> pick_;
  std::vector<bool> hard_;
  int current_ = -1;
  int suggested_ = -1;
  int focused_ = 0;
  int pressed_ = -1;
};

class ItemCard : public StudioLayer {
 public:
  // `shell`: the shell the studio is in (null for a card only painted into
  // pictures). `pick`: called with a swatch's control id when one is chosen.
  ItemCard(Shell* shell, std::function<void(int swatch)> pick);

  // Shows item `number` of `theme`, placed in the studio's place (its width
  // and height) where it covers none of the item's places when it can; with
  // a colour-vision deficiency, the items on its surface it looks like.
  void Show(const ThemeValues& theme, int number, int place_width, int place_height,
            ColourVision vision = ColourVision::kTypical);
  // What became of the last choice (empty: nothing to say).
  void SetResult(std::u16string text, bool failed);

  // Runs until closed.
  void Run();

  // The window's undo and redo keys act while the card is open: it shows
  // the value they bring back and says what they did.
  bool LetsWindowKeysAct() const override { return true; }

  // The number of the item it shows.
  int Item() const { return facts_.number; }

 protected:
  void PaintContent(Canvas& canvas) override;
  void OnTapOutside() override;
  void PressedElsewhere() override;

 private:
  void Layout(int place_width, int place_height);

  ItemFacts facts_;
  StudioText title_;
  StudioText value_;
  StudioText figures_;
  StudioText advice_;
  StudioText result_;
  StudioButton close_;
  SwatchGrid grid_;
  int legend_top_ = 0;
};
