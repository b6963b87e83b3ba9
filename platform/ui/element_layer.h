// One layer of the toolkit in the shell's window: a window, the popup menu
// sheet, the message box panel on the phone's screen, and the studio's
// layers beside it. Every such layer is an ElementLayer: it holds its
// top-level elements, the finger over them and the keyboard focus among
// them, routes press, move, release, wheel and keys to them in one way,
// gives them the theme colours and the clock, and runs itself modally (push,
// run until done, pop; the run holds the whole window).
//
// The layer's frame is its rectangle in its place (the screen, or the place
// beside it); its elements are placed relative to the frame's top left, and
// a slide moves the whole frame up from the bottom edge.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell/shell_layer.h"
#include "platform/shell/theme_colors.h"
#include "platform/ui/finger_tracker.h"
#include "platform/win/win_types.h"

class CMzWnd;
class ShellAnimation;
class UiWin;

class ElementLayer : public ShellLayer {
 public:
  // `shell`: the shell the layer goes on (null for a layer only painted
  // into pictures, or one given its shell later).
  explicit ElementLayer(Shell* shell);
  ElementLayer(const ElementLayer&) = delete;
  ElementLayer& operator=(const ElementLayer&) = delete;
  // Elements that outlive the layer are let go; they never reach back.
  ~ElementLayer() override;

  // ---- The elements (not owned), painted and hit in the order added ----
  void AddRoot(UiWin* element);
  void RemoveRoot(UiWin* element);
  const std::vector<UiWin*>& Roots() const { return roots_; }
  // An element of this layer (and whatever it contains) is going away or
  // leaving it: nothing touches it again.
  void Forget(const UiWin* element);

  // ---- The keyboard focus ----
  // The element that keys go to first (a top-level one or one inside a
  // container), or null.
  UiWin* Focused() const { return focused_; }
  void SetFocus(UiWin* element);
  // True while the focused element shows what an input method composes.
  bool Composing() const override;
  // True while the focus ring is to be drawn: a key has been used since the
  // last press, and this layer is the one keys go to.
  bool FocusShown() const;

  // ---- What the elements get from the layer they are on ----
  const ThemeColors& Theme() const;
  std::int64_t NowMs() const;
  void Repaint() const;
  // Ticks `animation` on the screen's clock until it says it is over.
  void Animate(ShellAnimation* animation) const;
  // The window these elements belong to; null for a menu or a box.
  virtual CMzWnd* Window() const { return nullptr; }
  // The caret of the text typed in an element is at `caret` (in the frame's
  // coordinates): the input method is told, for its window of candidates.
  void PlaceTextCaret(const RECT& caret) const;
  // The keys held (KeyModifier bits) with the key being handed to the
  // elements now; none outside OnKey.
  unsigned HeldWithKey() const { return held_; }
  // A control notification from one of the elements.
  virtual void PostCommand(WPARAM wParam, LPARAM lParam);

  // ---- Place on the screen ----
  void SetFrame(const RECT& frame) { frame_ = frame; }
  const RECT& Frame() const { return frame_; }

  // ---- The shell's side ----
  void PaintLayer(Canvas& canvas, double shown) final;
  void HandleInput(const InputEvent& event) final;
  void CancelTouch() final;
  bool HoldsWindow() const final { return running_modal_; }
  // Tab walks the visible elements that take the focus, in the order they
  // are painted; an element may keep it for several stops (a toolbar's
  // buttons, a grid's cells by the arrow keys).
  bool MoveFocus(bool forward, bool enter) override;

  // Routes one event, in the frame's coordinates, to the elements: the
  // finger to the element under it (a tap that begins and ends outside the
  // frame to OnTapOutside), the wheel to the scrolling element under it,
  // keys to OnKey.
  void Route(const InputEvent& event);

  // ---- The modal run ----
  // Pushes the layer, runs the shell's loop until EndModal or a quit
  // message, pops the layer. EndModal's value, or 0 after a quit message.
  int RunModal(bool slide_in, bool slide_out);
  void EndModal(int result);
  bool IsRunningModal() const { return running_modal_; }
  bool IsDone() const { return done_; }

 protected:
  // Input in the frame's coordinates; a window sends it through its message
  // procedure first, which hands it back to Route.
  virtual void Receive(const InputEvent& event) { Route(event); }
  // Paints the layer in the frame's coordinates.
  virtual void PaintContent(Canvas& canvas) = 0;
  // A key: Enter and Space activate the focused element; a key is offered
  // to the focused element, then to the top-level elements, the topmost
  // first, until one uses it. True when it was used.
  virtual bool OnKey(InputKey key);
  // Text typed: it goes to the focused element. True when it was used.
  virtual bool OnText(const std::u16string& text);
  // What an input method composes goes to the focused element too.
  bool OnComposition(const std::u16string& text, int cursor);
  virtual void OnTapOutside() {}
  // Dims the screen behind the layer as it slides in (menus and boxes).
  void SetDimsBehind(bool dims) { dims_behind_ = dims; }

 private:
  unsigned held_ = kNoModifier;
  bool Outside(int x, int y) const;
  // The focus moves to `element` (or nowhere); the element that had it is told.
  void MoveFocusTo(UiWin* element);

  std::vector<UiWin*> roots_;
  FingerTracker finger_;
  UiWin* focused_ = nullptr;
  RECT frame_{};
  bool dims_behind_ = false;
  bool outside_press_ = false;
  bool running_modal_ = false;
  bool done_ = false;
  int result_ = 0;
};
