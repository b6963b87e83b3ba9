#include "platform/shell/shell.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/host/host.h"
#include "platform/shell/canvas.h"
#include "platform/shell/message_target.h"
#include "platform/shell/shell_animation.h"
#include "platform/shell/shell_layer.h"
#include "platform/shell/status_bar.h"
#include "platform/win/system.h"

namespace {

Shell* g_current = nullptr;
// Handles are unique for the whole process, across shells.
std::uintptr_t g_next_handle = 0x10000;

void QuitSink(int exitCode) {
  if (g_current != nullptr) g_current->PostQuit(exitCode);
}

// Ease-out: fast at first, settling gently.
double EaseOut(double t) {
  t = std::clamp(t, 0.0, 1.0);
  return 1.0 - (1.0 - t) * (1.0 - t) * (1.0 - t);
}

}  // namespace

Shell::Shell(Host& host)
    : host_(host), scale_(host.Scale()), theme_(ThemeColors::LoadFromRegistry(&theme_problem_)) {
  MakeScreen();
  window_keys_ = {
      {InputKey::F2, kNoModifier, true, [this] {
         // Nothing changes beside what holds the window until its run ends.
         if (Holder() == nullptr) ShowSide(!side_shown_);
       }},
      {InputKey::Tab, kNoModifier, true, [this] { MoveFocus(true); }},
      {InputKey::Tab, kShift, true, [this] { MoveFocus(false); }},
  };
  previous_ = g_current;
  g_current = this;
  SetQuitMessageSink(&QuitSink);
}

Shell::~Shell() {
  // What outlives the shell never reaches back into it.
  for (ShellLayer* layer : layers_) layer->shell_ = nullptr;
  for (const auto& [hwnd, target] : targets_) {
    if (auto* layer = dynamic_cast<ShellLayer*>(target)) layer->shell_ = nullptr;
  }
  for (ShellAnimation* animation : animations_) animation->ticker_ = nullptr;
  cairo_surface_destroy(screen_);
  Canvas::SetDeviceScale(previous_ != nullptr ? previous_->scale_ : 1.0);
  g_current = previous_;
  if (g_current == nullptr) SetQuitMessageSink(nullptr);
}

Shell* Shell::Current() { return g_current; }

RECT Shell::WorkArea() { return RECT{0, kStatusBarHeight, kScreenWidth, kScreenHeight}; }

HWND Shell::RegisterTarget(MessageTarget* target) {
  g_next_handle += 4;
  HWND hwnd = reinterpret_cast<HWND>(g_next_handle);
  targets_[hwnd] = target;
  return hwnd;
}

void Shell::UnregisterTarget(HWND hwnd) { targets_.erase(hwnd); }

MessageTarget* Shell::TargetFromHandle(HWND hwnd) const {
  auto it = targets_.find(hwnd);
  return it == targets_.end() ? nullptr : it->second;
}

void Shell::PushLayer(ShellLayer* layer, bool slide) {
  if (layer == nullptr || HasLayer(layer)) return;
  DropTouch();
  layers_.push_back(layer);
  ++stack_changes_;
  if (slide && host_.AnimatesWindows()) slides_.push_back({layer, host_.NowMs(), true});
  layer->PlaceResized(PlaceWidth(layer->GetPlace()), kScreenHeight);
  Invalidate(layer->GetPlace());
}

void Shell::RemoveLayer(ShellLayer* layer, bool slide) {
  if (!HasLayer(layer)) return;
  if (touch_layer_ == layer) DropTouch();
  EraseSlides(layer);
  if (slide && host_.AnimatesWindows() && !quit_requested_) {
    // The slide's end takes the layer off the stack (TickAnimations).
    slides_.push_back({layer, host_.NowMs(), false});
    RunLoop([this, layer] { return !HasLayer(layer); });
    EraseSlides(layer);
  }
  if (HasLayer(layer)) {
    layers_.erase(std::remove(layers_.begin(), layers_.end(), layer), layers_.end());
    ++stack_changes_;
  }
  Invalidate(layer->GetPlace());
}

void Shell::EraseSlides(const ShellLayer* layer) {
  slides_.erase(std::remove_if(slides_.begin(), slides_.end(),
                               [layer](const Slide& s) { return s.layer == layer; }),
                slides_.end());
}

void Shell::DropTouch() {
  if (touch_layer_ == nullptr) return;
  ShellLayer* layer = touch_layer_;
  touch_layer_ = nullptr;
  layer->CancelTouch();
}

