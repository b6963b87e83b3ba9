// The emulated phone: a 480 x 720 screen with a 35-pixel status bar, the theme
// colours read from the registry at start, the stack of windows, menus and
// boxes, one message queue, and the (nested) message loops over a Host.
//
// One Shell exists at a time; the entry point makes it, tests make their own
// with a HeadlessHost. Every layer holds the shell it was given (its
// window's, its panel's), and the shell lets go of them when it goes first. Control notifications are posted
// to the queue and delivered by whichever loop runs; a quit message ends the
// innermost loop, then every loop around it, and the outermost returns the
// exit code.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "platform/shell/shell_layer.h"
#include "platform/shell/theme_colors.h"
#include "platform/win/win_types.h"

class ShellAnimation;
class MessageTarget;
typedef struct _cairo_surface cairo_surface_t;

class Shell {
 public:
  static constexpr int kScreenWidth = Host::kScreenWidth;
  static constexpr int kScreenHeight = Host::kScreenHeight;
  static constexpr int kStatusBarHeight = 35;
  // How long windows, menus and boxes take to slide in or out (SDL host only).
  static constexpr int kSlideMs = 220;
  // The tick interval while something moves.
  static constexpr int kFrameMs = 16;
  // The quit message (WM_QUIT); posting it is the same as PostQuit(wParam).
  static constexpr UINT kQuitMessage = 0x0012;
  // The system's double-click time and distance: a second press this soon
  // and this close to the first is the second click of a double click.
  static constexpr int kDoubleClickMs = 500;
  static constexpr int kDoubleClickDistance = 4;
  // How dark the place that a modal run in the other place holds is drawn.
  static constexpr double kHeldDim = 0.45;

  // Reads the theme colours, installs the quit sink and becomes Current().
  explicit Shell(Host& host);
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;
  ~Shell();

  // The shell made last that is still there, or null. Only the toolkit's
  // calls that are handed no object (creating a window, running the
  // application, a message box, a popup menu) ask for it, all through
  // ToolkitShell() (platform/ui/toolkit_functions.h); everything else is
  // given its shell.
  static Shell* Current();

  Host& GetHost() { return host_; }
  const ThemeColors& Theme() const { return theme_; }
  // Why the theme colours could not be read at start (the registry file is
  // unreadable), or empty.
  const std::string& ThemeProblem() const { return theme_problem_; }
  // (0, 35, 480, 720): the screen below the status bar.
  static RECT WorkArea();

  // ---- Window handles ----
  HWND RegisterTarget(MessageTarget* target);
  void UnregisterTarget(HWND hwnd);
  MessageTarget* TargetFromHandle(HWND hwnd) const;

  // ---- The stack of layers (bottom first), in both places ----
  // slide: animate it in (when the host animates windows).
  void PushLayer(ShellLayer* layer, bool slide);
  // slide: animate it out first; returns once the layer is off the stack.
  void RemoveLayer(ShellLayer* layer, bool slide);
  bool HasLayer(const ShellLayer* layer) const;
  // The topmost layer that is not leaving, of either place.
  ShellLayer* TopLayer() const;
  std::size_t LayerCount() const { return layers_.size(); }
  // The topmost layer running modally: it holds the whole window. Null when
  // none does.
  ShellLayer* Holder() const;

  // ---- Animations ticked on the host's clock ----
  void AddAnimation(ShellAnimation* animation);
  void RemoveAnimation(ShellAnimation* animation);
  bool IsAnimating() const;

  // ---- The message queue ----
  void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void PostQuit(int exitCode);
  bool QuitRequested() const { return quit_requested_; }
  int ExitCode() const { return exit_code_; }
  std::size_t PendingMessages() const { return queue_.size(); }

