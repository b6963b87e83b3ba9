// The studio's controls: elements of the one element type, on the studio's
// layers beside the phone, fed by the one route (press, move, release,
// wheel, keys). A button is a UiButton that calls back: a tap, or Enter or
// Space while it has the focus, runs its action from the shell's loop; a
// text is wrapped to its width and shown whole; the sample screens are one
// painted element that calls back with the item a tap or a key chose; the
// way back is the narrow tab the hidden studio leaves beside the phone.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/shell/color.h"
#include "platform/ui/ui_button.h"
#include "studio/preview/sample_screens.h"

// A button of the studio's: a tap on it, or Enter or Space while it has the
// focus, runs its action (from the shell's loop, on a studio layer). One
// that cannot be used is drawn faint, takes no focus and does nothing. Its
// focus ring stands outside it, drawn by its layer.
class ActionButton : public UiButton {
 public:
  void OnClick(std::function<void()> action) { action_ = std::move(action); }
  void SetEnabled(bool enabled);
  bool IsEnabled() const { return enabled_; }

  void OnPress(int x, int y) override;
  void OnRelease(int x, int y, bool inside) override;
  bool Activate() override;
  bool TakesFocus() const override { return visible_ && enabled_; }

 private:
  std::function<void()> action_;
  bool enabled_ = true;
};

// A rounded push button with a centred one-line caption.
class StudioButton : public ActionButton {
 public:
  // kGo: the step a question asks for, when it can be undone; kDanger: one
  // that cannot.
  enum class Look { kPlain, kDanger, kGo, kLight };

  StudioButton(std::u16string text, Look look);
  const std::u16string& Text() const { return text_; }
  // The width its caption needs, with room around it.
  int WidthNeeded() const;
  void SetText(std::u16string text) {
    text_ = std::move(text);
    Invalidate();
  }

  void PaintWin(Canvas& canvas) override;

 private:
  std::u16string text_;
  Look look_;
};

// Text broken into lines at its width (Chinese between any two characters),
// never cut: HeightFor says how tall it needs to be.
class StudioText : public UiWin {
 public:
  StudioText(double px, bool bold, Color color);
  void SetText(std::u16string text);
  void SetColor(Color color);
  // The lines stand in the middle of the element's height, not at its top.
  void SetCentredVertically(bool centred) { centred_ = centred; }
  const std::u16string& Text() const { return text_; }
  // The height the text takes at `width`.
  int HeightFor(int width) const;

  void PaintWin(Canvas& canvas) override;

 private:
  std::u16string text_;
  double px_;
  bool bold_;
  Color color_;
  bool centred_ = false;
};

// The phone's sample screens in a theme, drawn by the sample screens'
// painter. The element sits at (0, kSampleScreensTop) of its panel; a tap on
// it chooses the item drawn there (if any).
//
// It takes the keyboard focus as one stop: the arrows then point at one item
// after another (its places ringed), and Enter or Space chooses that item.
// The item selected is outlined wherever it is drawn.
class SampleScreensView : public UiWin {
 public:
  // `ground`: the colour the screens stand on (the panel's).
  SampleScreensView(const ThemeValues& theme, const std::vector<ReadabilityWarning>& warnings,
                    Color ground);
  // Called (from the shell's loop) with the number of the item chosen.
  void OnChoose(std::function<void(int item)> choose) { choose_ = std::move(choose); }

  // The item outlined (0: none).
  void SetSelected(int item);
  int Selected() const { return selected_; }
  int Pointed() const { return pointed_; }

  void PaintWin(Canvas& canvas) override;
  void OnPress(int x, int y) override;
  void OnRelease(int x, int y, bool inside) override;
  void OnPressCancelled() override { pressed_ = false; }
  bool TakesFocus() const override { return visible_; }
  bool EnterFocus(bool forward) override;
  bool Activate() override;
  bool OnKey(InputKey key) override;

 private:
  void Choose(int item);

  const ThemeValues& theme_;
  const std::vector<ReadabilityWarning>& warnings_;
  std::function<void(int item)> choose_;
  bool pressed_ = false;
  int selected_ = 0;
  int pointed_ = 1;
  // The screens as last painted, in device pixels: painted again only when
  // the theme or the scale changed (the outline and focus ring go on top).
  Color ground_;
  ThemeValues drawn_theme_;
  double drawn_scale_ = 0;
  std::vector<std::uint32_t> drawn_;
};

// The hidden studio's way back: a narrow strip along the phone's right edge
// whose label says what a tap on it (or Enter, or F2) does.
class WayBackTab : public ActionButton {
 public:
  void PaintWin(Canvas& canvas) override;
};
