// The preview panel beside the phone screen: the phone as it will look after
// its next start, in the theme the registry holds now, with readability
// marks, a "恢复默认" action (confirmed in the panel) and a button that hides
// the panel. The window around it drives it: it paints the panel, passes
// clicks in panel coordinates, and re-reads the theme when the registry file
// changes. No windowing here.
#pragma once

#include <string>
#include <vector>

#include "studio/colour_science.h"
#include "studio/sample_screens.h"
#include "studio/theme_snapshot.h"

class Canvas;

enum class PreviewAction {
  kNone,
  kRestoreDefaults,  // asks for confirmation
  kConfirmRestore,   // removes the 20 theme values from the registry
  kCancelRestore,
  kHide,             // for the window: take the panel away
};

class PreviewPanel {
 public:
  // Logical size; painting at a scale multiplies both.
  static constexpr int kWidth = 520;
  static constexpr int kHeight = 720;

  // Reads the theme from the registry.
  PreviewPanel();

  // Reads the theme again; true when what the panel shows changed.
  bool Reload();

  // Draws the panel with its top left at the canvas's origin, `scale` device
  // pixels to a logical one. Clears NeedsRepaint.
  void Paint(Canvas& canvas, double scale);
  bool NeedsRepaint() const { return dirty_; }

  // What a click at (x, y), logical panel coordinates, would do.
  PreviewAction HitTest(int x, int y) const;
  // Carries the click out: opens or closes the confirmation or restores the
  // defaults. kHide is returned for the window to carry out.
  PreviewAction Click(int x, int y);

  const ThemeSnapshot& theme() const { return theme_; }
  const std::vector<ReadabilityWarning>& warnings() const { return warnings_; }
  // The lines shown under the title: why the registry cannot be read, or how
  // the last restore went. Empty when there is nothing to say.
  const std::u16string& status() const { return status_; }
  bool confirming() const { return confirming_; }

 private:
  void Show(ThemeSnapshot theme);
  void RestoreDefaults();
  void UpdateStatus();

  ThemeSnapshot theme_;
  std::vector<ReadabilityWarning> warnings_;
  std::u16string restore_result_;
  bool restore_failed_ = false;
  std::u16string status_;
  bool confirming_ = false;
  bool dirty_ = true;
};

// Draws the panel for the registry as it is now into a PNG file of
// kWidth x kHeight times `scale` pixels. A file in the way is replaced, never
// written through (a link there is replaced, not followed). False with
// `error` set when the file cannot be written. When the registry cannot be
// read the picture shows the defaults, and `unreadable` (if given) says why.
// With a colour-vision deficiency the picture is as a person with it sees it.
bool WritePreviewPng(const std::string& path, double scale, std::string& error,
                     std::string* unreadable = nullptr,
                     ColourVision vision = ColourVision::kTypical);
