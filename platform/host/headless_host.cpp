#include "platform/host/headless_host.h"

#include <cairo.h>
#include <poll.h>

#include <cstring>

#include "platform/file/replace_file.h"
#include "platform/host/quit_signals.h"

HeadlessHost::HeadlessHost() : frame_(static_cast<std::size_t>(kScreenWidth) * kScreenHeight, 0) {}
HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::Present(const std::uint32_t* pixels, int width, int height, int stride) {
  if (width < kScreenWidth || height != kScreenHeight || pixels == nullptr) return;
  frame_width_ = width;
  frame_.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    std::memcpy(&frame_[static_cast<std::size_t>(y) * width],
                reinterpret_cast<const unsigned char*>(pixels) + static_cast<std::size_t>(y) * stride,
                static_cast<std::size_t>(width) * 4);
  }
  ++frames_;
}

int HeadlessHost::ClockMinutes() const {
  return static_cast<int>((kStartMinutes + now_ms_ / 60000) % (24 * 60));
}

std::uint32_t HeadlessHost::FramePixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= frame_width_ || y >= kScreenHeight) return 0;
  return frame_[static_cast<std::size_t>(y) * frame_width_ + x] & 0x00FFFFFFu;
}

bool HeadlessHost::SaveFrame(const std::string& path) const {
  std::string png;
  cairo_surface_t* s = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(frame_.data())), CAIRO_FORMAT_RGB24,
      frame_width_, kScreenHeight, frame_width_ * 4);
  auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  const bool drawn = cairo_surface_write_to_png_stream(s, append, &png) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  // A whole new picture or none: never written through a link someone put
  // at its name, never into a device or a pipe. What a killed run left
  // beside it goes.
  FileError error;
  const ReplaceOptions options{.link = LinkAtPath::kRefuse, .clear_stale_temporaries = true};
  return drawn && ReplaceFile(path, png, options, &error);
}

void HeadlessHost::Inject(const InputEvent& event) {
  Pending p{Pending::Kind::Event, event, 0, {}, {}};
  pending_.push_back(std::move(p));
}

void HeadlessHost::InjectTap(int x, int y) {
  Inject(InputEvent::Press(x, y));
  Inject(InputEvent::Release(x, y));
}

void HeadlessHost::InjectDrag(int x1, int y1, int x2, int y2, int ms) {
  Inject(InputEvent::Press(x1, y1));
  const int steps = ms / kDragStepMs > 0 ? ms / kDragStepMs : 1;
  Pending p{Pending::Kind::Drag, {}, 0, {}, {}, DragPath{x1, y1, x2, y2, ms, steps, 0}};
  pending_.push_back(std::move(p));
}

void HeadlessHost::StepDrag(Pending& front) {
  DragPath& d = front.drag;
  if (d.done == d.steps) {
    front.kind = Pending::Kind::Event;
    front.event = InputEvent::Release(d.x2, d.y2);
    return;
  }
  const auto at = [&d](int i) { return static_cast<int>(static_cast<long long>(d.ms) * i / d.steps); };
  const int i = ++d.done;
  const int wait = at(i) - at(i - 1);
  pending_.push_front(Pending{Pending::Kind::Event,
                              InputEvent::Move(d.x1 + (d.x2 - d.x1) * i / d.steps,
                                               d.y1 + (d.y2 - d.y1) * i / d.steps),
                              0, {}, {}, {}});
  if (wait > 0) pending_.push_front(Pending{Pending::Kind::Wait, {}, wait, {}, {}, {}});
}

void HeadlessHost::InjectWait(int ms) {
  if (ms <= 0) return;
  Pending p{Pending::Kind::Wait, {}, ms, {}, {}};
  pending_.push_back(std::move(p));
}

void HeadlessHost::InjectKey(InputKey key) { Inject(InputEvent::Key(key)); }

void HeadlessHost::InjectWheel(int x, int y, int turns) { Inject(InputEvent::Wheel(x, y, turns)); }

void HeadlessHost::InjectScreenshot(const std::string& path) {
  Pending p{Pending::Kind::Shot, {}, 0, path, {}};
  pending_.push_back(std::move(p));
}


std::string HeadlessHost::InScreenshotDir(const std::string& path) const {
  if (path.empty() || path[0] == '/' || screenshot_dir_.empty()) return path;
  return screenshot_dir_ + "/" + path;
}

void HeadlessHost::InjectCall(std::function<void()> call) {
  Pending p{Pending::Kind::Call, {}, 0, {}, std::move(call)};
  pending_.push_back(std::move(p));
}

void HeadlessHost::InjectComposition(const std::string& utf8) {
  int characters = 0;
  for (char c : utf8) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  Inject(InputEvent::Composition(utf8, characters));
}

void HeadlessHost::InjectScript(const std::vector<ScriptCommand>& commands) {
  for (const ScriptCommand& c : commands) {
    switch (c.kind) {
      case ScriptCommand::Kind::Tap:
        InjectTap(c.x1, c.y1);
        break;
      case ScriptCommand::Kind::Drag:
        InjectDrag(c.x1, c.y1, c.x2, c.y2, c.ms);
        break;
      case ScriptCommand::Kind::Wait:
        InjectWait(c.ms);
        break;
      case ScriptCommand::Kind::Key:
        Inject(InputEvent::Key(c.key, c.modifiers));
        break;
      case ScriptCommand::Kind::Type:
        InjectText(c.name);
        break;
      case ScriptCommand::Kind::Compose:
        InjectComposition(c.name);
        break;
      case ScriptCommand::Kind::Shot:
        InjectScreenshot(c.name);
        break;
      case ScriptCommand::Kind::Extension:
        InjectCall([this, c] {
          std::string error = "nothing here carries out '" + c.name + "'";
          if (!command_handler_ || !command_handler_(c, error)) errors_.push_back(error);
        });
        break;
    }
  }
}

bool HeadlessHost::WaitEvent(InputEvent& event, int timeout_ms) {
  for (;;) {
    if (QuitSignalArrived()) {
      event = InputEvent::Quit();
      return true;
    }
    pollfd news{wake_fd_, POLLIN, 0};
    if (wake_fd_ >= 0 && ::poll(&news, 1, 0) > 0) return false;
    if (pending_.empty()) {
      if (timeout_ms >= 0 && settled_ms_ < kMaxSettleMs) {
        // Nothing to do but let the movement on screen finish.
        now_ms_ += timeout_ms;
        settled_ms_ += timeout_ms;
        return false;
      }
      settled_ms_ = 0;
      if (idle_) {
        idle_();
        if (!pending_.empty()) return false;
      }
      event = InputEvent::Quit();
      return true;
    }
    settled_ms_ = 0;
    Pending& front = pending_.front();
    switch (front.kind) {
      case Pending::Kind::Event:
        event = front.event;
        event.ms = now_ms_;
        pending_.pop_front();
        return true;
      case Pending::Kind::Wait:
        if (timeout_ms >= 0 && front.ms > timeout_ms) {
          front.ms -= timeout_ms;
          now_ms_ += timeout_ms;
          return false;
        }
        now_ms_ += front.ms;
        pending_.pop_front();
        return false;
      case Pending::Kind::Shot: {
        const std::string path = InScreenshotDir(front.path);
        pending_.pop_front();
        if (!SaveFrame(path)) errors_.push_back(path + ": cannot write the screenshot");
        return false;
      }
      case Pending::Kind::Call: {
        std::function<void()> call = std::move(front.call);
        pending_.pop_front();
        call();
        return false;
      }
      case Pending::Kind::Drag:
        StepDrag(front);
        break;
    }
  }
}
