// The base of every UI element: a rectangle in its container's coordinates,
// a control id, children painted clipped and translated into their own
// coordinates, and one virtual hook per kind of event.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/input_event.h"
#include "platform/shell/draw_text_flags.h"
#include "platform/shell/theme_colors.h"
#include "platform/win/win_types.h"

class Canvas;
class CMzWnd;
class ElementLayer;

// DrawText-style flags for SetDrawTextFormat: DT_LEFT, DT_CENTER, DT_RIGHT,
// DT_VCENTER, DT_BOTTOM, DT_WORDBREAK, DT_SINGLELINE, DT_END_ELLIPSIS.

class UiWin {
 public:
  UiWin();
  UiWin(const UiWin&) = delete;
  UiWin& operator=(const UiWin&) = delete;
  virtual ~UiWin();

  // Places the element in its container's coordinates; flags are unused (0).
  virtual void SetBounds(int x, int y, int width, int height, UINT flags = 0);
  void SetID(int id) { id_ = id; }
  int GetID() const { return id_; }
  // Nests an element; this element does not own it.
  void AddChild(UiWin* child);
  void RemoveChild(UiWin* child);
  void EnableScrollBarV(bool enable) { scrollbar_v_ = enable; }
  void EnableDragScrollbarV(bool enable) { drag_scrollbar_v_ = enable; }
  void SetDrawTextFormat(UINT format) { text_format_ = format; }
  UINT GetDrawTextFormat() const { return text_format_; }
  void SetVisible(bool visible);
  bool IsVisible() const { return visible_; }

  int GetPosX() const { return x_; }
  int GetPosY() const { return y_; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  UiWin* GetParent() const { return parent_; }
  const std::vector<UiWin*>& GetChildren() const { return children_; }
  bool IsScrollBarVEnabled() const { return scrollbar_v_; }
  bool IsDragScrollbarVEnabled() const { return drag_scrollbar_v_; }

  // The layer the element is shown on (through its containers): a window,
  // a menu, a box; null while it is on none. The element's theme colours,
  // clock and repaints come from there.
  ElementLayer* Layer() const;
  // The window the element belongs to, or null.
  CMzWnd* GetParentWnd() const;

  // Asks for a repaint of the layer the element is on.
  void Invalidate();

  // ---- The platform's side: painting and the finger. ----
  // Paints the element itself in its own coordinates (0, 0 is its top left).
  virtual void PaintWin(Canvas& canvas);
  // Paints the element, then its children clipped and translated.
  virtual void Paint(Canvas& canvas);
  // The deepest visible element under (x, y), in this element's coordinates.
  virtual UiWin* HitTest(int x, int y);
  // Finger events in this element's own coordinates.
  virtual void OnPress(int x, int y);
  virtual void OnRelease(int x, int y, bool inside);
  // The press turned into a drag elsewhere: forget it without acting.
  virtual void OnPressCancelled();
  // Vertical scroll offset applied to the children (scrolling containers).
  virtual int GetScrollY() const { return 0; }
  // A finger that moves more than a few pixels over this element (or one of
  // its children) drags it instead of pressing: true for scrolling containers.
  virtual bool CanDrag() const { return false; }
  // A finger came down on content that still glides: stop it there. True
  // when it was moving; that touch then only holds it and presses nothing.
  virtual bool CatchGlide() { return false; }
  virtual void OnDragBegin() {}
  // The finger moved dy pixels down since the last call.
  virtual void OnDragBy(int dy) { (void)dy; }
  // The finger let go moving at `velocity` pixels a millisecond (down positive).
  virtual void OnDragEnd(double velocity) { (void)velocity; }
  // Wheel turns (positive: away from the user); true when the element used them.
  virtual bool OnWheel(int turns) {
    (void)turns;
    return false;
  }
  // A key for the layer the element is on (a top-level element is offered
  // it, the topmost first); true when the element used it. A toolbar with a
  // way back takes Esc, the phone's back key; a scrolling pane the arrows,
  // Page Up, Page Down, Home and End.
  virtual bool OnKey(InputKey key) {
    (void)key;
    return false;
  }
  // Text typed (by the keyboard or an input method) while the element has
  // the focus; true when the element took it.
  virtual bool OnText(const std::u16string& text) {
    (void)text;
    return false;
  }

  // What an input method composes (not yet typed; empty: it ended), its
  // cursor `cursor` characters in, while the element has the focus; true
  // when the element shows it.
  virtual bool OnComposition(const std::u16string& text, int cursor) {
    (void)text;
    (void)cursor;
    return false;
  }
  // True while the element shows a composition: keys are the input method's.
  virtual bool Composing() const { return false; }

  // ---- The keyboard focus ----
  // True for an element that takes the focus now (one Tab stop or more);
  // what it contains is then its own business.
  virtual bool TakesFocus() const { return false; }
  // The focus went from the element to another one, or to none.
  virtual void FocusLeft() {}
  // The focus arrives from before the element (forward) or after it: true
  // when the element takes it, at its first stop or its last.
  virtual bool EnterFocus(bool forward) {
    (void)forward;
    return TakesFocus();
  }
  // Tab while the element has the focus: true when it moved to another stop
  // of its own; false lets the focus go on to the next element.
  virtual bool StepFocus(bool forward) {
    (void)forward;
    return false;
  }
  // Enter or Space while the element has the focus: acts as a tap on what
  // is focused would. True when something was done.
  virtual bool Activate() { return false; }
  bool HasFocus() const;
  // True while the element is to draw its focus ring (it has the focus and
  // the keyboard is in use).
  bool ShowsFocus() const;
  // The ring around a focused element or part of one, in its own coordinates.
  static void PaintFocusRing(Canvas& canvas, double x, double y, double width, double height);

  // The element's top left in its window's coordinates (through the
  // containers and their scroll offsets).
  POINT WindowOrigin() const;
  // The topmost element of this one's container chain.
  const UiWin* Root() const;

 protected:
  // Sends a control notification to the owning window through the queue.
  void PostNotification(WPARAM wParam, LPARAM lParam);
  // The colours and the clock of the layer the element is on (the default
  // colours and 0 while it is on none).
  const ThemeColors& Theme() const;
  std::int64_t NowMs() const;

  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int id_ = 0;
  bool visible_ = true;
  bool scrollbar_v_ = false;
  bool drag_scrollbar_v_ = false;
  UINT text_format_ = 0;
  UiWin* parent_ = nullptr;
  std::vector<UiWin*> children_;

 private:
  friend class ElementLayer;
  ElementLayer* layer_ = nullptr;  // set on top-level elements only
};
