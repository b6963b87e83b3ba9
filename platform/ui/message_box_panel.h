// The panel an MzMessageBoxEx shows while it runs: a dimmed screen and a
// rounded panel with the caption, the text (its lines centred) and one "确定"
// button. Enter, Esc or the button dismiss it. The information look (flag 1)
// adds a round "i" badge above the caption.
#pragma once

#include <string>
#include <vector>

#include "platform/shell/shell_layer.h"
#include "platform/ui/finger_tracker.h"
#include "platform/ui/sheet_button.h"

class MessageBoxPanel : public ShellLayer {
 public:
  static constexpr int kPanelWidth = 408;
  static constexpr double kTextPx = 20.0;
  static constexpr double kCaptionPx = 23.0;

  MessageBoxPanel(std::u16string text, std::u16string caption, bool information);

  void PaintLayer(Canvas& canvas, double shown) override;
  void HandleInput(const InputEvent& event) override;

  bool IsDone() const { return done_; }
  RECT PanelRect() const;
  RECT ButtonRect() const;
  const std::u16string& Text() const { return text_; }
  const std::u16string& Caption() const { return caption_; }

 private:
  std::u16string text_;
  std::u16string caption_;
  bool information_;
  SheetButton ok_;
  std::vector<UiWin*> roots_;
  FingerTracker finger_;
  int left_ = 0;
  int top_ = 0;
  int height_ = 0;
  int text_height_ = 0;
  bool done_ = false;
};
