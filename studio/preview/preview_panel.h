// The studio's panel beside the phone screen: the phone as it will look
// after its next start, in the theme it is given, with readability marks,
// "主题", "恢复默认", "隐藏", the every-eye toggles and the lines that say how
// things went. It draws and calls back, nothing more: what its buttons and
// the sample screens ask for is done by whoever made it. It is a layer of
// the one layer type in the shell's side place; hidden, it is a narrow tab
// that brings it back.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/checks/colour_science.h"
#include "platform/win/reg_file_format.h"
#include "model/theme/theme_store.h"
#include "model/theme/theme_values.h"
#include "studio/preview/vision_toggle.h"
#include "studio/widgets/studio_controls.h"
#include "studio/widgets/studio_layer.h"

class Canvas;

class PreviewPanel : public StudioLayer {
 public:
  // Logical size; painting at a scale multiplies both.
  static constexpr int kWidth = 520;
  static constexpr int kHeight = 720;
  // The width of the way back while the panel is hidden.
  static constexpr int kTabWidth = 36;
  static constexpr ColourVision kVisions[] = {ColourVision::kTypical, ColourVision::kProtan,
                                              ColourVision::kDeutan, ColourVision::kTritan};

  // What the panel asks of whoever made it (each may be empty).
  struct Actions {
    std::function<void()> open_shelf;        // "主题"
    std::function<void()> restore;           // "恢复默认"
    std::function<void(int item)> point_at;  // an item of the sample screens chosen
    std::function<void()> undo;              // "撤销"
    std::function<void()> redo;              // "重做"
  };

  // `shell`: the shell the panel stands beside the phone in (null for a
  // panel only painted into pictures).
  PreviewPanel(Shell* shell, Actions actions);
  // The theme shelf's export format, as it was when the shelf last closed.
  RegFileForm ExportForm() const { return export_form_; }
  void SetExportForm(RegFileForm form) { export_form_ = form; }

  // Shows `theme`, read with `problem` (empty: read well; `status` the
  // registry's code); false when that is what it shows already. The outcome
  // of the last command is old news once the theme changed.
  bool Show(ThemeValues theme, std::string problem = {}, LONG status = ERROR_SUCCESS);
  // Reads the store's values once and shows them.
  bool ShowRead(const ThemeStore& store);
  // Whether the registry was read the last time (else its fault shows).
  bool ReadsRegistry() const { return read_problem_.empty(); }
  const ThemeValues& theme() const { return theme_; }
  // Why the registry file could not be read at the last look (empty: it was).
  const std::string& ReadProblem() const { return read_problem_; }
  const std::vector<ReadabilityWarning>& warnings() const { return warnings_; }

  // Outlines item `number` in the sample screens (0: none).
  void SetSelected(int number);

  // The whole panel as a person with `vision` sees it.
  void SetVision(ColourVision vision);
  ColourVision Vision() const { return vision_; }

  // Shows how a command of the studio went (an undo, a restore, an import)
  // in the status lines, until the theme changes again.
  void Report(std::u16string message, bool failed);
  // A line of its own under the status lines (empty: none), for what the
  // studio around the panel has to say about it.
  void SetNotice(std::u16string notice);
  // What "撤销" and "重做" would take back or bring back, in words (empty:
  // nothing, and the button cannot be used); said in the status lines
  // while they have nothing else to say.
  void SetHistory(const std::u16string& undo, const std::u16string& redo);

  // Draws the whole panel (shown) with its top left at the canvas's origin,
  // `scale` device pixels to a logical one, with `over` (a layer in the
  // panel's place, such as an item card) on it: for pictures of it.
  void Paint(Canvas& canvas, double scale, ShellLayer* over = nullptr);

  // Narrower than the panel: only the way back shows.
  void PlaceResized(int width, int height) override;

 protected:
  void PaintContent(Canvas& canvas) override;

 private:
  // The controls, `over` on them, and the whole as seen with the vision chosen.
  void PaintWith(Canvas& canvas, ShellLayer* over);
  void UpdateStatus();
  // Places the status lines, the notice and, below them, the sample screens.
  void Layout();

  ThemeValues theme_;
  std::string read_problem_;
  LONG read_status_ = ERROR_SUCCESS;
  std::vector<ReadabilityWarning> warnings_;
  std::u16string result_;
  bool result_failed_ = false;
  std::u16string history_;
  StudioText title_;
  StudioText note_;
  StudioText status_;
  StudioText notice_;
  StudioButton undo_;
  StudioButton redo_;
  StudioButton themes_;
  StudioButton restore_;
  StudioButton hide_;
  SampleScreensView screens_;
  WayBackTab tab_;
  ColourVision vision_ = ColourVision::kTypical;
  RegFileForm export_form_ = RegFileForm::kVersion5;
  VisionToggle visions_[4];
};
