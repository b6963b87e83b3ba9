// The phone screen the platform's stress, leak and speed runs are built from:
// a window with a banner picture, a scroll pane holding a caption and 65 image
// buttons, and a three-button toolbar with the left arrow, painted with the
// program's own pictures. Also a headless phone with a registry file of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/headless_host.h"
#include "platform/shell/shell.h"
#include "platform/ui/toolkit.h"

class ProofScreen : public CMzWndEx {
 public:
  static constexpr int kButtons = 65;
  static constexpr int kFirstButtonId = 1000;
  static constexpr int kToolbarId = 2000;
  static constexpr int kPaneId = 2001;
  static constexpr int kBannerHeight = 150;
  static constexpr int kToolbarHeight = 65;
  static constexpr int kCaptionHeight = 48;
  static constexpr int kButtonSize = 90;
  static constexpr int kRowPitch = 96;

  ProofScreen();
  ~ProofScreen() override;

  LPCWSTR GetWndClassName() override { return u"ProofScreen"; }
  BOOL OnInitDialog() override;
  void OnControlCommand(WPARAM wParam, LPARAM lParam) override;

  // Creates the window over the work area and shows it.
  bool CreateOverWorkArea();

  UiScrollWin& Pane() { return pane_; }
  UiToolbar_Text& Toolbar() { return toolbar_; }
  UiButton_Image& Button(int index) { return *buttons_[static_cast<std::size_t>(index)]; }
  UiPicture& Banner() { return banner_; }
  // The centre of button `index` on the screen as the pane is scrolled now.
  POINT ButtonCentre(int index) const;

  // Every control notification, in order, goes here as well.
  std::function<void(WPARAM, LPARAM)> on_command;

 private:
  ImageContainer images_;
  UiPicture banner_;
  UiScrollWin pane_;
  UiStatic caption_;
  std::vector<std::unique_ptr<UiButton_Image>> buttons_;
  UiToolbar_Text toolbar_;
};

// A shell on a headless host whose registry is a fresh temporary file
// (TINTOR_REGISTRY), removed again when the phone goes.
class HeadlessPhone {
 public:
  HeadlessPhone();
  ~HeadlessPhone();
  HeadlessPhone(const HeadlessPhone&) = delete;
  HeadlessPhone& operator=(const HeadlessPhone&) = delete;

  HeadlessHost& host() { return *host_; }
  Shell& shell() { return *shell_; }
  // False when the temporary folder could not be made.
  bool ok() const { return !dir_.empty(); }

 private:
  std::string dir_;
  std::unique_ptr<HeadlessHost> host_;
  std::unique_ptr<Shell> shell_;
};

// A small picture for menu titles: the platform's own title icon.
ImagingHelper* NewTitleImage();