bool Shell::HasLayer(const ShellLayer* layer) const {
  return std::find(layers_.begin(), layers_.end(), layer) != layers_.end();
}

ShellLayer* Shell::TopLayer() const {
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
    if (!IsClosing(*it)) return *it;
  }
  return nullptr;
}

ShellLayer* Shell::TopOf(ShellLayer::Place place) const {
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
    if ((*it)->GetPlace() == place && !IsClosing(*it)) return *it;
  }
  return nullptr;
}

ShellLayer* Shell::Holder() const {
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
    if ((*it)->HoldsWindow()) return *it;
  }
  return nullptr;
}

bool Shell::IsClosing(const ShellLayer* layer) const {
  return std::any_of(slides_.begin(), slides_.end(),
                     [layer](const Slide& s) { return s.layer == layer && !s.showing; });
}

double Shell::ShownFraction(const ShellLayer* layer) const {
  for (const Slide& s : slides_) {
    if (s.layer != layer) continue;
    const double t = EaseOut(static_cast<double>(host_.NowMs() - s.start_ms) / kSlideMs);
    return s.showing ? t : 1.0 - t;
  }
  return 1.0;
}

ShellAnimation::~ShellAnimation() {
  if (ticker_ != nullptr) ticker_->RemoveAnimation(this);
}

void Shell::AddAnimation(ShellAnimation* animation) {
  if (animation->ticker_ == this) return;
  if (animation->ticker_ != nullptr) animation->ticker_->RemoveAnimation(animation);
  animation->ticker_ = this;
  animations_.push_back(animation);
}

void Shell::RemoveAnimation(ShellAnimation* animation) {
  if (animation->ticker_ != this) return;
  animation->ticker_ = nullptr;
  animations_.erase(std::remove(animations_.begin(), animations_.end(), animation),
                    animations_.end());
}

bool Shell::IsAnimating() const { return !animations_.empty() || !slides_.empty(); }

void Shell::PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kQuitMessage) {
    PostQuit(static_cast<int>(wParam));
    return;
  }
  queue_.push_back({hwnd, message, wParam, lParam});
}

void Shell::PostQuit(int exitCode) {
  if (quit_requested_) return;  // the first quit message decides the exit code
  quit_requested_ = true;
  exit_code_ = exitCode;
}

void Shell::DeliverMessage() {
  QueuedMessage m = queue_.front();
  queue_.pop_front();
  if (MessageTarget* target = TargetFromHandle(m.hwnd)) {
    target->HandleMessage(m.message, m.wParam, m.lParam);
  }
}

ShellLayer* Shell::SettledTop(ShellLayer::Place place) const {
  if (!slides_.empty()) return nullptr;
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
    if ((*it)->GetPlace() == place) return *it;
  }
  return nullptr;
}

bool Shell::AcceptPress(const InputEvent& press) {
  // The press's own moment, not when the loop got to it: a loop busy with a
  // slide reads a second click late, and it is still the second click.
  const std::int64_t now = press.ms >= 0 ? press.ms : host_.NowMs();
  const bool quick_repeat = last_press_.has_value() &&
                            std::abs(press.x - last_press_->x) <= kDoubleClickDistance &&
                            std::abs(press.y - last_press_->y) <= kDoubleClickDistance &&
                            now - last_press_->ms <= kDoubleClickMs;
  // A press that is not the quick repeat of the one before starts a new
  // series: it sees the screen as it is now.
  if (!quick_repeat) series_stack_ = stack_changes_;
  last_press_ = Press{press.x, press.y, now};
  return series_stack_ == stack_changes_;
}

ShellLayer* Shell::KeyLayer() const {
  const ShellLayer* holder = Holder();
  const ShellLayer::Place place = holder != nullptr ? holder->GetPlace() : key_place_;
  ShellLayer* top = TopOf(place);
  return top != nullptr ? top : TopOf(ShellLayer::Place::Phone);
}

void Shell::SetKeyboardInUse(bool in_use) {
  if (keyboard_in_use_ == in_use) return;
  keyboard_in_use_ = in_use;
  Invalidate();  // the focus ring comes or goes
}

void Shell::BindWindowKey(InputKey key, unsigned modifiers, bool during_modal,
                          std::function<void()> action) {
  for (auto it = window_keys_.begin(); it != window_keys_.end(); ++it) {
    if (it->key != key || it->modifiers != modifiers) continue;
    if (!action) {
      window_keys_.erase(it);
      return;
    }
    it->during_modal = during_modal;
    it->action = std::move(action);
    return;
  }
  if (action) window_keys_.push_back({key, modifiers, during_modal, std::move(action)});
}

