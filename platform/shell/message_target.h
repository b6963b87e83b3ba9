// The receiver of the messages posted to one window handle.
#pragma once

#include "platform/win/win_types.h"

class MessageTarget {
 public:
  virtual ~MessageTarget() = default;
  virtual void HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};
