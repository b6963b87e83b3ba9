#include "platform/host/sdl_host.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <utility>

#include "platform/host/fd_waker.h"
#include "platform/host/lost_window.h"
#include "platform/host/quit_signals.h"
#include "platform/host/window_scale.h"

struct SdlHost::State {
  double scale = 1.0;
  SDL_Window* window = nullptr;
  // The last frame's width in phone pixels, and the window size last asked
  // for (the frame's): any other size is the user's resize.
  int frame_width = Host::kScreenWidth;
  int asked_width = 0;
  int asked_height = 0;
  bool frame_lost = false;
  // The size of the frame shown last.
  int shown_width = 0;
  int shown_height = 0;
  // Where the window stood when last heard of: a window destroyed from
  // outside can no longer be asked.
  SdlHost::Place place;
  bool finger_down = false;
  bool has_frame = false;
  bool lost = false;  // destroyed from outside: nothing may touch it any more
  Uint32 wake_event = 0;  // the event type the waker pushes
  std::unique_ptr<FdWaker> waker;
  std::unique_ptr<FdWaker> quit_waker;  // pushes SDL's quit event for a quit signal
  bool woke = false;  // WaitEvent returned for the waker: rearm it on the next wait
  // The X server's stamp of the input event SDL is about to hand over, and
  // how far the server's clock is behind NowMs() (see EventMs).
  std::optional<Uint32> x_time;
  std::optional<std::int64_t> x_offset;

  // When `e` happened, on NowMs()'s clock. SDL stamps an event when it takes
  // it from the window system, which is late while the loop draws; the X
  // server stamps each input as it happens. Its clock differs from ours by a
  // constant: the smallest gap yet between its stamp and our reading (an
  // event read at once). A gap that grows past all reason (the server's
  // 32-bit clock wrapped, the process was stopped) starts the measure anew.
  std::int64_t EventMs(const SDL_Event& e) {
    const std::int64_t now = static_cast<std::int64_t>(SDL_GetTicks64());
    if (x_time) {
      const std::int64_t gap = now - *x_time;
      if (!x_offset || gap < *x_offset || gap > *x_offset + 10000) x_offset = gap;
      return *x_time + *x_offset;
    }
    return now - static_cast<Uint32>(static_cast<Uint32>(now) - e.common.timestamp);
  }
};

namespace {
constexpr int kPhoneWidth = Host::kScreenWidth;
constexpr int kPhoneHeight = Host::kScreenHeight;

// The keyboard's keys that stand for the phone's keys, those the elements
// take (Tab, Space, the arrows), and the window's own (F2, and Z and Y of its
// shortcuts), and Backspace and Delete for typed text.
constexpr struct {
  SDL_Keycode sym;
  InputKey key;
} kKeys[] = {
    {SDLK_ESCAPE, InputKey::Escape},   {SDLK_AC_BACK, InputKey::Escape},
    {SDLK_RETURN, InputKey::Enter},    {SDLK_KP_ENTER, InputKey::Enter},
    {SDLK_UP, InputKey::Up},           {SDLK_DOWN, InputKey::Down},
    {SDLK_PAGEUP, InputKey::PageUp},   {SDLK_PAGEDOWN, InputKey::PageDown},
    {SDLK_HOME, InputKey::Home},       {SDLK_END, InputKey::End},
    {SDLK_F2, InputKey::F2},           {SDLK_TAB, InputKey::Tab},
    {SDLK_SPACE, InputKey::Space},     {SDLK_LEFT, InputKey::Left},
    {SDLK_RIGHT, InputKey::Right},     {SDLK_z, InputKey::Z},
    {SDLK_y, InputKey::Y},             {SDLK_BACKSPACE, InputKey::Backspace},
    {SDLK_DELETE, InputKey::Delete},   {SDLK_a, InputKey::A},
    {SDLK_c, InputKey::C},             {SDLK_x, InputKey::X},
    {SDLK_v, InputKey::V},
};

// The X server's time of the input event that `e` wraps, if it wraps one.
std::optional<Uint32> XInputTime(const SDL_Event& e) {
  if (e.syswm.msg == nullptr || e.syswm.msg->subsystem != SDL_SYSWM_X11) return std::nullopt;
  const XEvent& x = e.syswm.msg->msg.x11.event;
  switch (x.type) {
    case ButtonPress:
    case ButtonRelease:
      return static_cast<Uint32>(x.xbutton.time);
    case MotionNotify:
      return static_cast<Uint32>(x.xmotion.time);
    case KeyPress:
    case KeyRelease:
      return static_cast<Uint32>(x.xkey.time);
    default:
      return std::nullopt;
  }
}

// The keys held with a key: Shift and Ctrl, either side.
unsigned ModifiersOf(Uint16 held) {
  return ((held & KMOD_SHIFT) != 0 ? kShift : 0u) | ((held & KMOD_CTRL) != 0 ? kCtrl : 0u);
}

// A window that has grown past the desktop's right edge moves left until it
// ends there (or starts at the desktop's left edge).
void KeepOnDesktop(SDL_Window* window) {
  SDL_Rect usable{};
  const int display = SDL_GetWindowDisplayIndex(window);
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) return;
  int x = 0, y = 0, w = 0, h = 0;
  SDL_GetWindowPosition(window, &x, &y);
  SDL_GetWindowSize(window, &w, &h);
  const int right = usable.x + usable.w;
  if (x + w > right) SDL_SetWindowPosition(window, std::max(usable.x, right - w), y);
}