bool Shell::WindowKey(const InputEvent& event) {
  for (const KeyBinding& k : window_keys_) {
    if (k.key != event.key || k.modifiers != event.modifiers) continue;
    const ShellLayer* holder = Holder();
    if (!k.during_modal && holder != nullptr && !holder->LetsWindowKeysAct()) return true;
    if (k.action) k.action();
    return true;
  }
  return false;
}

void Shell::MoveFocus(bool forward) {
  if (ShellLayer* holder = KeyLayer(); holder != nullptr && Holder() != nullptr) {
    // Round and round inside the layer that holds the window.
    if (!holder->MoveFocus(forward, false)) holder->MoveFocus(forward, true);
    return;
  }
  // The phone's top layer, then the side place's, and round again.
  std::vector<ShellLayer*> chain;
  for (ShellLayer::Place place : {ShellLayer::Place::Phone, ShellLayer::Place::Side}) {
    if (ShellLayer* top = TopOf(place)) chain.push_back(top);
  }
  if (!forward) std::reverse(chain.begin(), chain.end());
  if (chain.empty()) return;
  const auto at = std::find(chain.begin(), chain.end(), KeyLayer());
  std::size_t i = at == chain.end() ? 0 : static_cast<std::size_t>(at - chain.begin());
  for (std::size_t tries = 0; tries <= chain.size(); ++tries, i = (i + 1) % chain.size()) {
    // The key layer goes on from its focus; a layer tabbed into starts afresh.
    if (chain[i]->MoveFocus(forward, tries > 0)) {
      key_place_ = chain[i]->GetPlace();
      return;
    }
  }
}

ShellLayer::Place Shell::PlaceAt(int x) const {
  return x >= kScreenWidth && x < kScreenWidth + PlaceWidth(ShellLayer::Place::Side) ? ShellLayer::Place::Side
                                                                                      : ShellLayer::Place::Phone;
}

InputEvent Shell::InPlace(InputEvent event, ShellLayer::Place place) {
  event.x -= PlaceLeft(place);
  return event;
}

void Shell::DeliverInput(const InputEvent& event) {
  switch (event.type) {
    case InputEvent::Type::Quit:
      PostQuit(0);
      return;
    case InputEvent::Type::Press:
      DeliverPress(event);
      return;
    case InputEvent::Type::Move:
    case InputEvent::Type::Release: {
      ShellLayer* layer = touch_layer_;
      if (event.type == InputEvent::Type::Release) touch_layer_ = nullptr;
      if (layer != nullptr) layer->HandleInput(InPlace(event, layer->GetPlace()));
      return;
    }
    case InputEvent::Type::Drop:
      if (on_drop_) on_drop_(event.text);
      return;
    case InputEvent::Type::Text:
    case InputEvent::Type::Composition:
    case InputEvent::Type::Key:
      DeliverKey(event);
      return;
    case InputEvent::Type::Wheel: {
      const ShellLayer::Place place = PlaceAt(event.x);
      const ShellLayer* holder = Holder();
      if (holder != nullptr && holder->GetPlace() != place) return;
      if (ShellLayer* top = SettledTop(place)) top->HandleInput(InPlace(event, place));
      return;
    }
  }
}

void Shell::DeliverPress(const InputEvent& event) {
  const ShellLayer* holder = Holder();
  DropTouch();
  SetKeyboardInUse(false);
  const ShellLayer::Place place = PlaceAt(event.x);
  const bool accepted = AcceptPress(event);
  if (holder != nullptr && holder->GetPlace() != place) {
    if (accepted) Holder()->PressedElsewhere();
    return;
  }
  ShellLayer* top = SettledTop(place);
  if (!accepted || top == nullptr) return;
  key_place_ = place;
  touch_layer_ = top;
  touch_layer_->HandleInput(InPlace(event, place));
}

void Shell::DeliverKey(const InputEvent& event) {
  // Enter, Space and Esc act once however long they are held: the repeats
  // of the Enter that chose a menu item must not also close the box that
  // follows.
  if (event.type == InputEvent::Type::Key && event.repeat &&
      (event.key == InputKey::Enter || event.key == InputKey::Escape || event.key == InputKey::Space)) {
    return;
  }
  if (!slides_.empty()) {
    if (typed_ahead_.size() < kTypeAheadKeys) typed_ahead_.push_back(event);
    return;
  }
  // A key between two clicks makes them two single clicks.
  last_press_.reset();
  SetKeyboardInUse(true);
  ShellLayer* layer = KeyLayer();
  // While an input method composes, the keys are its own (it sees them
  // first): one that reaches the window anyway edits nothing here.
  if (event.type == InputEvent::Type::Key && layer != nullptr && layer->Composing()) return;
  if (event.type == InputEvent::Type::Key && WindowKey(event)) return;
  if (layer != nullptr) layer->HandleInput(event);
}

