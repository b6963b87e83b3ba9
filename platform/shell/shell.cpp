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
#include "platform/shell/side_panel.h"
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
  const auto scaled = [this](int length) { return static_cast<int>(std::lround(length * scale_)); };
  phone_width_ = scaled(kScreenWidth);
  screen_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, phone_width_, scaled(kScreenHeight));
  Canvas::SetDeviceScale(scale_);
  previous_ = g_current;
  g_current = this;
  SetQuitMessageSink(&QuitSink);
}

Shell::~Shell() {
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
  dirty_ = true;
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
  dirty_ = true;
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

void Shell::AddAnimation(ShellAnimation* animation) {
  if (std::find(animations_.begin(), animations_.end(), animation) == animations_.end()) {
    animations_.push_back(animation);
  }
}

void Shell::RemoveAnimation(ShellAnimation* animation) {
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

ShellLayer* Shell::SettledTop() const {
  return slides_.empty() && !layers_.empty() ? layers_.back() : nullptr;
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
  return SettledTop() != nullptr && series_stack_ == stack_changes_;
}

void Shell::DeliverInput(const InputEvent& event) {
  switch (event.type) {
    case InputEvent::Type::Quit:
      PostQuit(0);
      return;
    case InputEvent::Type::Press:
      DropTouch();
      if (AcceptPress(event)) {
        touch_layer_ = SettledTop();
        touch_layer_->HandleInput(event);
      }
      return;
    case InputEvent::Type::Move:
    case InputEvent::Type::Release: {
      ShellLayer* layer = touch_layer_;
      if (event.type == InputEvent::Type::Release) touch_layer_ = nullptr;
      if (layer != nullptr) layer->HandleInput(event);
      return;
    }
    case InputEvent::Type::Key:
      // Enter and Esc act once however long they are held: the repeats of the
      // Enter that chose a menu item must not also close the box that follows.
      if (event.repeat && (event.key == InputKey::Enter || event.key == InputKey::Escape)) return;
      // A key between two clicks makes them two single clicks.
      last_press_.reset();
      [[fallthrough]];
    case InputEvent::Type::Wheel:
      if (ShellLayer* top = SettledTop()) top->HandleInput(event);
      return;
  }
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
    dirty_ = true;
    for (auto it = slides_.begin(); it != slides_.end();) {
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
    if (host_.ClockMinutes() != drawn_minute_) dirty_ = true;
    if (dirty_) {
      RenderFrame();
    } else if (SidePanelStale()) {
      PaintSidePanel();
      PresentFrame();
    }
    if (done && done()) {
      finished = true;
      break;
    }
    InputEvent event;
    if (host_.WaitEvent(event, WaitTimeout())) {
      if (!RouteToSidePanel(event)) DeliverInput(event);
    } else if (side_panel_ != nullptr) {
      side_panel_->Refresh();
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
  cairo_t* cr = cairo_create(screen_);
  // The screen keeps to its own pixels; a panel may stand beside it.
  cairo_rectangle(cr, 0, 0, phone_width_, cairo_image_surface_get_height(screen_));
  cairo_clip(cr);
  cairo_scale(cr, scale_, scale_);
  {
    Canvas canvas(cr);
    canvas.FillRect(0, 0, kScreenWidth, kScreenHeight, Color::Rgb(0x14, 0x16, 0x1A));
    for (ShellLayer* layer : layers_) {
      canvas.Save();
      layer->PaintLayer(canvas, ShownFraction(layer));
      canvas.Restore();
    }
    drawn_minute_ = host_.ClockMinutes();
    canvas.Save();
    canvas.ClipRect(0, 0, kScreenWidth, kStatusBarHeight);
    PaintStatusBar(canvas, kScreenWidth, kStatusBarHeight, drawn_minute_);
    canvas.Restore();
  }
  cairo_destroy(cr);
  dirty_ = false;
  if (SidePanelStale()) PaintSidePanel();
  PresentFrame();
}

void Shell::PresentFrame() {
  cairo_surface_flush(screen_);
  const int width = SidePanelShown() ? cairo_image_surface_get_width(screen_) : phone_width_;
  host_.Present(Pixels(), width, cairo_image_surface_get_height(screen_), Stride());
}

void Shell::SetSidePanel(SidePanel* panel, bool shown) {
  side_panel_ = panel;
  const int height = cairo_image_surface_get_height(screen_);
  const int width =
      phone_width_ + (panel != nullptr ? static_cast<int>(std::lround(panel->Width() * scale_)) : 0);
  cairo_surface_destroy(screen_);
  screen_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  host_.WakeOnReadable(panel != nullptr ? panel->WakeFd() : -1);
  ShowSidePanel(shown);
}

void Shell::ShowSidePanel(bool shown) {
  side_shown_ = shown;
  side_painted_ = false;
  side_touch_ = false;
  dirty_ = true;
}

bool Shell::SidePanelStale() const {
  return SidePanelShown() && (!side_painted_ || side_panel_->NeedsRepaint());
}

void Shell::PaintSidePanel() {
  cairo_t* cr = cairo_create(screen_);
  cairo_translate(cr, phone_width_, 0);
  {
    Canvas canvas(cr);
    side_panel_->Paint(canvas, scale_);
  }
  cairo_destroy(cr);
  side_painted_ = true;
}

bool Shell::RouteToSidePanel(const InputEvent& event) {
  if (side_panel_ == nullptr) return false;
  bool panels = false;
  switch (event.type) {
    case InputEvent::Type::Key:
      if (event.key != InputKey::F2) return false;
      if (!event.repeat) ShowSidePanel(!side_shown_);
      return true;
    case InputEvent::Type::Press:
      side_touch_ = side_shown_ && event.x >= kScreenWidth;
      panels = side_touch_;
      break;
    case InputEvent::Type::Move:
      panels = side_touch_;
      break;
    case InputEvent::Type::Release:
      panels = side_touch_;
      side_touch_ = false;
      break;
    case InputEvent::Type::Wheel:
      panels = side_shown_ && event.x >= kScreenWidth;
      break;
    case InputEvent::Type::Quit:
      return false;
  }
  if (!panels) return false;
  InputEvent local = event;
  local.x -= kScreenWidth;
  side_panel_->HandleInput(local);
  return true;
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

bool Shell::SavePng(const std::string& path) const {
  return cairo_surface_write_to_png(screen_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
