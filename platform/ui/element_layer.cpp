#include "platform/ui/element_layer.h"

#include <algorithm>
#include <cmath>

#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/file/utf16.h"
#include "platform/ui/ui_win.h"

namespace {
// What a menu or a box lays over the screen behind it, fully shown.
constexpr double kDimAlpha = 0.45;
}  // namespace

ElementLayer::ElementLayer(Shell* shell) { SetShell(shell); }

ElementLayer::~ElementLayer() {
  if (Shell* shell = GetShell()) shell->RemoveLayer(this, false);
  for (UiWin* e : roots_) e->layer_ = nullptr;
}

void ElementLayer::AddRoot(UiWin* element) {
  if (element == nullptr || std::find(roots_.begin(), roots_.end(), element) != roots_.end()) {
    return;
  }
  if (element->GetParent() != nullptr) element->GetParent()->RemoveChild(element);
  if (element->layer_ != nullptr) element->layer_->RemoveRoot(element);
  roots_.push_back(element);
  element->layer_ = this;
  Repaint();
}

void ElementLayer::RemoveRoot(UiWin* element) {
  if (std::find(roots_.begin(), roots_.end(), element) == roots_.end()) return;
  Forget(element);
  roots_.erase(std::remove(roots_.begin(), roots_.end(), element), roots_.end());
  element->layer_ = nullptr;
  Repaint();
}

void ElementLayer::Forget(const UiWin* element) {
  for (const UiWin* e = focused_; e != nullptr; e = e->GetParent()) {
    if (e == element) {
      focused_ = nullptr;
      break;
    }
  }
  finger_.Forget(element);
  roots_.erase(std::remove(roots_.begin(), roots_.end(), element), roots_.end());
}

const ThemeColors& ElementLayer::Theme() const {
  static const ThemeColors kDefaults;
  const Shell* shell = GetShell();
  return shell != nullptr ? shell->Theme() : kDefaults;
}

std::int64_t ElementLayer::NowMs() const {
  Shell* shell = GetShell();
  return shell != nullptr ? shell->GetHost().NowMs() : 0;
}

void ElementLayer::Repaint() const {
  if (Shell* shell = GetShell()) shell->Invalidate(GetPlace());
}

void ElementLayer::SetFocus(UiWin* element) {
  if (focused_ == element) return;
  MoveFocusTo(element);
  Repaint();
}

void ElementLayer::MoveFocusTo(UiWin* element) {
  UiWin* left = focused_;
  focused_ = element;
  if (left != nullptr && left != element) left->FocusLeft();
}

bool ElementLayer::Composing() const {
  return focused_ != nullptr && focused_->IsVisible() && focused_->Composing();
}

void ElementLayer::PlaceTextCaret(const RECT& caret) const {
  if (Shell* shell = GetShell()) {
    shell->PlaceTextCaret(*this, RECT{caret.left + frame_.left, caret.top + frame_.top,
                                      caret.right + frame_.left, caret.bottom + frame_.top});
  }
}

bool ElementLayer::FocusShown() const {
  const Shell* shell = GetShell();
  return shell != nullptr && shell->KeyboardInUse() && shell->KeyLayer() == this;
}

namespace {
// The visible elements that take the focus, in paint order; what such an
// element holds is its own business.
void CollectFocusStops(UiWin* e, std::vector<UiWin*>& out) {
  if (!e->IsVisible()) return;
  if (e->TakesFocus()) {
    out.push_back(e);
    return;
  }
  for (UiWin* child : e->GetChildren()) CollectFocusStops(child, out);
}
}  // namespace

bool ElementLayer::MoveFocus(bool forward, bool enter) {
  std::vector<UiWin*> stops;
  for (UiWin* root : roots_) CollectFocusStops(root, stops);
  if (!forward) std::reverse(stops.begin(), stops.end());
  auto at = enter ? stops.end() : std::find(stops.begin(), stops.end(), focused_);
  if (at != stops.end() && (*at)->StepFocus(forward)) {
    Repaint();
    return true;
  }
  for (auto it = at == stops.end() ? stops.begin() : at + 1; it != stops.end(); ++it) {
    if ((*it)->EnterFocus(forward)) {
      MoveFocusTo(*it);
      Repaint();
      return true;
    }
  }
  SetFocus(nullptr);
  return false;
}

