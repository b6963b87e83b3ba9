#include "platform/ui/ui_win.h"

#include <algorithm>

#include "platform/shell/canvas.h"
#include "platform/ui/element_layer.h"

UiWin::UiWin() = default;

UiWin::~UiWin() {
  // Whoever still points at this element forgets it: the layer's finger
  // and element list, the container, the children.
  if (ElementLayer* layer = Layer()) layer->Forget(this);
  if (parent_ != nullptr) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (UiWin* child : children_) child->parent_ = nullptr;
}

void UiWin::SetBounds(int x, int y, int width, int height, UINT /*flags*/) {
  x_ = x;
  y_ = y;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  Invalidate();
}

void UiWin::AddChild(UiWin* child) {
  if (child == nullptr || child == this || child->parent_ == this) return;
  for (const UiWin* a = this; a != nullptr; a = a->parent_) {
    if (a == child) return;  // would make a loop
  }
  if (child->parent_ != nullptr) child->parent_->RemoveChild(child);
  child->parent_ = this;
  children_.push_back(child);
  Invalidate();
}

void UiWin::RemoveChild(UiWin* child) {
  auto it = std::find(children_.begin(), children_.end(), child);
  if (it == children_.end()) return;
  if (ElementLayer* layer = Layer()) layer->Forget(child);
  children_.erase(it);
  child->parent_ = nullptr;
  Invalidate();
}

void UiWin::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Invalidate();
}

const UiWin* UiWin::Root() const {
  const UiWin* e = this;
  while (e->parent_ != nullptr) e = e->parent_;
  return e;
}

ElementLayer* UiWin::Layer() const { return Root()->layer_; }

CMzWnd* UiWin::GetParentWnd() const {
  const ElementLayer* layer = Layer();
  return layer != nullptr ? layer->Window() : nullptr;
}

const ThemeColors& UiWin::Theme() const {
  static const ThemeColors kDefaults;
  const ElementLayer* layer = Layer();
  return layer != nullptr ? layer->Theme() : kDefaults;
}

std::int64_t UiWin::NowMs() const {
  const ElementLayer* layer = Layer();
  return layer != nullptr ? layer->NowMs() : 0;
}

POINT UiWin::WindowOrigin() const {
  if (parent_ == nullptr) return POINT{x_, y_};
  POINT p = parent_->WindowOrigin();
  return POINT{p.x + x_, p.y + y_ - parent_->GetScrollY()};
}

void UiWin::Invalidate() {
  if (const ElementLayer* layer = Layer()) layer->Repaint();
}

void UiWin::PaintWin(Canvas& /*canvas*/) {}

void UiWin::Paint(Canvas& canvas) {
  if (!visible_ || width_ <= 0 || height_ <= 0) return;
  canvas.Save();
  canvas.Translate(x_, y_);
  canvas.ClipRect(0, 0, width_, height_);
  PaintWin(canvas);
  const int scroll = GetScrollY();
  canvas.Translate(0, -scroll);
  for (UiWin* child : children_) {
    if (child->visible_ &&
        canvas.IsRectVisible(child->x_, child->y_, child->width_, child->height_)) {
      child->Paint(canvas);
    }
  }
  canvas.Restore();
}

UiWin* UiWin::HitTest(int x, int y) {
  if (!visible_ || x < 0 || y < 0 || x >= width_ || y >= height_) return nullptr;
  const int scroll = GetScrollY();
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    UiWin* c = *it;
    if (UiWin* hit = c->HitTest(x - c->x_, y + scroll - c->y_)) return hit;
  }
  return this;
}

void UiWin::OnPress(int /*x*/, int /*y*/) {}
void UiWin::OnRelease(int /*x*/, int /*y*/, bool /*inside*/) {}
void UiWin::OnPressCancelled() {}

void UiWin::PostNotification(WPARAM wParam, LPARAM lParam) {
  if (ElementLayer* layer = Layer()) layer->PostCommand(wParam, lParam);
}

bool UiWin::HasFocus() const {
  const ElementLayer* layer = Layer();
  return layer != nullptr && layer->Focused() == this;
}

bool UiWin::ShowsFocus() const {
  const ElementLayer* layer = Layer();
  return layer != nullptr && layer->Focused() == this && layer->FocusShown();
}

void UiWin::PaintFocusRing(Canvas& canvas, double x, double y, double width, double height) {
  // A light rim around a dark line shows on dark and light surfaces alike.
  canvas.StrokeRoundRect(x + 1, y + 1, width - 2, height - 2, 6, 4.0, Color::Rgb(0xFF, 0xFF, 0xFF));
  canvas.StrokeRoundRect(x + 1, y + 1, width - 2, height - 2, 6, 2.0, Color::Rgb(0x1A, 0x73, 0xE8));
}
