#include "tests/platform/proof_screen.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/win/hive_file.h"
#include "platform/win/registry.h"
#include "platform/win/resources.h"

namespace {
constexpr UINT kPressedOverlayId = 165;
constexpr UINT kBannerId = 170;
constexpr UINT kFirstSwatchId = 102;
constexpr UINT kLastSwatchId = 169;
constexpr UINT kTitleIconId = 188;
}  // namespace

ProofScreen::ProofScreen() = default;

// Each element leaves its container and the window as it goes.
ProofScreen::~ProofScreen() = default;

bool ProofScreen::CreateOverWorkArea() {
  const RECT rc = MzGetWorkArea();
  const BOOL ok = Create(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  Show(TRUE, TRUE);
  return ok != FALSE;
}

BOOL ProofScreen::OnInitDialog() {
  if (!CMzWndEx::OnInitDialog()) return FALSE;
  const int w = GetWidth();
  const int h = GetHeight();
  const HINSTANCE module = MzGetInstanceHandle();

  banner_.SetBounds(0, 0, w, kBannerHeight);
  banner_.LoadImageW(module, MAKEINTRESOURCEW(RT_RCDATA_ID), MAKEINTRESOURCEW(kBannerId), true);
  AddUiWin(&banner_);

  pane_.SetBounds(0, kBannerHeight, w, h - kBannerHeight - kToolbarHeight);
  pane_.SetID(kPaneId);
  pane_.EnableScrollBarV(true);
  pane_.EnableDragScrollbarV(true);
  caption_.SetBounds(16, 8, w - 32, kCaptionHeight - 8);
  caption_.SetDrawTextFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  caption_.SetDisplayText(u"选择一种颜色，作为窗口的背景色或文字颜色");
  pane_.AddChild(&caption_);

  ImagingHelper* pressed = images_.LoadImageW(module, kPressedOverlayId, true);
  const int columns = std::max(1, w / kRowPitch);
  const int gap = (w - columns * kButtonSize) / (columns + 1);
  UINT id = kFirstSwatchId;
  for (int i = 0; i < kButtons; ++i) {
    ImagingHelper* face = nullptr;
    while (face == nullptr && id <= kLastSwatchId) {
      if (id != kPressedOverlayId) face = images_.LoadImageW(module, id, true);
      ++id;
    }
    auto b = std::make_unique<UiButton_Image>();
    const int row = i / columns;
    const int col = i % columns;
    b->SetBounds(gap + col * (kButtonSize + gap), kCaptionHeight + row * kRowPitch, kButtonSize,
                 kButtonSize);
    b->SetID(kFirstButtonId + i);
    b->SetImage_Normal(face);
    b->SetImage_Pressed(pressed);
    b->SetMode(1);
    pane_.AddChild(b.get());
    buttons_.push_back(std::move(b));
  }
  AddUiWin(&pane_);

  toolbar_.SetBounds(0, h - kToolbarHeight, w, kToolbarHeight);
  toolbar_.SetID(kToolbarId);
  toolbar_.SetButton(0, true, true, u"返回");
  toolbar_.SetButton(1, true, true, u"帮助");
  toolbar_.SetButton(2, true, true, u"关于");
  toolbar_.EnableLeftArrow(true);
  AddUiWin(&toolbar_);
  return TRUE;
}

void ProofScreen::OnControlCommand(WPARAM wParam, LPARAM lParam) {
  if (on_command) on_command(wParam, lParam);
}

POINT ProofScreen::ButtonCentre(int index) const {
  const UiWin& b = *buttons_[static_cast<std::size_t>(index)];
  const POINT o = b.WindowOrigin();
  return POINT{GetPosX() + o.x + b.GetWidth() / 2, GetPosY() + o.y + b.GetHeight() / 2};
}

HeadlessPhone::HeadlessPhone() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/tintor-proof-XXXXXX";
  if (::mkdtemp(pattern.data()) != nullptr) {
    dir_ = pattern;
    const std::string registry = dir_ + "/registry.reg";
    ::setenv("TINTOR_REGISTRY", registry.c_str(), 1);
    RegistryUseFile(registry);
  }
  host_ = std::make_unique<HeadlessHost>();
  shell_ = std::make_unique<Shell>(*host_);
}

HeadlessPhone::~HeadlessPhone() {
  shell_.reset();
  host_.reset();
  if (!dir_.empty()) {
    ::unsetenv("TINTOR_REGISTRY");
    RegistryUseFile(HiveFile::DefaultPath());
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
}

ImagingHelper* NewTitleImage() {
  auto* image = new ImagingHelper();
  image->LoadImageFromRes(GetMzResModuleHandle(), MAKEINTRESOURCEW(RT_RCDATA_ID),
                          MAKEINTRESOURCEW(kTitleIconId));
  return image;
}