// The largest scale at which the window, `frame_width` phone pixels wide,
// fits the free area of the desktop it is on.
double LargestScale(SDL_Window* window, int frame_width) {
  SDL_Rect usable{};
  const int display = SDL_GetWindowDisplayIndex(window);
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) return 4.0;
  return FitWindowScale(4.0, usable.w, usable.h, frame_width);
}

// A window at `place`, `width` x `height` pixels, moved as little as it takes
// to stand whole on the screen that holds the middle of its title bar; none
// when no screen holds it.
std::optional<SdlHost::Place> OnAScreen(const SdlHost::Place& place, int width, int height) {
  const SDL_Point title{place.x + width / 2, place.y + 10};
  for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(i, &bounds) != 0 || !SDL_PointInRect(&title, &bounds)) continue;
    SDL_Rect usable = bounds;
    if (SDL_GetDisplayUsableBounds(i, &usable) != 0) usable = bounds;
    return SdlHost::Place{std::max(usable.x, std::min(place.x, usable.x + usable.w - width)),
                          std::max(usable.y, std::min(place.y, usable.y + usable.h - height))};
  }
  return std::nullopt;
}
}  // namespace

namespace {

// Starts SDL's video, with the hints this host wants; false with `error`
// set when no window system answers.
bool StartVideo(std::string& error) {
  // The window's pixels are copied straight to the window system. SDL would
  // otherwise draw them through a software OpenGL, which alone holds about
  // 90 MB and makes each frame slower.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
#if SDL_VERSION_ATLEAST(2, 0, 22)
  // A composition longer than SDL's short event text comes whole, on the heap.
  SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
#endif
  // SIGINT and SIGTERM stay ours (quit_signals.h). SDL's handlers would only
  // note them for its next look at the queue: one that came just before SDL
  // went to sleep, or on another thread, would wait for the next input.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  const bool started = SDL_Init(SDL_INIT_VIDEO) == 0;
  if (!started) {
    error = SDL_GetError();
    return false;
  }
  // When no window system answers, SDL falls back to drawing into memory: a
  // window nobody can see, and a program that seems to hang. Unless that was
  // asked for (SDL_VIDEODRIVER), it counts as no display.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if (driver != nullptr && (asked == nullptr || *asked == '\0') &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    const char* display = std::getenv("DISPLAY");
    error = std::string("no window system answers at DISPLAY=") + (display != nullptr ? display : "");
    SDL_Quit();
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<SdlHost> SdlHost::Create(const Opening& opening, std::string& error) {
  const int width = opening.width;
  if (!StartVideo(error)) return nullptr;
  auto state = std::make_unique<State>();
  // A window taller or wider than the desktop would hide the toolbar.
  SDL_Rect usable{};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = SDL_Rect{};
  const double scale = StartWindowScale(opening.scale, opening.kept, usable.w, usable.h, width);
  state->scale = scale;
  state->frame_width = std::max(width, kPhoneWidth);
  // Files dropped on the window come as events.
  SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
  const int w = static_cast<int>(std::lround(std::max(width, kPhoneWidth) * scale));
  const int h = static_cast<int>(std::lround(kPhoneHeight * scale));
  const std::optional<Place> placed = opening.place ? OnAScreen(*opening.place, w, h) : std::nullopt;
  state->window = SDL_CreateWindow("Tintor", placed ? placed->x : SDL_WINDOWPOS_CENTERED,
                                   placed ? placed->y : SDL_WINDOWPOS_CENTERED, w, h,
                                   SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
  state->asked_width = w;
  state->asked_height = h;
  if (state->window == nullptr || SDL_GetWindowSurface(state->window) == nullptr) {
    error = SDL_GetError();
    if (state->window) SDL_DestroyWindow(state->window);
    SDL_Quit();
    return nullptr;
  }
  SDL_GetWindowPosition(state->window, &state->place.x, &state->place.y);
  // Typed text only while a text field wants it: SDL starts taking it at
  // once, and an input method would catch the keys of the window meanwhile.
  SDL_StopTextInput();
  state->wake_event = SDL_RegisterEvents(1);
  if (QuitSignalDescriptor() >= 0) {
    state->quit_waker = std::make_unique<FdWaker>(QuitSignalDescriptor(), [] {
      SDL_Event e{};
      e.type = SDL_QUIT;
      return SDL_PushEvent(&e) == 1;
    });
  }
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(state->window, &info) && info.subsystem == SDL_SYSWM_X11) {
    WatchForLostWindow(info.info.x11.window);
    // For the X server's own time of each input (EventMs).
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  }
  return std::unique_ptr<SdlHost>(new SdlHost(std::move(state)));
}

SdlHost::SdlHost(std::unique_ptr<State> state) : state_(std::move(state)) {}

SdlHost::~SdlHost() {
  state_->waker.reset();
  state_->quit_waker.reset();
  if (state_->lost) {
    // Shutting SDL down would make it speak of the gone window again, on a
    // connection of its own whose errors end the process. The window host
    // goes only when the process ends, which takes the connections along.
    return;
  }
  SDL_DestroyWindow(state_->window);
  SDL_Quit();
}

double SdlHost::Scale() const { return state_->scale; }

bool SdlHost::FrameLost() { return std::exchange(state_->frame_lost, false); }

SdlHost::Place SdlHost::WindowPlace() const {
  if (!state_->lost) SDL_GetWindowPosition(state_->window, &state_->place.x, &state_->place.y);
  return state_->place;
}

void SdlHost::SetIcon(const std::uint32_t* pixels, int width, int height) {
  if (pixels == nullptr || width <= 0 || height <= 0 || state_->lost) return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (icon == nullptr) return;
  // The window system wants each colour whole, not already multiplied by its alpha.
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<unsigned char*>(icon->pixels) + y * icon->pitch);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      const std::uint32_t a = p >> 24;
      const auto whole = [a](std::uint32_t c) { return a == 0 ? 0u : std::min(255u, (c * 255 + a / 2) / a); };
      row[x] = (a << 24) | (whole((p >> 16) & 0xFF) << 16) | (whole((p >> 8) & 0xFF) << 8) |
               whole(p & 0xFF);
    }
  }
  SDL_SetWindowIcon(state_->window, icon);
  SDL_FreeSurface(icon);
}

