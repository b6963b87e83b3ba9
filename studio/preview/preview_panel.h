// The studio's panel beside the phone screen: the phone as it will look
// after its next start, in the theme the registry holds now, with
// readability marks, "主题" (the theme shelf), "恢复默认" (confirmed first)
// and "隐藏". It is a layer of the one layer type in the shell's side place:
// its controls are elements fed by the one route, its commands come through
// the shell's queue, and its confirmation and the shelf run through the one
// modal run. Hidden, it is a narrow tab that brings it back.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/checks/colour_science.h"
#include "platform/shell/message_target.h"
#include "platform/win/reg_file_format.h"
#include "platform/ui/element_layer.h"
#include "studio/preview/sample_screens.h"
#include "studio/widgets/studio_controls.h"
#include "model/theme/theme_store.h"
#include "studio/preview/vision_toggle.h"

class Canvas;
class ItemCard;
class RestoreConfirmation;
class ThemeShelf;

class PreviewPanel : public ElementLayer, public MessageTarget {
 public:
  // Logical size; painting at a scale multiplies both.
  static constexpr int kWidth = 520;
  static constexpr int kHeight = 720;
  // The width of the way back while the panel is hidden.
  static constexpr int kTabWidth = 36;
  // The control ids of its elements.
  static constexpr int kRestoreId = 1;
  static constexpr int kHideId = 2;
  static constexpr int kShowId = 3;
  static constexpr int kScreensId = 4;
  // A swatch chosen in the item card (LPARAM: its control id).
  static constexpr int kPickSwatchId = 5;
  static constexpr int kThemesId = 6;
  // The "every eye" buttons, one id each, in the order of kVisions.
  static constexpr int kFirstVisionId = 10;
  static constexpr ColourVision kVisions[] = {ColourVision::kTypical, ColourVision::kProtan,
                                              ColourVision::kDeutan, ColourVision::kTritan};

  // Reads the theme from the registry. `shell`: the shell the panel stands
  // beside the phone in (null for a panel only painted into pictures);
  // `store`: the theme's store every write goes through (null: one of its
  // own, for the registry file in use).
  explicit PreviewPanel(Shell* shell = nullptr, ThemeStore* store = nullptr);
  ~PreviewPanel() override;

  // Reads the theme again; true when what the panel shows changed.
  bool Reload();

  // Draws the whole panel (shown) with its top left at the canvas's origin,
  // `scale` device pixels to a logical one: for pictures of it.
  void Paint(Canvas& canvas, double scale);

  // Called (from the shell's loop) with the point of a tap on the sample
  // screens, in their painter's coordinates.
  void SetScreensClickHandler(std::function<void(int x, int y)> handler) {
    screens_click_ = std::move(handler);
  }

  // Points at item `number`: outlines it and opens its card, which runs
  // until closed (a tap on another item beside it points at that one). In
  // a panel only painted into pictures, the card stays open for them.
  void PointAt(int number);
  int Selected() const { return screens_.Selected(); }
  // The open item card, else null.
  const ItemCard* Card() const { return card_; }

  // The whole panel as a person with `vision` sees it.
  void SetVision(ColourVision vision);
  ColourVision Vision() const { return vision_; }
  // The theme shelf's export format, as it was when the shelf last closed.
  RegFileForm ExportForm() const { return export_form_; }
  void SetExportForm(RegFileForm form) { export_form_ = form; }
  const VisionToggle& VisionButton(ColourVision vision) const;

  const ThemeValues& theme() const { return theme_; }
  // Why the registry file could not be read at the last look (empty: it was).
  const std::string& ReadProblem() const { return read_problem_; }
  const std::vector<ReadabilityWarning>& warnings() const { return warnings_; }
  // The lines shown under the title: why the registry cannot be read, or how
  // the last command went. Empty when there is nothing to say.
  const std::u16string& status() const { return status_.Text(); }
  // Shows how a command of the studio went (an undo, a restore, an import)
  // in the status lines, until the theme changes again; and in the status
  // line of the theme shelf while it is open over the panel.
  void Report(std::u16string message, bool failed);
  // A line of its own under the status lines (empty: none), for what the
  // studio around the panel has to say about it.
  void SetNotice(std::u16string notice);
  const std::u16string& notice() const { return notice_.Text(); }
  const StudioButton& ThemesButton() const { return themes_; }
  const StudioButton& RestoreButton() const { return restore_; }
  const StudioButton& HideButton() const { return hide_; }
  const WayBackTab& Tab() const { return tab_; }
  const SampleScreensView& Screens() const { return screens_; }
  // The "恢复默认" confirmation while it is open, else null.
  const RestoreConfirmation* Confirmation() const { return confirmation_; }
  // The theme shelf while it is open, else null.
  const ThemeShelf* Shelf() const { return shelf_; }

  // ---- The shell's side ----
  // Notifications of its elements go through the shell's queue.
  void PostCommand(WPARAM wParam, LPARAM lParam) override;
  void HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Narrower than the panel: only the way back shows.
  void PlaceResized(int width, int height) override;

 protected:
  void PaintContent(Canvas& canvas) override;

 private:
  void Show(ThemeValues theme, std::string problem, LONG status);
  void AskRestore();
  void OpenShelf();
  void RestoreDefaults();
  void UpdateStatus();
  // Places the status lines, the notice and, below them, the sample screens.
  void Layout();
  // Writes the swatch's value into the selected item through the model.
  void WriteSwatch(int control_id);

  std::unique_ptr<ThemeStore> own_store_;
  ThemeStore& store_;
  ThemeValues theme_;
  std::string read_problem_;
  LONG read_status_ = ERROR_SUCCESS;
  std::vector<ReadabilityWarning> warnings_;
  std::u16string result_;
  bool result_failed_ = false;
  StudioText title_;
  StudioText note_;
  StudioText status_;
  StudioText notice_;
  StudioButton themes_;
  StudioButton restore_;
  StudioButton hide_;
  SampleScreensView screens_;
  WayBackTab tab_;
  std::function<void(int x, int y)> screens_click_;
  RestoreConfirmation* confirmation_ = nullptr;
  ItemCard* card_ = nullptr;
  ThemeShelf* shelf_ = nullptr;
  std::unique_ptr<ItemCard> pictured_card_;  // a picture's card, never run
  ColourVision vision_ = ColourVision::kTypical;
  RegFileForm export_form_ = RegFileForm::kVersion5;
  VisionToggle visions_[4];
  HWND hwnd_ = nullptr;
};

// Draws the panel for the registry as it is now into a PNG file of
// kWidth x kHeight times `scale` pixels. A file in the way is replaced, never
// written through (a link there is replaced, not followed). False with
// `error` set when the file cannot be written. When the registry cannot be
// read the picture shows the defaults, and `unreadable` (if given) says why.
// With a colour-vision deficiency the picture is as a person with it sees it;
// with `item` (1 to 20) that item is outlined and its card open.
bool WritePreviewPng(const std::string& path, double scale, std::string& error,
                     std::string* unreadable = nullptr,
                     ColourVision vision = ColourVision::kTypical, int item = 0);
