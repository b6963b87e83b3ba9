// The panel an MzMessageBoxEx shows while it runs: a dimmed screen and a
// rounded panel with the caption, the text (its lines centred) and one "确定"
// button. Enter, Space, Esc or the button dismiss it. The information look (flag 1)
// adds a round "i" badge above the caption.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/element_layer.h"
#include "platform/ui/sheet_button.h"

class MessageBoxPanel : public ElementLayer {
 public:
  static constexpr int kPanelWidth = 408;
  static constexpr double kTextPx = 20.0;
  static constexpr double kCaptionPx = 23.0;

  MessageBoxPanel(std::u16string text, std::u16string caption, bool information);

  // In screen coordinates.
  RECT PanelRect() const { return Frame(); }
  RECT ButtonRect() const;
  const std::u16string& Text() const { return text_; }
  const std::u16string& Caption() const { return caption_; }

 protected:
  void PaintContent(Canvas& canvas) override;
  bool OnKey(InputKey key) override;

 private:
  std::u16string text_;
  std::u16string caption_;
  bool information_;
  SheetButton ok_;
  int height_ = 0;
  int text_height_ = 0;
};