void SdlHost::QueueDroppedFile(const std::string& path) {
  SDL_Event e{};
  e.type = SDL_DROPFILE;
  e.drop.file = SDL_strdup(path.c_str());
  e.drop.windowID = SDL_GetWindowID(state_->window);
  if (e.drop.file != nullptr && SDL_PushEvent(&e) != 1) SDL_free(e.drop.file);
}

void SdlHost::Present(const std::uint32_t* pixels, int width, int height, int stride) {
  if (pixels == nullptr || width <= 0 || height <= 0 || state_->lost) return;
  // The window takes the size of a frame of a new size (wider than the
  // phone's, or at a new scale). A window the desktop keeps at another size
  // shows the frame in its corner, with the rest dark, and is not asked again.
  state_->frame_width = static_cast<int>(std::lround(width / state_->scale));
  const bool new_size = width != state_->shown_width || height != state_->shown_height;
  state_->shown_width = width;
  state_->shown_height = height;
  SDL_Surface* target = SDL_GetWindowSurface(state_->window);
  if (target == nullptr || (new_size && (target->w != width || target->h != height))) {
    state_->asked_width = width;
    state_->asked_height = height;
    SDL_SetWindowSize(state_->window, width, height);
    // A person may make it smaller, down to half the phone's size (or as
    // small as --scale asked for).
    SDL_SetWindowMinimumSize(
        state_->window,
        std::min(width, static_cast<int>(std::ceil(state_->frame_width * kSmallestKeptScale))),
        std::min(height, static_cast<int>(std::ceil(kPhoneHeight * kSmallestKeptScale))));
    KeepOnDesktop(state_->window);
    target = SDL_GetWindowSurface(state_->window);
    if (target == nullptr) return;
  }
  SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<std::uint32_t*>(pixels), width, height, 32, stride, SDL_PIXELFORMAT_RGB888);
  if (frame == nullptr) return;
  if (target->w != width || target->h != height) {
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0x14, 0x16, 0x1A));
  }
  SDL_BlitSurface(frame, nullptr, target, nullptr);
  SDL_FreeSurface(frame);
  SDL_UpdateWindowSurface(state_->window);
  state_->has_frame = true;
}