void Shell::PlaceTextCaret(const ShellLayer& layer, const RECT& caret) {
  const int left = PlaceLeft(layer.GetPlace());
  const RECT placed{caret.left + left, caret.top, caret.right + left, caret.bottom};
  if (placed.left == text_caret_.left && placed.top == text_caret_.top && placed.right == text_caret_.right &&
      placed.bottom == text_caret_.bottom) {
    return;
  }
  text_caret_ = placed;
  host_.PlaceTextCaret(placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top);
}

void Shell::TickAnimations() {
  const std::int64_t now = host_.NowMs();
  if (!animations_.empty()) {
    std::vector<ShellAnimation*> running = animations_;
    for (ShellAnimation* a : running) {
      // An animation may end (and remove) another one while ticking.
      if (std::find(animations_.begin(), animations_.end(), a) == animations_.end()) continue;
      if (!a->Tick(now)) RemoveAnimation(a);
    }
    dirty_ = true;
  }
  if (!slides_.empty()) {
    for (auto it = slides_.begin(); it != slides_.end();) {
      Invalidate(it->layer->GetPlace());
      if (now - it->start_ms < kSlideMs) {
        ++it;
        continue;
      }
      // A layer that has slid out leaves the stack before the next frame,
      // so it is never drawn in place again.
      if (!it->showing) layers_.erase(std::remove(layers_.begin(), layers_.end(), it->layer),
                                      layers_.end());
      ++stack_changes_;
      it = slides_.erase(it);
    }
  }
}

int Shell::WaitTimeout() const { return IsAnimating() ? kFrameMs : -1; }

bool Shell::RunLoop(const std::function<bool()>& done) {
  ++loop_depth_;
  bool finished = false;
  for (;;) {
    if (done && done()) {
      finished = true;
      break;
    }
    if (!queue_.empty()) {
      DeliverMessage();
      continue;
    }
    if (quit_requested_) break;
    TickAnimations();
    FollowHost();
    if (host_.ClockMinutes() != drawn_minute_) dirty_ = true;
    if (IsDirty()) RenderFrame();
    if (done && done()) {
      finished = true;
      break;
    }
    // Typed-ahead keys go, once all has settled, to what is in front then.
    if (!typed_ahead_.empty() && slides_.empty()) {
      const InputEvent key = typed_ahead_.front();
      typed_ahead_.pop_front();
      DeliverInput(key);
      continue;
    }
    InputEvent event;
    if (host_.WaitEvent(event, WaitTimeout())) {
      DeliverInput(event);
    } else if (on_news_) {
      on_news_();
    }
  }
  --loop_depth_;
  return finished;
}

void Shell::DispatchPending() {
  while (!queue_.empty()) DeliverMessage();
  TickAnimations();
  RenderFrame();
}

void Shell::RenderFrame() {
  // What holds the window dims the other place: both are painted again when
  // that changes.
  const ShellLayer* holder = Holder();
  const std::optional<ShellLayer::Place> held =
      holder != nullptr ? std::optional<ShellLayer::Place>(holder->GetPlace()) : std::nullopt;
  if (held != held_place_) {
    held_place_ = held;
    Invalidate();
  }
  if (dirty_) PaintPhone();
  if (side_dirty_) PaintSide();
  PresentFrame();
}

void Shell::PaintPhone() {
  cairo_t* cr = cairo_create(screen_);
  // The screen keeps to its own pixels; a place may stand beside it.
  cairo_rectangle(cr, 0, 0, phone_width_, cairo_image_surface_get_height(screen_));
  cairo_clip(cr);
  cairo_scale(cr, scale_, scale_);
  {
    Canvas canvas(cr);
    canvas.FillRect(0, 0, kScreenWidth, kScreenHeight, Color::Rgb(0x14, 0x16, 0x1A));
    for (ShellLayer* layer : layers_) {
      if (layer->GetPlace() != ShellLayer::Place::Phone) continue;
      canvas.Save();
      layer->PaintLayer(canvas, ShownFraction(layer));
      canvas.Restore();
    }
    drawn_minute_ = host_.ClockMinutes();
    canvas.Save();
    canvas.ClipRect(0, 0, kScreenWidth, kStatusBarHeight);
    PaintStatusBar(canvas, kScreenWidth, kStatusBarHeight, drawn_minute_);
    canvas.Restore();
    if (held_place_ == ShellLayer::Place::Side) {
      canvas.FillRect(0, 0, kScreenWidth, kScreenHeight, Color::Rgb(0, 0, 0, kHeldDim));
    }
  }
  cairo_destroy(cr);
  dirty_ = false;
}

