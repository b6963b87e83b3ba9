// The host without a screen, for tests, demos and screenshots.
//
// Does: keeps the last presented frame in memory; runs a simulated clock
// that starts at 12:00 and moves only when input says "wait" or while
// something animates and no input is left (so every run is deterministic);
// takes input injected by tests or read from a script; writes PNG
// screenshots of the whole frame (the 480 x 720 screen, and what stands
// beside it). Windows appear at once.
// Does not: open a window, read the real clock, or ever block.
//
// When the input runs out while a loop waits, the idle callback (if any) runs;
// if it injects nothing, the host asks the shell to quit, so no run can hang.
// It asks the same once SIGINT or SIGTERM arrived (see quit_signals.h).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/script.h"

class HeadlessHost : public Host {
 public:
  static constexpr int kStartMinutes = 12 * 60;  // the status bar shows 12:00 at start
  // Moves of a drag are this many ms apart.
  static constexpr int kDragStepMs = 16;
  // Longest stretch the clock runs by itself to let animations finish.
  static constexpr int kMaxSettleMs = 60 * 1000;

  HeadlessHost();
  ~HeadlessHost() override;

  void Present(const std::uint32_t* pixels, int width, int height, int stride) override;
  bool WaitEvent(InputEvent& event, int timeout_ms) override;
  double Scale() const override { return 1.0; }
  std::int64_t NowMs() const override { return now_ms_; }
  int ClockMinutes() const override;
  bool AnimatesWindows() const override { return false; }
  // Looked at without blocking whenever the shell waits.
  void WakeOnReadable(int fd) override { wake_fd_ = fd; }
  // Text injected is delivered either way; this only remembers the wish.
  void TakeText(bool wanted) override { taking_text_ = wanted; }
  bool TakingText() const { return taking_text_; }
  // Remembers where the caret was said to be.
  void PlaceTextCaret(int x, int y, int width, int height) override { text_caret_ = {x, y, width, height}; }
  // A clipboard of its own, in memory.
  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(const std::string& text) override { clipboard_ = text; }
  struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
  };
  const Rect& TextCaret() const { return text_caret_; }

  // ---- Input, consumed in order ----
  void Inject(const InputEvent& event);
  void InjectTap(int x, int y);
  void InjectDrag(int x1, int y1, int x2, int y2, int ms);
  void InjectWait(int ms);
  void InjectKey(InputKey key);
  void InjectText(const std::string& utf8) { Inject(InputEvent::Text(utf8)); }
  // What an input method composes, its cursor at the end (empty: it ends).
  void InjectComposition(const std::string& utf8);
  void InjectWheel(int x, int y, int turns);
  // Writes the screen as it is at that point to `path` (relative paths go
  // into the screenshot folder).
  void InjectScreenshot(const std::string& path);
  // Runs `call` at that point of the input, with the screen up to date.
  void InjectCall(std::function<void()> call);
  void InjectScript(const std::vector<ScriptCommand>& commands);
  bool HasPendingInput() const { return !pending_.empty(); }
  void ClearInput() { pending_.clear(); }

  // Runs when the input has run out and nothing moves; it may inject more.
  void SetIdleCallback(std::function<void()> callback) { idle_ = std::move(callback); }
  void SetScreenshotDir(const std::string& dir) { screenshot_dir_ = dir; }
  // A relative path taken in the screenshot folder.
  std::string InScreenshotDir(const std::string& path) const;
  // Carries out a script command the host does not know (one that whoever
  // runs the script added), at its point of the input; false with a reason.
  using CommandHandler = std::function<bool(const ScriptCommand& command, std::string& error)>;
  void SetCommandHandler(CommandHandler handler) { command_handler_ = std::move(handler); }

  // ---- The last presented frame ----
  int FrameCount() const { return frames_; }
  // 0x00RRGGBB; 0 before the first frame or outside it. The frame is the
  // screen, and whatever the shell shows right of it.
  std::uint32_t FramePixel(int x, int y) const;
  const std::vector<std::uint32_t>& Frame() const { return frame_; }
  int FrameWidth() const { return frame_width_; }
  bool SaveFrame(const std::string& path) const;
  // Screenshots that could not be written ("path: reason").
  const std::vector<std::string>& Errors() const { return errors_; }

 private:
  std::string clipboard_;
  // A drag not yet played out: its moves are made one at a time as it plays,
  // so a long drag holds no more than a short one.
  struct DragPath {
    int x1, y1, x2, y2, ms;
    int steps, done;
  };
  struct Pending {
    enum class Kind { Event, Wait, Shot, Call, Drag } kind;
    InputEvent event;
    int ms = 0;
    std::string path;
    std::function<void()> call;
    DragPath drag{};
  };
  // Puts the next step of the drag at the front (a wait, then a move), or
  // its release once every move is made.
  void StepDrag(Pending& front);
  std::deque<Pending> pending_;
  std::function<void()> idle_;
  int wake_fd_ = -1;
  bool taking_text_ = false;
  Rect text_caret_;
  CommandHandler command_handler_;
  std::string screenshot_dir_;
  std::int64_t now_ms_ = 0;
  std::int64_t settled_ms_ = 0;
  std::vector<std::uint32_t> frame_;
  int frame_width_ = kScreenWidth;
  int frames_ = 0;
  std::vector<std::string> errors_;
};