void SdlHost::WakeOnReadable(int fd) {
  state_->waker.reset();
  if (fd < 0 || state_->wake_event == static_cast<Uint32>(-1)) return;
  const Uint32 type = state_->wake_event;
  state_->woke = false;
  state_->waker = std::make_unique<FdWaker>(fd, [type] {
    SDL_Event e{};
    e.type = type;
    return SDL_PushEvent(&e) == 1;
  });
}

void SdlHost::TakeText(bool wanted) {
  if (state_->lost || wanted == (SDL_IsTextInputActive() == SDL_TRUE)) return;
  if (wanted) {
    SDL_StartTextInput();
  } else {
    SDL_StopTextInput();
  }
}

void SdlHost::PlaceTextCaret(int x, int y, int width, int height) {
  if (state_->lost) return;
  // The window's pixels: the frame is drawn at the window's scale.
  const double s = state_->scale;
  const int left = static_cast<int>(std::floor(x * s));
  const int top = static_cast<int>(std::floor(y * s));
  SDL_Rect caret{left, top, std::max(1, static_cast<int>(std::ceil((x + width) * s)) - left),
                 std::max(1, static_cast<int>(std::ceil((y + height) * s)) - top)};
  SDL_SetTextInputRect(&caret);
}

std::string SdlHost::ClipboardText() {
  if (state_->lost) return {};
  char* text = SDL_GetClipboardText();
  std::string copy = text != nullptr ? text : "";
  SDL_free(text);
  return copy;
}

void SdlHost::SetClipboardText(const std::string& text) {
  if (!state_->lost) SDL_SetClipboardText(text.c_str());
}

std::int64_t SdlHost::NowMs() const { return static_cast<std::int64_t>(SDL_GetTicks64()); }

int SdlHost::ClockMinutes() const {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return local.tm_hour * 60 + local.tm_min;
}

bool SdlHost::WaitEvent(InputEvent& event, int timeout_ms) {
  if (timeout_ms < 0) {
    // Nothing moves: sleep until input, or until the clock's next minute.
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    timeout_ms = (60 - local.tm_sec) * 1000;
  }
  const std::int64_t deadline = NowMs() + timeout_ms;
  // The shell has read the news of the last wake by now.
  if (state_->woke) {
    state_->woke = false;
    if (state_->waker) state_->waker->Rearm();
  }
  for (;;) {
    // A window destroyed from outside ends the run like its close button,
    // and so does a quit signal that came before the window opened.
    if (QuitSignalArrived()) {
      event = InputEvent::Quit();
      return true;
    }
    if (!state_->lost && WindowWasLost()) {
      state_->lost = true;
      event = InputEvent::Quit();
      return true;
    }
    const std::int64_t left = deadline - NowMs();
    SDL_Event e;
    if (left <= 0 || SDL_WaitEventTimeout(&e, static_cast<int>(left)) == 0) return false;
    if (state_->waker && e.type == state_->wake_event) {
      state_->woke = true;
      return false;
    }
    if (e.type == SDL_SYSWMEVENT) {
      // Comes just before the events SDL makes of the same X event.
      state_->x_time = XInputTime(e);
      continue;
    }
    const std::int64_t at = state_->EventMs(e);
    state_->x_time.reset();
    switch (Hear(e, event)) {
      case Heard::kInput:
        event.ms = at;
        return true;
      case Heard::kNews:
        return false;
      case Heard::kNothing:
        break;
    }
  }
}