void Shell::PaintSide() {
  side_dirty_ = false;
  const int width = PlaceWidth(ShellLayer::Place::Side);
  if (width <= 0) return;
  cairo_t* cr = cairo_create(screen_);
  cairo_translate(cr, phone_width_, 0);
  cairo_scale(cr, scale_, scale_);
  {
    Canvas canvas(cr);
    canvas.ClipRect(0, 0, width, kScreenHeight);
    canvas.FillRect(0, 0, width, kScreenHeight, Color::Rgb(0x14, 0x16, 0x1A));
    for (ShellLayer* layer : layers_) {
      if (layer->GetPlace() != ShellLayer::Place::Side) continue;
      canvas.Save();
      layer->PaintLayer(canvas, ShownFraction(layer));
      canvas.Restore();
    }
    if (held_place_ == ShellLayer::Place::Phone) canvas.FillRect(0, 0, width, kScreenHeight, Color::Rgb(0, 0, 0, kHeldDim));
  }
  cairo_destroy(cr);
}

void Shell::PresentFrame() {
  cairo_surface_flush(screen_);
  const int side = static_cast<int>(std::lround(PlaceWidth(ShellLayer::Place::Side) * scale_));
  host_.Present(Pixels(), phone_width_ + side, cairo_image_surface_get_height(screen_), Stride());
}

int Shell::PlaceWidth(ShellLayer::Place place) const {
  if (place == ShellLayer::Place::Phone) return kScreenWidth;
  return side_shown_ ? side_shown_width_ : side_hidden_width_;
}

void Shell::MakeScreen() {
  const auto scaled = [this](int length) { return static_cast<int>(std::lround(length * scale_)); };
  phone_width_ = scaled(kScreenWidth);
  if (screen_ != nullptr) cairo_surface_destroy(screen_);
  screen_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, phone_width_ + scaled(side_shown_width_),
                                       scaled(kScreenHeight));
  Canvas::SetDeviceScale(scale_);
  dirty_ = side_dirty_ = true;
}

void Shell::FollowHost() {
  if (host_.Scale() != scale_) {
    // Drawn anew at the window's new size, text and all, so it stays sharp.
    scale_ = host_.Scale();
    MakeScreen();
    text_caret_ = {};
  } else if (host_.FrameLost()) {
    PresentFrame();
  }
}

void Shell::SetSidePlace(int shown_width, int hidden_width, bool shown) {
  side_shown_width_ = std::max(shown_width, 0);
  side_hidden_width_ = std::clamp(hidden_width, 0, side_shown_width_);
  MakeScreen();
  side_shown_ = !shown;  // so that ShowSide tells the layers
  ShowSide(shown);
  dirty_ = true;
}

void Shell::ShowSide(bool shown) {
  if (side_shown_ == shown) return;
  side_shown_ = shown;
  // What was under a finger there moved: the touch and any quick click after
  // it act on nothing.
  if (touch_layer_ != nullptr && touch_layer_->GetPlace() == ShellLayer::Place::Side) DropTouch();
  ++stack_changes_;
  for (ShellLayer* layer : layers_) {
    if (layer->GetPlace() == ShellLayer::Place::Side) {
      layer->PlaceResized(PlaceWidth(ShellLayer::Place::Side), kScreenHeight);
    }
  }
  side_dirty_ = true;
}

void Shell::WatchReadable(int fd, std::function<void()> on_news) {
  // Kept without a descriptor too: the loop also calls it when it wakes for
  // no input, which is how a studio without a file watch catches up.
  on_news_ = std::move(on_news);
  host_.WakeOnReadable(on_news_ ? fd : -1);
}

const std::uint32_t* Shell::Pixels() const {
  return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(screen_));
}

int Shell::Stride() const { return cairo_image_surface_get_stride(screen_); }

std::uint32_t Shell::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return 0;
  const int px = std::min(static_cast<int>(x * scale_), cairo_image_surface_get_width(screen_) - 1);
  const int py = std::min(static_cast<int>(y * scale_), cairo_image_surface_get_height(screen_) - 1);
  return Pixels()[py * (Stride() / 4) + px] & 0x00FFFFFFu;
}
