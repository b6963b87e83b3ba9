#include "platform/ui/ui_scroll_win.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/ui/element_layer.h"

UiScrollWin::UiScrollWin() = default;

// The glide leaves the shell's clock by itself (ShellAnimation).
UiScrollWin::~UiScrollWin() = default;

int UiScrollWin::GetContentHeight() const {
  int bottom = 0;
  for (const UiWin* c : children_) {
    if (c->IsVisible()) bottom = std::max(bottom, c->GetPosY() + c->GetHeight());
  }
  return bottom;
}

int UiScrollWin::GetMaxScrollY() const { return std::max(0, GetContentHeight() - height_); }

void UiScrollWin::ScrollTo(int y) {
  const int clamped = std::clamp(y, 0, GetMaxScrollY());
  position_ = clamped;
  if (clamped == scroll_y_) return;
  scroll_y_ = clamped;
  Invalidate();
}

bool UiScrollWin::CanDrag() const { return GetMaxScrollY() > 0; }

bool UiScrollWin::CatchGlide() {
  // The glide stops either way; only one still moving visibly swallows the tap.
  const bool visible = std::fabs(velocity_) >= kCatchSpeed;
  velocity_ = 0;
  position_ = scroll_y_;
  return visible;
}

void UiScrollWin::OnDragBegin() {
  dragging_ = true;
  velocity_ = 0;
  indicator_shown_ = true;
  position_ = scroll_y_;
  Invalidate();
}

void UiScrollWin::OnDragBy(int dy) { ScrollTo(scroll_y_ - dy); }

void UiScrollWin::OnDragEnd(double velocity) {
  dragging_ = false;
  velocity_ = -velocity;
  if (std::fabs(velocity_) < kMinSpeed) velocity_ = 0;
  position_ = scroll_y_;
  StartMotion();
}

bool UiScrollWin::OnWheel(int turns) { return JumpTo(scroll_y_ - turns * kWheelStep); }

std::vector<UiWin*> UiScrollWin::FocusChildren() const {
  std::vector<UiWin*> out;
  for (UiWin* c : children_) {
    if (c->IsVisible() && c->TakesFocus()) out.push_back(c);
  }
  return out;
}

bool UiScrollWin::TakesFocus() const {
  return visible_ && std::any_of(children_.begin(), children_.end(),
                                 [](const UiWin* c) { return c->IsVisible() && c->TakesFocus(); });
}

UiWin* UiScrollWin::FocusedChild() const {
  if (!HasFocus()) return nullptr;
  const std::vector<UiWin*> stops = FocusChildren();
  return std::find(stops.begin(), stops.end(), focus_child_) != stops.end() ? focus_child_
                                                                              : nullptr;
}

void UiScrollWin::FocusChild(UiWin* child) {
  focus_child_ = child;
  ScrollIntoView(child);
  Invalidate();
}

bool UiScrollWin::EnterFocus(bool forward) {
  const std::vector<UiWin*> stops = FocusChildren();
  if (stops.empty()) return false;
  // The pane comes back to the child it had; a first visit starts at an end.
  if (std::find(stops.begin(), stops.end(), focus_child_) == stops.end()) {
    focus_child_ = forward ? stops.front() : stops.back();
  }
  FocusChild(focus_child_);
  return true;
}

bool UiScrollWin::Activate() {
  UiWin* child = FocusedChild();
  return child != nullptr && child->Activate();
}

void UiScrollWin::ScrollIntoView(const UiWin* child) {
  if (child == nullptr) return;
  const int top = child->GetPosY();
  const int bottom = top + child->GetHeight();
  if (top < scroll_y_) {
    JumpTo(top);
  } else if (bottom > scroll_y_ + height_) {
    JumpTo(bottom - height_);
  }
}

bool UiScrollWin::MoveFocusedChild(InputKey key) {
  UiWin* now = FocusedChild();
  const std::vector<UiWin*> stops = FocusChildren();
  if (now == nullptr || stops.empty()) return false;
  const auto at = std::find(stops.begin(), stops.end(), now);
  UiWin* next = now;
  switch (key) {
    case InputKey::Left:
      if (at != stops.begin()) next = *(at - 1);
      break;
    case InputKey::Right:
      if (at + 1 != stops.end()) next = *(at + 1);
      break;
    case InputKey::Home:
      next = stops.front();
      break;
    case InputKey::End:
      next = stops.back();
      break;
    case InputKey::Up:
    case InputKey::Down: {
      // The nearest row above or below, and in it the child nearest across.
      const bool down = key == InputKey::Down;
      const int middle = now->GetPosX() + now->GetWidth() / 2;
      int best_row = 0, best_across = 0;
      UiWin* best = nullptr;
      for (UiWin* c : stops) {
        const bool beyond = down ? c->GetPosY() >= now->GetPosY() + now->GetHeight()
                                 : c->GetPosY() + c->GetHeight() <= now->GetPosY();
        if (!beyond) continue;
        const int row = std::abs(c->GetPosY() - now->GetPosY());
        const int across = std::abs(c->GetPosX() + c->GetWidth() / 2 - middle);
        if (best == nullptr || row < best_row || (row == best_row && across < best_across)) {
          best = c;
          best_row = row;
          best_across = across;
        }
      }
      if (best != nullptr) next = best;
      break;
    }
    default:
      return false;
  }
  FocusChild(next);
  return true;
}