SdlHost::Heard SdlHost::Hear(const SDL_Event& e, InputEvent& event) {
  const auto px = [this](int v) { return static_cast<int>(std::floor(v / state_->scale)); };
  const auto give = [&event](InputEvent happened) {
    event = std::move(happened);
    return Heard::kInput;
  };
  switch (e.type) {
    case SDL_QUIT:
      return give(InputEvent::Quit());
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button != SDL_BUTTON_LEFT) break;
      state_->finger_down = true;
      return give(InputEvent::Press(px(e.button.x), px(e.button.y)));
    case SDL_MOUSEBUTTONUP:
      if (e.button.button != SDL_BUTTON_LEFT || !state_->finger_down) break;
      state_->finger_down = false;
      return give(InputEvent::Release(px(e.button.x), px(e.button.y)));
    case SDL_MOUSEMOTION:
      if (!state_->finger_down) break;
      return give(InputEvent::Move(px(e.motion.x), px(e.motion.y)));
    case SDL_MOUSEWHEEL: {
      int mx = 0, my = 0;
      SDL_GetMouseState(&mx, &my);
      const int turns = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      if (turns == 0) break;
      return give(InputEvent::Wheel(px(mx), px(my), turns));
    }
    case SDL_KEYDOWN:
      if ((e.key.keysym.mod & KMOD_CTRL) != 0 && Zoom(e.key.keysym.sym)) return Heard::kNews;
      for (const auto& [sym, key] : kKeys) {
        if (e.key.keysym.sym != sym) continue;
        const unsigned held = ModifiersOf(e.key.keysym.mod);
        return give(e.key.repeat != 0 ? InputEvent::KeyRepeat(key, held) : InputEvent::Key(key, held));
      }
      break;
    case SDL_TEXTINPUT:
      if (e.text.text[0] == '\0') break;
      return give(InputEvent::Text(e.text.text));
    case SDL_TEXTEDITING:
      return give(InputEvent::Composition(e.edit.text, e.edit.start));
#if SDL_VERSION_ATLEAST(2, 0, 22)
    case SDL_TEXTEDITING_EXT: {
      std::string composing = e.editExt.text != nullptr ? e.editExt.text : "";
      SDL_free(e.editExt.text);
      return give(InputEvent::Composition(std::move(composing), e.editExt.start));
    }
#endif
    case SDL_DROPFILE: {
      if (e.drop.file == nullptr) break;
      std::string path = e.drop.file;
      SDL_free(e.drop.file);
      return give(InputEvent::Drop(std::move(path)));
    }
    case SDL_WINDOWEVENT:
      return HearWindow(e.window);
    default:
      break;
  }
  return Heard::kNothing;
}

SdlHost::Heard SdlHost::HearWindow(const SDL_WindowEvent& e) {
  // The window surface still holds the last frame.
  if (e.event == SDL_WINDOWEVENT_EXPOSED && state_->has_frame && !state_->lost) {
    SDL_UpdateWindowSurface(state_->window);
  }
  // Back in front: what the shell shows beside the phone may be old.
  if (e.event == SDL_WINDOWEVENT_FOCUS_GAINED) return Heard::kNews;
  if (e.event == SDL_WINDOWEVENT_MOVED) state_->place = Place{e.data1, e.data2};
  if (e.event == SDL_WINDOWEVENT_SIZE_CHANGED && !state_->lost &&
      (e.data1 != state_->asked_width || e.data2 != state_->asked_height) && Resized(e.data1, e.data2)) {
    return Heard::kNews;
  }
  return Heard::kNothing;
}

bool SdlHost::Zoom(int key) {
  int direction = 0;
  switch (key) {
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_KP_PLUS:
      direction = 1;
      break;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
      direction = -1;
      break;
    case SDLK_0:
    case SDLK_KP_0:
      break;
    default:
      return false;
  }
  if (state_->lost) return true;
  state_->scale = ZoomWindowScale(state_->scale, direction,
                                  LargestScale(state_->window, state_->frame_width));
  return true;
}

bool SdlHost::Resized(int width, int height) {
  // The scale at which the frame fills the new size in one direction and
  // fits in the other; the window then takes the frame's size.
  const double fits = std::min(static_cast<double>(width) / state_->frame_width,
                               static_cast<double>(height) / kPhoneHeight);
  const double scale = std::clamp(fits, kSmallestKeptScale,
                                  std::max(kSmallestKeptScale, LargestScale(state_->window, state_->frame_width)));
  if (std::abs(scale - state_->scale) < 1e-9) {
    // The same frame, shown again in the window as it is now.
    state_->frame_lost = true;
    return true;
  }
  state_->scale = scale;
  return true;
}
