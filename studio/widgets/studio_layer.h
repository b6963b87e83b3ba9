// A layer of the studio's (its panel, card, shelf and questions): an
// element layer whose controls call back. What a control asks for runs from
// the shell's loop once the input that asked for it has been handled, so
// that a card, shelf or question it opens runs its own loop there and not
// inside the handling of a press.
#pragma once

#include <deque>
#include <functional>

#include "platform/shell/message_target.h"
#include "platform/ui/element_layer.h"

class UiWin;

class StudioLayer : public ElementLayer, public MessageTarget {
 public:
  // `shell`: the shell the studio is in (null for a layer only painted
  // into pictures, where nothing ever runs).
  explicit StudioLayer(Shell* shell);
  ~StudioLayer() override;

  // Runs `action` from the shell's loop, after what is waiting there now.
  void Later(std::function<void()> action);

  void HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // Esc ends the modal run the layer holds (with 0); every other key, and
  // Esc while it runs none, goes to its elements.
  bool OnKey(InputKey key) override;
  // The focus ring of a focused button, outside it (a button's own pixels
  // stop at its edge): painted last by each studio layer.
  void PaintFocusOutside(Canvas& canvas);

 private:
  std::deque<std::function<void()>> later_;
  HWND hwnd_ = nullptr;
};

// Runs `action` later on the studio layer `control` stands on; nothing when
// it stands on none.
void RunLater(const UiWin& control, std::function<void()> action);