bool UiScrollWin::OnKey(InputKey key) {
  if (HasFocus() && MoveFocusedChild(key)) return true;
  const int page = std::max(height_ - kWheelStep, kWheelStep);
  switch (key) {
    case InputKey::Up:
      return JumpTo(scroll_y_ - kWheelStep);
    case InputKey::Down:
      return JumpTo(scroll_y_ + kWheelStep);
    case InputKey::PageUp:
      return JumpTo(scroll_y_ - page);
    case InputKey::PageDown:
      return JumpTo(scroll_y_ + page);
    case InputKey::Home:
      return JumpTo(0);
    case InputKey::End:
      return JumpTo(GetMaxScrollY());
    default:
      return false;
  }
}

bool UiScrollWin::JumpTo(int y) {
  if (GetMaxScrollY() <= 0) return false;
  velocity_ = 0;
  ScrollTo(y);
  indicator_shown_ = true;
  StartMotion();
  return true;
}

void UiScrollWin::StartMotion() {
  last_tick_ = NowMs();
  hide_at_ = last_tick_ + kIndicatorLingerMs;
  if (ElementLayer* layer = Layer()) {
    layer->Animate(&motion_);
  } else {
    StopMotion();
  }
}

void UiScrollWin::StopMotion() {
  velocity_ = 0;
  if (indicator_shown_) {
    indicator_shown_ = false;
    Invalidate();
  }
}

bool UiScrollWin::Advance(std::int64_t now_ms) {
  if (dragging_) return false;  // the finger holds it; a new drag restarts the motion
  const double dt = static_cast<double>(now_ms - last_tick_);
  last_tick_ = now_ms;
  if (velocity_ != 0 && dt > 0) {
    // Exact integral of v(t) = v0 * exp(-t / tau) over dt.
    const double decay = std::exp(-dt / kMomentumTauMs);
    position_ += velocity_ * kMomentumTauMs * (1.0 - decay);
    velocity_ *= decay;
    const double max = GetMaxScrollY();
    if (position_ <= 0 || position_ >= max) {
      position_ = std::clamp(position_, 0.0, max);
      velocity_ = 0;
    }
    if (std::fabs(velocity_) < kMinSpeed) velocity_ = 0;
    const int y = static_cast<int>(std::lround(position_));
    if (y != scroll_y_) {
      scroll_y_ = y;
      Invalidate();
    }
    hide_at_ = now_ms + kIndicatorLingerMs;
  }
  if (velocity_ != 0) return true;
  if (now_ms < hide_at_) return true;
  StopMotion();
  return false;
}

void UiScrollWin::Paint(Canvas& canvas) {
  UiWin::Paint(canvas);
  if (const UiWin* child = FocusedChild(); child != nullptr && visible_ && ShowsFocus()) {
    canvas.Save();
    canvas.Translate(x_, y_);
    canvas.ClipRect(0, 0, width_, height_);
    constexpr int kOut = 4;  // the ring stands just outside the child
    PaintFocusRing(canvas, child->GetPosX() - kOut, child->GetPosY() - scroll_y_ - kOut,
                   child->GetWidth() + 2 * kOut, child->GetHeight() + 2 * kOut);
    canvas.Restore();
  }
  if (!visible_ || !(indicator_shown_ || keep_indicator_) || !scrollbar_v_) return;
  const int max = GetMaxScrollY();
  if (max <= 0 || height_ <= 0) return;
  const int content = GetContentHeight();
  const int track = height_ - 8;
  const int thumb = std::max(36, track * height_ / std::max(content, 1));
  const int top = 4 + (track - thumb) * scroll_y_ / max;
  canvas.Save();
  canvas.Translate(x_, y_);
  // A light rim under the dark thumb keeps it visible on dark windows too.
  canvas.FillRoundRect(width_ - 9, top - 1, 6, thumb + 2, 3, Color::Rgb(0xFF, 0xFF, 0xFF, 0.5));
  canvas.FillRoundRect(width_ - 8, top, 4, thumb, 2, Color::Rgb(0, 0, 0, 0.38));
  canvas.Restore();
}