  // ---- Loops ----
  // Runs until `done` says so (true) or a quit message arrives (false).
  // A null `done` runs until the quit message.
  bool RunLoop(const std::function<bool()>& done);
  // How many loops are running inside each other right now.
  int LoopDepth() const { return loop_depth_; }
  // Delivers every queued message and input that is already there, renders,
  // and returns without waiting (for tests that drive the shell by hand).
  void DispatchPending();
  // Hands one input event to the layers (what the loops do with host input).
  // Text typed goes where keys go, after them, but never to the key table.
  // Input acts on what the user saw: a press goes to the top layer of the
  // place under it only when nothing slides, and the second click of a
  // double click never goes to a layer that was opened, uncovered or
  // finished sliding in after the first click began (nor does any quick
  // click after it at that spot; a key in between makes them single clicks).
  // While a modal run holds the window, the other place takes no press, no
  // wheel and no key, and is painted dimmed; a press there is the holder's
  // PressedElsewhere. The moves and the release of a touch go to the layer
  // its press went to, while it stays on top; those of a dropped press go
  // nowhere. A key is looked up in the window's key table first; the others
  // go to the key layer when nothing slides; the keyboard's repeats of a held
  // Enter, Space or Esc are dropped.
  void DeliverInput(const InputEvent& event);

  // ---- The keyboard ----
  // The window's own keys, in one table: F2 hides and shows the place
  // beside the screen, Tab and Shift+Tab move the focus. `during_modal`:
  // the key acts while a modal run holds the window too (else only while the
  // layer that holds it lets the window's keys act). Binding a key that
  // is there already replaces its action; binding it to no action takes it
  // out of the table.
  void BindWindowKey(InputKey key, unsigned modifiers, bool during_modal,
                     std::function<void()> action);
  // Moves the keyboard focus through the phone's top layer, then the side
  // place's, and round again; within the holder while one holds the window.
  void MoveFocus(bool forward);
  // The layer that keys go to: the top of the holder's place, else the top
  // of the place last pressed or tabbed into.
  ShellLayer* KeyLayer() const;
  // True from a key until the next press: a focus ring shows only then.
  bool KeyboardInUse() const { return keyboard_in_use_; }

  // ---- Beside the screen ----
  // Opens a place right of the screen, as tall as it: `shown_width` phone
  // pixels wide when shown, `hidden_width` when hidden (0: no place). What
  // is drawn there are the layers pushed to the Side place; the shell knows
  // nothing else of it. Every side layer is told its new size.
  void SetSidePlace(int shown_width, int hidden_width, bool shown);
  void ShowSide(bool shown);
  bool SideShown() const { return side_shown_; }
  // The width of a place now, in phone pixels (the phone's is the screen's).
  int PlaceWidth(ShellLayer::Place place) const;
  // Wakes the loop whenever `fd` is readable and calls `on_news` there,
  // which must read what is waiting; -1 stops.
  void WatchReadable(int fd, std::function<void()> on_news);
  // A file dropped on the window goes to `on_drop` with its path, whatever
  // holds the window (the taker says what it does with it meanwhile); null:
  // none is taken.
  void TakeDroppedFiles(std::function<void(const std::string& path)> on_drop) {
    on_drop_ = std::move(on_drop);
  }
  // Whether typed text is wanted now: the host then takes it, an input
  // method's too (for a text field while it is shown).
  void TakeText(bool wanted) {
    host_.TakeText(wanted);
    text_caret_ = {};
  }
  // The desktop's clipboard, as the host keeps it (UTF-8 text).
  std::string ClipboardText() { return host_.ClipboardText(); }
  void SetClipboardText(const std::string& text) { host_.SetClipboardText(text); }
  // The caret of the text being typed in `layer` is at `caret` (in the
  // layer's place): the host tells the input method, when it moved.
  void PlaceTextCaret(const ShellLayer& layer, const RECT& caret);

  // ---- The screen ----
  // Both places are painted again for the next frame.
  void Invalidate() { dirty_ = side_dirty_ = true; }
  void Invalidate(ShellLayer::Place place) {
    (place == ShellLayer::Place::Phone ? dirty_ : side_dirty_) = true;
  }
  bool IsDirty() const { return dirty_ || side_dirty_; }
  // Paints status bar and layers into the screen buffer and presents it. The
  // buffer is the screen at the host's scale: 480 * s x 720 * s pixels (and
  // the side place right of it, painted again only when it changed).
  void RenderFrame();
  // 0x00RRGGBB of one screen pixel (in phone pixels) of the last rendered frame.
  std::uint32_t PixelAt(int x, int y) const;
  const std::uint32_t* Pixels() const;
  int Stride() const;