void ElementLayer::Animate(ShellAnimation* animation) const {
  if (Shell* shell = GetShell()) shell->AddAnimation(animation);
}

void ElementLayer::PostCommand(WPARAM /*wParam*/, LPARAM /*lParam*/) {}

void ElementLayer::PaintLayer(Canvas& canvas, double shown) {
  if (dims_behind_) {
    const Shell* shell = GetShell();
    const int width = shell != nullptr ? shell->PlaceWidth(GetPlace()) : Shell::kScreenWidth;
    canvas.FillRect(0, 0, width, Shell::kScreenHeight, Color::Rgb(0, 0, 0, kDimAlpha * shown));
  }
  // Sliding in, the frame rises from just below the screen's bottom edge.
  const int offset =
      static_cast<int>(std::lround((1.0 - shown) * (Shell::kScreenHeight - frame_.top)));
  canvas.Translate(frame_.left, frame_.top + offset);
  PaintContent(canvas);
}

void ElementLayer::HandleInput(const InputEvent& event) {
  InputEvent local = event;
  local.x -= frame_.left;
  local.y -= frame_.top;
  Receive(local);
}

void ElementLayer::CancelTouch() {
  outside_press_ = false;
  finger_.Cancel();
}

bool ElementLayer::Outside(int x, int y) const {
  return x < 0 || y < 0 || x >= frame_.right - frame_.left || y >= frame_.bottom - frame_.top;
}

void ElementLayer::Route(const InputEvent& e) {
  switch (e.type) {
    case InputEvent::Type::Press:
      outside_press_ = Outside(e.x, e.y);
      if (!outside_press_) finger_.Press(roots_, e.x, e.y);
      break;
    case InputEvent::Type::Move:
      if (!outside_press_) finger_.Move(e.x, e.y, NowMs());
      break;
    case InputEvent::Type::Release:
      if (outside_press_) {
        outside_press_ = false;
        if (Outside(e.x, e.y)) OnTapOutside();
      } else {
        finger_.Release(e.x, e.y, NowMs());
      }
      break;
    case InputEvent::Type::Wheel:
      if (e.wheel != 0) finger_.Wheel(roots_, e.x, e.y, e.wheel);
      break;
    case InputEvent::Type::Key:
      held_ = e.modifiers;
      OnKey(e.key);
      held_ = kNoModifier;
      break;
    case InputEvent::Type::Text:
      OnText(Utf8ToUtf16(e.text));
      break;
    case InputEvent::Type::Composition:
      OnComposition(Utf8ToUtf16(e.text), e.cursor);
      break;
    case InputEvent::Type::Quit:
    case InputEvent::Type::Drop:
      break;
  }
}

bool ElementLayer::OnText(const std::u16string& text) {
  UiWin* focused = focused_ != nullptr && focused_->IsVisible() ? focused_ : nullptr;
  return focused != nullptr && focused->OnText(text);
}

bool ElementLayer::OnComposition(const std::u16string& text, int cursor) {
  UiWin* focused = focused_ != nullptr && focused_->IsVisible() ? focused_ : nullptr;
  return focused != nullptr && focused->OnComposition(text, cursor);
}

bool ElementLayer::OnKey(InputKey key) {
  UiWin* focused = focused_ != nullptr && focused_->IsVisible() ? focused_ : nullptr;
  if (focused != nullptr) {
    if ((key == InputKey::Enter || key == InputKey::Space) && focused->Activate()) return true;
    if (focused->OnKey(key)) return true;
  }
  for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) {
    if (*it != focused && (*it)->IsVisible() && (*it)->OnKey(key)) return true;
  }
  return false;
}

int ElementLayer::RunModal(bool slide_in, bool slide_out) {
  Shell* shell = GetShell();
  if (shell == nullptr || running_modal_ || shell->QuitRequested()) return 0;
  running_modal_ = true;
  done_ = false;
  result_ = 0;
  shell->PushLayer(this, slide_in);
  shell->RunLoop([this] { return done_; });
  shell->RemoveLayer(this, slide_out);
  running_modal_ = false;
  const int result = done_ ? result_ : 0;
  done_ = false;
  return result;
}

void ElementLayer::EndModal(int result) {
  result_ = result;
  done_ = true;
}
