// Something that moves on the shell's clock (scroll momentum, a fading
// indicator): ticked about every 16 ms while it asks for it.
#pragma once

#include <cstdint>

class Shell;

class ShellAnimation {
 public:
  ShellAnimation() = default;
  ShellAnimation(const ShellAnimation&) = delete;
  ShellAnimation& operator=(const ShellAnimation&) = delete;
  // Leaves the shell that ticks it, if any: nothing ticks it afterwards.
  virtual ~ShellAnimation();
  // Advances to `now_ms`; false when the movement is over.
  virtual bool Tick(std::int64_t now_ms) = 0;

 private:
  // The shell ticking it now: set and cleared by that shell only (it clears
  // it too when it goes first).
  friend class Shell;
  Shell* ticker_ = nullptr;
};
