// The emulated phone: a 480 x 720 screen with a 35-pixel status bar, the theme
// colours read from the registry at start, the stack of windows, menus and
// boxes, one message queue, and the (nested) message loops over a Host.
//
// One Shell exists at a time (Shell::Current()); the entry point makes it,
// tests make their own with a HeadlessHost. Control notifications are posted
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
#include "platform/shell/theme_colors.h"
#include "platform/win/win_types.h"

class ShellLayer;
class ShellAnimation;
class MessageTarget;
struct InputEvent;
class SidePanel;
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

  // Reads the theme colours, installs the quit sink and becomes Current().
  explicit Shell(Host& host);
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;
  ~Shell();

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

  // ---- The stack of layers (bottom first) ----
  // slide: animate it in (when the host animates windows).
  void PushLayer(ShellLayer* layer, bool slide);
  // slide: animate it out first; returns once the layer is off the stack.
  void RemoveLayer(ShellLayer* layer, bool slide);
  bool HasLayer(const ShellLayer* layer) const;
  ShellLayer* TopLayer() const;
  std::size_t LayerCount() const { return layers_.size(); }

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
  // Input acts on what the user saw: a press goes to the top layer only when
  // nothing slides, and the second click of a double click never goes to a
  // layer that was opened, uncovered or finished sliding in after the first
  // click began (nor does any quick click after it at that spot; a key in
  // between makes them single clicks). The moves
  // and the release of a touch go to the layer its press went to, while it
  // stays on top; those of a dropped press go nowhere. Keys and the wheel go
  // to the top layer when nothing slides; the keyboard's repeats of a held
  // Enter or Esc are dropped.
  void DeliverInput(const InputEvent& event);

  // ---- Beside the screen ----
  // Shows `panel` right of the screen in the same frame (null: nothing
  // there), or keeps it hidden until F2 or ShowSidePanel(true). Input beyond
  // the screen's right edge goes to the shown panel, never to the phone; F2
  // hides and shows it. Hidden, the frame is the screen alone.
  void SetSidePanel(SidePanel* panel, bool shown);
  void ShowSidePanel(bool shown);
  bool SidePanelShown() const { return side_panel_ != nullptr && side_shown_; }

  // ---- The screen ----
  void Invalidate() { dirty_ = true; }
  bool IsDirty() const { return dirty_; }
  // Paints status bar and layers into the screen buffer and presents it. The
  // buffer is the screen at the host's scale: 480 * s x 720 * s pixels (and
  // the side panel right of it, painted again only when it changed).
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
  void TickAnimations();
  // The top layer when nothing slides; null while something does.
  ShellLayer* SettledTop() const;
  bool AcceptPress(const InputEvent& press);
  void DropTouch();
  void EraseSlides(const ShellLayer* layer);
  double ShownFraction(const ShellLayer* layer) const;
  bool IsClosing(const ShellLayer* layer) const;
  int WaitTimeout() const;
  // True when the event was the side panel's (or F2).
  bool RouteToSidePanel(const InputEvent& event);
  bool SidePanelStale() const;
  void PaintSidePanel();
  void PresentFrame();

  Host& host_;
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
  // side panel's picture.
  int phone_width_ = 0;
  SidePanel* side_panel_ = nullptr;
  bool side_shown_ = false;
  bool side_painted_ = false;  // the frame holds the panel's latest picture
  bool side_touch_ = false;    // the finger went down on the panel
};
