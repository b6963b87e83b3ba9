// The theme shelf's "导入" question: the registry files (*.reg) in the
// documents and download folders, each a button that imports it, and a box
// for a path typed by hand. A sheet over the dimmed studio, run through the
// one modal run; Esc, "取消" or a click beside it close it with nothing
// chosen.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui_scroll_win.h"
#include "studio/widgets/studio_controls.h"
#include "studio/widgets/studio_layer.h"
#include "studio/widgets/text_field.h"

class ImportSheet : public StudioLayer {
 public:
  // In the middle of the studio, whose width is `studio_width`.
  ImportSheet(int studio_width, Shell* shell);
  ~ImportSheet() override;

  // Runs until answered: the path of the file chosen or typed, else empty.
  std::string Choose();

 protected:
  void PaintContent(Canvas& canvas) override;
  void OnTapOutside() override { EndModal(0); }

 private:
  void Take(std::string path);
  void TakeTyped();

  StudioText title_;
  StudioText note_;
  UiScrollWin list_;
  std::vector<std::unique_ptr<StudioButton>> files_;
  TextField path_;
  StudioButton import_;
  StudioButton cancel_;
  std::string chosen_;
};
