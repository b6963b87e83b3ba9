#include "studio/preview_panel.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include "model/theme_targets.h"
#include "platform/shell/canvas.h"
#include "platform/shell/utf.h"
#include "platform/win/registry.h"

namespace {

const Color kDesk = Color::Rgb(0x2B, 0x2E, 0x33);
const Color kTitle = Color::Rgb(0xF2, 0xF4, 0xF7);
const Color kNote = Color::Rgb(0xB8, 0xBE, 0xC8);
const Color kFailure = Color::Rgb(0xFF, 0x8F, 0x85);
const Color kSuccess = Color::Rgb(0x9D, 0xE0, 0x9D);
const Color kButton = Color::Rgb(0x45, 0x4A, 0x52);
const Color kButtonRim = Color::Rgb(0x6A, 0x70, 0x7A);
const Color kSheet = Color::Rgb(0xFF, 0xFF, 0xFF);
const Color kSheetText = Color::Rgb(0x20, 0x20, 0x20);
const Color kSheetNote = Color::Rgb(0x60, 0x60, 0x60);
const Color kConfirm = Color::Rgb(0xD9, 0x3A, 0x2B);

constexpr RECT kRestoreButton{344, 8, 432, 36};
constexpr RECT kHideButton{440, 8, 512, 36};
constexpr RECT kStatusLines{12, 56, 508, 92};
constexpr RECT kSheetRect{100, 276, 420, 436};
constexpr RECT kConfirmButton{120, 376, 250, 416};
constexpr RECT kCancelButton{270, 376, 400, 416};

bool Inside(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void PanelButton(Canvas& c, const RECT& r, std::u16string_view text, Color face, Color rim,
                 Color ink) {
  const double w = r.right - r.left;
  const double h = r.bottom - r.top;
  c.FillRoundRect(r.left, r.top, w, h, 7, face);
  c.StrokeRoundRect(r.left + 0.5, r.top + 0.5, w - 1, h - 1, 6.5, 1, rim);
  c.DrawText(text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, ink, 14);
}

}  // namespace

PreviewPanel::PreviewPanel() { Show(ThemeSnapshot::Read()); }

bool PreviewPanel::Reload() {
  ThemeSnapshot now = ThemeSnapshot::Read();
  if (now == theme_) return false;
  // The outcome of the last restore is old news once the theme changed again.
  restore_result_.clear();
  restore_failed_ = false;
  Show(std::move(now));
  return true;
}

void PreviewPanel::Show(ThemeSnapshot theme) {
  theme_ = std::move(theme);
  warnings_ = FindReadabilityWarnings(theme_);
  UpdateStatus();
  dirty_ = true;
}

void PreviewPanel::UpdateStatus() {
  if (!restore_result_.empty()) {
    status_ = restore_result_;
  } else if (!theme_.readable()) {
    status_ = u"无法读取注册表文件，显示的是默认颜色：" + Utf8ToUtf16(theme_.problem());
  } else {
    status_.clear();
  }
}

void PreviewPanel::RestoreDefaults() {
  std::vector<RegistryValueName> names;
  for (const ThemeTarget& target : kThemeTargets) names.push_back({target.key, target.value_name});
  const LONG status = RegistryDeleteValues(HKEY_LOCAL_MACHINE, names.data(), names.size());
  const bool failed = status != ERROR_SUCCESS;
  std::u16string result = failed ? u"恢复默认失败，注册表文件未改动：" +
                                       Utf8ToUtf16(RegistryLastErrorMessage())
                                 : u"已恢复20项默认颜色";
  Reload();
  restore_failed_ = failed;
  restore_result_ = std::move(result);
  UpdateStatus();
  dirty_ = true;
}

void PreviewPanel::Paint(Canvas& canvas, double scale) {
  canvas.Save();
  canvas.Scale(scale);
  canvas.ClipRect(0, 0, kWidth, kHeight);
  canvas.FillRect(0, 0, kWidth, kHeight, kDesk);
  canvas.DrawText(u"主题预览 · 手机下次启动后的样子", RECT{12, 8, 340, 36},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, kTitle, 17, true);
  canvas.DrawText(u"手机屏幕保持启动时的主题，重启后才换成这里的颜色。", RECT{12, 38, 508, 56},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, kNote, 12);
  PanelButton(canvas, kRestoreButton, u"恢复默认", kButton, kButtonRim, kTitle);
  PanelButton(canvas, kHideButton, u"隐藏", kButton, kButtonRim, kTitle);
  if (!status_.empty()) {
    const bool bad = restore_failed_ || (restore_result_.empty() && !theme_.readable());
    canvas.DrawText(status_, kStatusLines, DT_LEFT | DT_WORDBREAK | DT_END_ELLIPSIS,
                    bad ? kFailure : kSuccess, 12);
  }
  PaintSampleScreens(canvas, theme_, warnings_);

  if (confirming_) {
    canvas.FillRect(0, 0, kWidth, kHeight, Color::Rgb(0, 0, 0, 0.55));
    const RECT& s = kSheetRect;
    canvas.FillRoundRect(s.left, s.top, s.right - s.left, s.bottom - s.top, 12, kSheet);
    canvas.DrawText(u"恢复20项默认颜色？", RECT{s.left, s.top + 18, s.right, s.top + 46},
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE, kSheetText, 18, true);
    canvas.DrawText(u"将从注册表删除这20项的值，手机重启后生效。",
                    RECT{s.left + 10, s.top + 52, s.right - 10, s.top + 76},
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, kSheetNote, 12);
    PanelButton(canvas, kConfirmButton, u"确定", kConfirm, kConfirm, Color::Rgb(0xFF, 0xFF, 0xFF));
    PanelButton(canvas, kCancelButton, u"取消", Color::Rgb(0xF0, 0xF1, 0xF3),
                Color::Rgb(0xB4, 0xB8, 0xBE), kSheetText);
  }
  canvas.Restore();
  dirty_ = false;
}

PreviewAction PreviewPanel::HitTest(int x, int y) const {
  if (confirming_) {
    if (Inside(kConfirmButton, x, y)) return PreviewAction::kConfirmRestore;
    if (Inside(kCancelButton, x, y)) return PreviewAction::kCancelRestore;
    return PreviewAction::kNone;
  }
  if (Inside(kRestoreButton, x, y)) return PreviewAction::kRestoreDefaults;
  if (Inside(kHideButton, x, y)) return PreviewAction::kHide;
  return PreviewAction::kNone;
}

PreviewAction PreviewPanel::Click(int x, int y) {
  const PreviewAction action = HitTest(x, y);
  switch (action) {
    case PreviewAction::kRestoreDefaults:
      confirming_ = true;
      dirty_ = true;
      break;
    case PreviewAction::kConfirmRestore:
      confirming_ = false;
      RestoreDefaults();
      break;
    case PreviewAction::kCancelRestore:
      confirming_ = false;
      dirty_ = true;
      break;
    case PreviewAction::kHide:
    case PreviewAction::kNone:
      break;
  }
  return action;
}

bool WritePreviewPng(const std::string& path, double scale, std::string& error,
                     std::string* unreadable, ColourVision vision) {
  if (!(scale >= 0.25 && scale <= 8)) {
    error = "the scale must be between 0.25 and 8";
    return false;
  }
  PreviewPanel panel;
  if (unreadable != nullptr) *unreadable = panel.theme().problem();
  std::string png;
  const int width = static_cast<int>(std::lround(PreviewPanel::kWidth * scale));
  const int height = static_cast<int>(std::lround(PreviewPanel::kHeight * scale));
  auto paint = [&](Canvas& c) {
    panel.Paint(c, scale);
    ShowAsSeenWith(c, 0, 0, width, height, scale, panel.theme(), vision);
  };
  if (!Canvas::RenderPng(width, height, paint, png)) {
    error = "cannot draw the preview";
    return false;
  }
  // A fresh file beside the target, renamed over it: a file or a link at the
  // path is replaced, never written through. A device, a pipe or a socket
  // there is not the user's picture to replace (/dev/null among them).
  struct stat old;
  const bool have_old = ::lstat(path.c_str(), &old) == 0;
  if (have_old && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) {
    error = "cannot write " + path + ": " +
            (S_ISDIR(old.st_mode) ? std::string("it is a folder") : "it is not a regular file") +
            "; nothing is written";
    return false;
  }
  const std::size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  std::string temp = dir + (slash == std::string::npos ? "/" : "") + ".tintor-preview-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  // A picture replaced keeps its owner and mode (only root can give it away);
  // a new one gets the usual mode less the umask.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const bool keep = have_old && S_ISREG(old.st_mode);
  bool ok = ::fchmod(fd, keep ? old.st_mode & 0777 : 0666 & ~mask) == 0;
  if (ok && keep && ::geteuid() == 0) ok = ::fchown(fd, old.st_uid, old.st_gid) == 0;
  for (std::size_t done = 0; ok && done < png.size();) {
    const ssize_t n = ::write(fd, png.data() + done, png.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  const int saved = errno;
  ok = ::close(fd) == 0 && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
  error = "cannot write " + path + ": " + std::strerror(ok ? errno : saved);
  ::unlink(temp.c_str());
  return false;
}
