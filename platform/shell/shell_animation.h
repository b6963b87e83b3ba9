// Something that moves on the shell's clock (scroll momentum, a fading
// indicator): ticked about every 16 ms while it asks for it.
#pragma once

#include <cstdint>

class ShellAnimation {
 public:
  virtual ~ShellAnimation() = default;
  // Advances to `now_ms`; false when the movement is over.
  virtual bool Tick(std::int64_t now_ms) = 0;
};