 private:
  struct Slide {
    ShellLayer* layer;
    std::int64_t start_ms;
    bool showing;  // false: sliding out
  };
  void DeliverMessage();
  // A press, and a key or text, to the layer they are for.
  void DeliverPress(const InputEvent& event);
  void DeliverKey(const InputEvent& event);
  // The place under screen column `x`, and an event moved into a place's own coordinates.
  ShellLayer::Place PlaceAt(int x) const;
  static InputEvent InPlace(InputEvent event, ShellLayer::Place place);
  void TickAnimations();
  // The top layer of `place` when nothing slides; null while something does.
  ShellLayer* SettledTop(ShellLayer::Place place) const;
  ShellLayer* TopOf(ShellLayer::Place place) const;
  bool AcceptPress(const InputEvent& press);
  void DropTouch();
  void EraseSlides(const ShellLayer* layer);
  double ShownFraction(const ShellLayer* layer) const;
  bool IsClosing(const ShellLayer* layer) const;
  int WaitTimeout() const;
  // True when the window's key table had the key.
  bool WindowKey(const InputEvent& event);
  void SetKeyboardInUse(bool in_use);
  void PaintPhone();
  void PaintSide();
  void PresentFrame();
  // The screen buffer made anew for the scale and the side place's width.
  void MakeScreen();
  // Takes a new scale of the host (its window resized or zoomed), or shows
  // the last frame again when the host lost it.
  void FollowHost();
  // Where a layer of `place` starts, in phone pixels.
  static int PlaceLeft(ShellLayer::Place place) {
    return place == ShellLayer::Place::Phone ? 0 : kScreenWidth;
  }

  Host& host_;
  RECT text_caret_{};  // as last told to the host
  double scale_ = 1.0;  // the host's pixels for one phone pixel
  std::string theme_problem_;
  ThemeColors theme_;
  cairo_surface_t* screen_ = nullptr;
  struct QueuedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::deque<QueuedMessage> queue_;
  std::map<HWND, MessageTarget*> targets_;
  std::vector<ShellLayer*> layers_;
  std::vector<Slide> slides_;
  // Keys typed while something slides, for when it has settled: the Enter
  // that follows a menu choice closes the box even if it arrives while the
  // box is still sliding in.
  std::deque<InputEvent> typed_ahead_;
  static constexpr std::size_t kTypeAheadKeys = 32;
  std::vector<ShellAnimation*> animations_;
  // Counts every change of what the layers show: a push, a removal, the end
  // of a slide.
  std::uint64_t stack_changes_ = 0;
  // The last press, and stack_changes_ when the quick clicks it belongs to began.
  struct Press {
    int x = 0;
    int y = 0;
    std::int64_t ms = 0;
  };
  std::optional<Press> last_press_;
  std::uint64_t series_stack_ = 0;
  // The layer the current touch went to, until its release.
  ShellLayer* touch_layer_ = nullptr;
  bool quit_requested_ = false;
  int exit_code_ = 0;
  bool dirty_ = true;
  int loop_depth_ = 0;
  int drawn_minute_ = -1;
  Shell* previous_ = nullptr;
  // The frame: the screen in its left phone_width_ device pixels, then the
  // side place's.
  int phone_width_ = 0;
  int side_shown_width_ = 0;
  int side_hidden_width_ = 0;
  bool side_shown_ = false;
  bool side_dirty_ = false;
  // The place held by a modal run when last painted (the other one dimmed).
  std::optional<ShellLayer::Place> held_place_;
  // Where keys go while no modal run holds the window.
  ShellLayer::Place key_place_ = ShellLayer::Place::Phone;
  bool keyboard_in_use_ = false;
  struct KeyBinding {
    InputKey key;
    unsigned modifiers;
    bool during_modal;
    std::function<void()> action;
  };
  std::vector<KeyBinding> window_keys_;
  std::function<void()> on_news_;
  std::function<void(const std::string&)> on_drop_;
};
