// The base of every UI element: a rectangle in its container's coordinates,
// a control id, children painted clipped and translated into their own
// coordinates, and one virtual hook per kind of event.
#pragma once

#include <vector>

#include "platform/win/win_types.h"

class Canvas;
class CMzWnd;

// DrawText-style flags for SetDrawTextFormat.
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;
inline constexpr UINT DT_BOTTOM = 0x0008;
inline constexpr UINT DT_WORDBREAK = 0x0010;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;

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

  // The window the element belongs to (through its containers), or null.
  CMzWnd* GetParentWnd() const;
  void SetParentWnd(CMzWnd* wnd) { wnd_ = wnd; }

  // Asks the shell to repaint.
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

 protected:
  // Sends a control notification to the owning window through the queue.
  void PostNotification(WPARAM wParam, LPARAM lParam);

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
  CMzWnd* wnd_ = nullptr;
  std::vector<UiWin*> children_;
};
