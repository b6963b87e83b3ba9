#include "platform/ui/finger_tracker.h"

#include <cstdlib>

#include "platform/ui/ui_win.h"

UiWin* FingerTracker::HitTest(const std::vector<UiWin*>& roots, int x, int y) {
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) {
    UiWin* root = *it;
    if (UiWin* hit = root->HitTest(x - root->GetPosX(), y - root->GetPosY())) return hit;
  }
  return nullptr;
}

void FingerTracker::Press(const std::vector<UiWin*>& roots, int x, int y) {
  if (down_) Cancel();
  down_ = true;
  dragging_ = false;
  start_x_ = x;
  start_y_ = y;
  last_y_ = y;
  samples_.clear();
  pressed_ = HitTest(roots, x, y);
  drag_target_ = nullptr;
  for (UiWin* e = pressed_; e != nullptr; e = e->GetParent()) {
    if (e->CanDrag()) {
      drag_target_ = e;
      break;
    }
  }
  // A touch on gliding content stops it, as a finger on a moving list does;
  // it does not press what happened to slide under it.
  if (drag_target_ != nullptr && drag_target_->CatchGlide()) pressed_ = nullptr;
  if (pressed_ != nullptr) {
    POINT o = pressed_->WindowOrigin();
    pressed_->OnPress(x - o.x, y - o.y);
  }
}

void FingerTracker::Move(int x, int y, std::int64_t now_ms) {
  if (!down_) return;
  if (!dragging_) {
    if (drag_target_ == nullptr) return;
    const int dx = x - start_x_;
    const int dy = y - start_y_;
    if (dx * dx + dy * dy <= kDragThreshold * kDragThreshold) return;
    dragging_ = true;
    if (pressed_ != nullptr) {
      UiWin* p = pressed_;
      pressed_ = nullptr;
      p->OnPressCancelled();
    }
    last_y_ = y;
    samples_.push_back({now_ms, y});
    if (drag_target_ != nullptr) drag_target_->OnDragBegin();
    return;
  }
  samples_.push_back({now_ms, y});
  while (samples_.size() > 2 && now_ms - samples_.front().ms > kVelocityWindowMs) {
    samples_.erase(samples_.begin());
  }
  const int dy = y - last_y_;
  last_y_ = y;
  if (drag_target_ != nullptr && dy != 0) drag_target_->OnDragBy(dy);
}

void FingerTracker::Release(int x, int y, std::int64_t now_ms) {
  if (!down_) return;
  if (dragging_) Move(x, y, now_ms);
  down_ = false;
  if (dragging_) {
    dragging_ = false;
    double velocity = 0;
    // A finger that stopped before letting go throws nothing.
    if (samples_.size() >= 2 && now_ms - samples_.back().ms <= kVelocityWindowMs / 2) {
      const Sample& a = samples_.front();
      const Sample& b = samples_.back();
      if (b.ms > a.ms) velocity = static_cast<double>(b.y - a.y) / static_cast<double>(b.ms - a.ms);
    }
    samples_.clear();
    UiWin* target = drag_target_;
    drag_target_ = nullptr;
    if (target != nullptr) target->OnDragEnd(velocity);
    return;
  }
  UiWin* p = pressed_;
  pressed_ = nullptr;
  drag_target_ = nullptr;
  if (p != nullptr) {
    POINT o = p->WindowOrigin();
    const int lx = x - o.x;
    const int ly = y - o.y;
    const bool inside = lx >= 0 && ly >= 0 && lx < p->GetWidth() && ly < p->GetHeight();
    p->OnRelease(lx, ly, inside);
  }
}

void FingerTracker::Wheel(const std::vector<UiWin*>& roots, int x, int y, int turns) {
  for (UiWin* e = HitTest(roots, x, y); e != nullptr; e = e->GetParent()) {
    if (e->OnWheel(turns)) return;
  }
}

void FingerTracker::Cancel() {
  UiWin* p = pressed_;
  UiWin* target = dragging_ ? drag_target_ : nullptr;
  pressed_ = nullptr;
  drag_target_ = nullptr;
  down_ = false;
  dragging_ = false;
  samples_.clear();
  if (p != nullptr) p->OnPressCancelled();
  if (target != nullptr) target->OnDragEnd(0);
}

void FingerTracker::Forget(const UiWin* element) {
  auto within = [element](const UiWin* e) {
    for (; e != nullptr; e = e->GetParent()) {
      if (e == element) return true;
    }
    return false;
  };
  if (within(pressed_)) pressed_ = nullptr;
  if (within(drag_target_)) {
    drag_target_ = nullptr;
    dragging_ = false;
  }
}
