// The studio's controls: elements of the one element type, on the studio's
// layers beside the phone, fed by the one route (press, move, release,
// wheel, keys). A button is a UiButton: a tap, or Enter or Space while it
// has the focus, sends its control id to its layer; a text is wrapped to its
// width and shown whole; the sample screens are one painted element whose
// taps send their id with the point; the way back is the narrow tab the
// hidden studio leaves beside the phone.
#pragma once

#include <string>
#include <vector>

#include "platform/shell/color.h"
#include "platform/ui/ui_button.h"
#include "studio/preview/sample_screens.h"

// The studio's own colours, shared by its panel and its sheets.
namespace studio_colour {
inline const Color kDesk = Color::Rgb(0x2B, 0x2E, 0x33);     // the panel's ground
inline const Color kInk = Color::Rgb(0xF2, 0xF4, 0xF7);      // titles and main text
inline const Color kQuiet = Color::Rgb(0xB8, 0xBE, 0xC8);    // notes
inline const Color kFailure = Color::Rgb(0xFF, 0x8F, 0x85);  // what went wrong
inline const Color kSuccess = Color::Rgb(0x9D, 0xE0, 0x9D);  // what went well
}  // namespace studio_colour

// A rounded push button with a centred one-line caption.
class StudioButton : public UiButton {
 public:
  enum class Look { kPlain, kDanger, kLight };

  StudioButton(std::u16string text, Look look);
  const std::u16string& Text() const { return text_; }
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
// it sends its control id with the point in the painter's coordinates (the
// panel's) as MAKELPARAM_XY.
//
// It takes the keyboard focus as one stop: the arrows then point at one item
// after another (its places ringed), and Enter or Space sends the id with
// kChooseByKey in the high word and the item's number as the LPARAM. The
// item selected is outlined wherever it is drawn.
class SampleScreensView : public UiWin {
 public:
  static constexpr int kChooseByKey = 1;

  // `ground`: the colour the screens stand on (the panel's).
  SampleScreensView(const ThemeValues& theme, const std::vector<ReadabilityWarning>& warnings,
                    Color ground);

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
  const ThemeValues& theme_;
  const std::vector<ReadabilityWarning>& warnings_;
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
class WayBackTab : public UiButton {
 public:
  void PaintWin(Canvas& canvas) override;
};
