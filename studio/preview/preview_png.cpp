#include "studio/preview/preview_png.h"

#include <cmath>

#include <memory>

#include "model/theme_targets.h"
#include "platform/file/replace_file.h"
#include "platform/shell/canvas.h"
#include "platform/win/registry.h"
#include "studio/card/item_card.h"
#include "studio/preview/preview_panel.h"

bool WritePreviewPng(const std::string& path, double scale, std::string& error,
                     std::string* unreadable, ColourVision vision, int item) {
  if (!(scale >= 0.25 && scale <= 8)) {
    error = "the scale must be between 0.25 and 8";
    return false;
  }
  // A picture of the panel, never shown in a window: nothing in it runs.
  PreviewPanel panel(nullptr, {});
  panel.ShowRead(ThemeStore(RegistryFilePath()));
  if (unreadable != nullptr) *unreadable = panel.ReadProblem();
  panel.SetVision(vision);
  // The item's card stands open where it would in the window.
  std::unique_ptr<ItemCard> card;
  if (item >= 1 && item <= static_cast<int>(kThemeTargetCount)) {
    panel.SetSelected(item);
    card = std::make_unique<ItemCard>(nullptr, nullptr);
    card->Show(panel.theme(), item, PreviewPanel::kWidth, PreviewPanel::kHeight, vision);
  }
  std::string png;
  const int width = static_cast<int>(std::lround(PreviewPanel::kWidth * scale));
  const int height = static_cast<int>(std::lround(PreviewPanel::kHeight * scale));
  auto paint = [&](Canvas& c) { panel.Paint(c, scale, card.get()); };
  if (!Canvas::RenderPng(width, height, paint, png)) {
    error = "cannot draw the preview";
    return false;
  }
  // A link at the path is replaced, never written through. A device, a pipe
  // or a socket there is not the user's picture to replace (/dev/null among them).
  // What a killed run left beside it goes.
  FileError failure;
  const ReplaceOptions options{.link = LinkAtPath::kReplace, .clear_stale_temporaries = true};
  if (ReplaceFile(path, png, options, &failure)) return true;
  error = "cannot write " + path + ": " + failure.reason;
  return false;
}
