// The preview panel as a user meets it: each theme item drawn in its own
// place, a write by another process showing through the file watch, marks on
// hard-to-read text, and restoring the defaults without harming anything else.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "model/color_swatches.h"
#include "model/theme_targets.h"
#include "platform/host/headless_host.h"
#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/file/utf16.h"
#include "studio/card/item_card.h"
#include "studio/preview/item_places.h"
#include "studio/preview/preview_panel.h"
#include "studio/preview/preview_png.h"
#include "platform/file/file_watch.h"
#include "studio/preview/restore_confirmation.h"
#include "studio/studio.h"
#include "model/theme/theme_history.h"
#include "tests/support/screen_texts.h"
#include "tests/platform/win/reg_test_util.h"
#include "tests/platform/win/temp_registry.h"
#include "model/theme/theme_store.h"
#include "platform/win/registry.h"

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
};

Picture Render(PreviewPanel& panel, double scale) {
  Picture p;
  p.width = static_cast<int>(PreviewPanel::kWidth * scale);
  p.height = static_cast<int>(PreviewPanel::kHeight * scale);
  p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
  Canvas::RenderOffscreen(p.width, p.height, [&](Canvas& c) { panel.Paint(c, scale); },
                          p.pixels.data(), p.width * 4);
  return p;
}

int Distance(std::uint32_t a, std::uint32_t b) {
  int most = 0;
  for (int shift : {0, 8, 16}) {
    most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                   static_cast<int>((b >> shift) & 0xFF)));
  }
  return most;
}

std::uint32_t Pixel(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

LONG WriteItem(int number, COLORREF color) {
  const ThemeTarget& t = kThemeTargets[static_cast<std::size_t>(number - 1)];
  return SetValue(HKEY_LOCAL_MACHINE, t.key, t.value_name, REG_DWORD, Le32(color));
}

// The layer on top of the window, if it is a `T`.
template <class T>
const T* OnTop(const Shell& shell) {
  return dynamic_cast<const T*>(shell.TopLayer());
}

}  // namespace

TEST(PreviewPanel, EachItemRecoloursOnlyItsOwnPlace) {
  TempRegistry registry;
  constexpr double kScale = 1.5;  // also checks that a scaled panel shows every item
  PreviewPanel panel(nullptr, {});
  panel.ShowRead(ThemeStore(RegistryFilePath()));
  const COLORREF vivid[] = {RGB(0xFF, 0, 0), RGB(0xFF, 0xFF, 0), RGB(0, 0, 0xFF),
                            RGB(0xFF, 0, 0xFF), RGB(0, 0xFF, 0xFF), RGB(0, 0xFF, 0),
                            RGB(0x80, 0, 0x80)};
  // The items whose default colour itself reads badly first get one that
  // reads, so no mark shows and each item's change below is its own.
  std::map<int, COLORREF> readable_base;
  for (const ReadabilityWarning& w : std::vector<ReadabilityWarning>(panel.warnings())) {
    EXPECT_TRUE(w.default_fails) << w.item;
    for (COLORREF c : vivid) {
      ASSERT_EQ(WriteItem(w.item, c), ERROR_SUCCESS);
      ASSERT_TRUE(panel.ShowRead(ThemeStore(RegistryFilePath())));
      readable_base[w.item] = c;
      if (!ItemFails(panel.theme(), w.item)) break;
    }
  }
  ASSERT_TRUE(panel.warnings().empty());
  const Picture base = Render(panel, kScale);
  const std::size_t n = base.pixels.size();
  std::vector<std::vector<bool>> changed(21), core(21);
  for (int item = 1; item <= 20; ++item) {
    SCOPED_TRACE(testing::Message() << "item " << item);
    // A vivid colour that still reads, so no readability mark joins in.
    COLORREF color = 0;
    for (COLORREF c : vivid) {
      if (readable_base.count(item) != 0 && readable_base[item] == c) continue;
      ASSERT_EQ(WriteItem(item, c), ERROR_SUCCESS);
      ASSERT_TRUE(panel.ShowRead(ThemeStore(RegistryFilePath())));
      color = c;
      if (panel.warnings().empty()) break;
    }
    ASSERT_TRUE(panel.warnings().empty());
    const Picture shown = Render(panel, kScale);
    changed[item].resize(n);
    core[item].resize(n);
    int left = shown.width, top = shown.height, right = -1, bottom = -1, solid = 0;
    for (std::size_t p = 0; p < n; ++p) {
      changed[item][p] = Distance(shown.pixels[p], base.pixels[p]) > 24;
      core[item][p] = changed[item][p] && Distance(shown.pixels[p], Pixel(color)) <= 2;
      solid += core[item][p];
      // Where it is drawn: the pixels that came at least halfway to its
      // colour (thin strokes of small text may nowhere reach it fully).
      if (!changed[item][p] ||
          2 * Distance(shown.pixels[p], Pixel(color)) >= Distance(base.pixels[p], Pixel(color))) {
        continue;
      }
      const int x = static_cast<int>(p % shown.width), y = static_cast<int>(p / shown.width);
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
    EXPECT_GE(solid, 20) << "the item is not drawn in its colour anywhere";
    // Its change stays around where it is drawn.
    const int margin = static_cast<int>(6 * kScale);
    for (std::size_t p = 0; p < n; ++p) {
      const int x = static_cast<int>(p % shown.width), y = static_cast<int>(p / shown.width);
      if (changed[item][p] && (x < left - margin || x > right + margin || y < top - margin ||
                               y > bottom + margin)) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") changed far from the item";
        break;
      }
    }
    if (readable_base.count(item) != 0) {
      ASSERT_EQ(WriteItem(item, readable_base[item]), ERROR_SUCCESS);
      ASSERT_TRUE(panel.ShowRead(ThemeStore(RegistryFilePath())));
      continue;
    }
    HKEY key = nullptr;
    const ThemeTarget& t = kThemeTargets[static_cast<std::size_t>(item - 1)];
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, t.key, 0, 0, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, t.value_name), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, t.value_name), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    ASSERT_TRUE(panel.ShowRead(ThemeStore(RegistryFilePath())));
  }
  EXPECT_EQ(Render(panel, kScale).pixels, base.pixels) << "back to the start";
  // No item touches the pixels another item is drawn with.
  std::vector<int> owner(n, 0);
  int shared = 0;
  for (int item = 1; item <= 20; ++item) {
    for (std::size_t p = 0; p < n; ++p) {
      if (!core[item][p]) continue;
      shared += owner[p] != 0;
      owner[p] = item;
    }
  }
  EXPECT_EQ(shared, 0) << "pixels drawn in two items' colours";
  for (int item = 1; item <= 20; ++item) {
    std::vector<int> touched(21, 0);
    for (std::size_t p = 0; p < n; ++p) {
      if (changed[item][p] && owner[p] != 0) ++touched[owner[p]];
    }
    for (int other = 1; other <= 20; ++other) {
      if (other == item) continue;
      EXPECT_EQ(touched[other], 0) << item << " changes pixels of " << other;
    }
  }
}

namespace {

// Waits (at most 5 s) until the watch says the file changed.
bool WaitForChange(FileWatch& watch) {
  for (int round = 0; round < 50; ++round) {
    pollfd p{watch.fd(), POLLIN, 0};
    if (::poll(&p, 1, 100) > 0 && watch.Drain()[0]) return true;
  }
  return false;
}

// Another process sets window background (item 4) through the registry API.
void WriteFromAnotherProcess(COLORREF color) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(WriteItem(4, color) == ERROR_SUCCESS ? 0 : 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace

TEST(PreviewPanel, FollowsWritesOfAnotherProcessThroughTheFileWatch) {
  TempRegistry registry;
  // The file where it is named, in a folder made only by the first write,
  // and behind a symbolic link into another folder.
  const std::string deep = registry.dir() + "/not/yet/registry.reg";
  const std::string target = registry.dir() + "/real/registry.reg";
  const std::string link = registry.dir() + "/link.reg";
  std::filesystem::create_directories(registry.dir() + "/real");
  std::filesystem::create_symlink(target, link);
  COLORREF color = RGB(0x80, 0, 0);
  for (const std::string& path : {registry.path(), deep, link}) {
    SCOPED_TRACE(path);
    RegistryUseFile(path);
    FileWatch watcher({{path}});
    ASSERT_GE(watcher.fd(), 0) << watcher.problem();
    PreviewPanel panel(nullptr, {});
    panel.ShowRead(ThemeStore(RegistryFilePath()));
    const Picture before = Render(panel, 1);
    EXPECT_FALSE(panel.ShowRead(ThemeStore(RegistryFilePath())));

    color += 0x10;
    WriteFromAnotherProcess(color);
    ASSERT_TRUE(WaitForChange(watcher));
    ASSERT_TRUE(panel.ShowRead(ThemeStore(RegistryFilePath())));
    EXPECT_EQ(panel.theme().Item(4), color);
    EXPECT_NE(Render(panel, 1).pixels, before.pixels);
    // Nothing more happened, so nothing more is reported.
    pollfd p{watcher.fd(), POLLIN, 0};
    EXPECT_TRUE(::poll(&p, 1, 0) == 0 || !watcher.Drain()[0]);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link is kept";

  // The picture of the panel replaces a link in its place instead of writing through it.
  const std::string png = registry.dir() + "/preview.png";
  std::filesystem::create_symlink(registry.path(), png);
  const std::string registry_bytes = registry.ReadBytes();
  std::string error;
  ASSERT_TRUE(WritePreviewPng(png, 1.5, error)) << error;
  EXPECT_FALSE(std::filesystem::is_symlink(png));
  EXPECT_EQ(registry.ReadBytes(), registry_bytes);
  std::ifstream in(png, std::ios::binary);
  unsigned char header[24] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  EXPECT_EQ(header[1], 'P');
  EXPECT_EQ((header[18] << 8 | header[19]), PreviewPanel::kWidth * 3 / 2) << "width";
  EXPECT_EQ((header[22] << 8 | header[23]), PreviewPanel::kHeight * 3 / 2) << "height";
  EXPECT_FALSE(WritePreviewPng(registry.dir() + "/no/such/folder/p.png", 1, error));
  EXPECT_FALSE(error.empty());
  const std::string pipe = registry.dir() + "/pipe.png";  // a pipe (or a device) is left alone
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_TRUE(!WritePreviewPng(pipe, 1, error) && std::filesystem::is_fifo(pipe));
}

TEST(PreviewPanel, MarksTextThatIsHardToReadWithItsContrast) {
  TempRegistry registry;
  PreviewPanel panel(nullptr, {});
  panel.ShowRead(ThemeStore(RegistryFilePath()));
  // The defaults: the lyric shadow (APCA Lc 56 on the player, under 60) and
  // the list annotation (4.19:1 on the window, under 4.5) read badly.
  auto marked_items = [&] {
    std::vector<int> items;
    for (const ReadabilityWarning& w : panel.warnings()) items.push_back(w.item);
    return items;
  };
  EXPECT_EQ(marked_items(), (std::vector<int>{1, 12}));
  const Picture plain = Render(panel, 1);
  // On a white window, #767676 still reads (4.54:1, Lc 71); #999999 does not
  // (2.85:1), nor does #777777 (4.48:1).
  ASSERT_EQ(WriteItem(4, RGB(0xFF, 0xFF, 0xFF)), ERROR_SUCCESS);
  ASSERT_EQ(WriteItem(15, RGB(0x76, 0x76, 0x76)), ERROR_SUCCESS);
  ASSERT_EQ(WriteItem(18, RGB(0x77, 0x77, 0x77)), ERROR_SUCCESS);
  ASSERT_EQ(WriteItem(12, RGB(0x99, 0x99, 0x99)), ERROR_SUCCESS);
  ASSERT_TRUE(panel.ShowRead(ThemeStore(RegistryFilePath())));
  ASSERT_EQ(marked_items(), (std::vector<int>{1, 12, 18}));
  EXPECT_NEAR(panel.warnings()[1].ratio, 2.85, 0.01);
  EXPECT_TRUE(panel.warnings()[0].default_fails);
  EXPECT_FALSE(panel.warnings()[1].default_fails) << "12 is no longer at its default";
  EXPECT_EQ(ChipText(panel.warnings()[2].figures), u"难以阅读 4.4:1");
  EXPECT_EQ(ChipText(panel.warnings()[0].figures), u"难以阅读 Lc 55");
  // A black window: every dark window text is marked, the calendar's and the
  // lock screen's texts are not on it and stay unmarked.
  ASSERT_EQ(WriteItem(4, RGB(0, 0, 0)), ERROR_SUCCESS);
  ASSERT_TRUE(panel.ShowRead(ThemeStore(RegistryFilePath())));
  std::vector<int> marked;
  for (const ReadabilityWarning& w : panel.warnings()) marked.push_back(w.item);
  for (int item : {5, 6, 18, 19, 20}) {
    EXPECT_NE(std::find(marked.begin(), marked.end(), item), marked.end()) << item;
  }
  for (int item : {2, 3, 8, 9, 10, 13, 14}) {
    EXPECT_EQ(std::find(marked.begin(), marked.end(), item), marked.end()) << item;
  }
  EXPECT_NE(Render(panel, 1).pixels, plain.pixels);
}

TEST(PreviewPanel, RestoreRemovesOnlyTheThemeValuesAndLeavesABadFileAlone) {
  TempRegistry registry;
  // Everything but the theme values, then the same with them.
  auto others = [] {
    ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, kAppColorsKey), ERROR_SUCCESS);
    ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_OTHER", REG_SZ,
                       SzBytes(u"保留")), ERROR_SUCCESS);
    ASSERT_EQ(SetValue(HKEY_CURRENT_USER, u"Software\\Other", u"Size", REG_DWORD, Le32(7)),
              ERROR_SUCCESS);
  };
  others();
  const std::string without_theme = registry.ReadBytes();
  std::filesystem::remove(registry.path());
  others();
  for (int item = 1; item <= 20; ++item) ASSERT_EQ(WriteItem(item, RGB(0, 0, item)), ERROR_SUCCESS);
  // A REG_SZ where a colour belongs is no colour, and is removed all the same.
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_EDIT_TEXT", REG_SZ,
                     SzBytes(u"red")), ERROR_SUCCESS);

  // The panel beside the phone, its buttons tapped as a user would.
  HeadlessHost host;
  Shell shell(host);
  Studio studio(shell, registry.path(), true);
  const PreviewPanel& panel = studio.Panel();
  const auto run = [&] { shell.RunLoop([&] { return !host.HasPendingInput() && shell.PendingMessages() == 0; }); };
  EXPECT_EQ(panel.theme().Item(19), ThemeValues().Item(19)) << "a REG_SZ is no colour";
  EXPECT_EQ(panel.theme().Item(18), RGB(0, 0, 18));
  // Asked, then cancelled: nothing removed.
  ASSERT_TRUE(TapText(host, shell, u"恢复默认"));
  host.InjectCall([&] {
    ASSERT_NE(OnTop<RestoreConfirmation>(shell), nullptr);
    EXPECT_TRUE(TapText(host, shell, u"取消"));
  });
  run();
  EXPECT_EQ(OnTop<RestoreConfirmation>(shell), nullptr);
  EXPECT_EQ(panel.theme().Item(18), RGB(0, 0, 18)) << "cancelled: nothing removed";
  const auto restore = [&] {
    ASSERT_TRUE(TapText(host, shell, u"恢复默认"));
    host.InjectCall([&] { EXPECT_TRUE(TapText(host, shell, u"确定")); });
    run();
  };
  restore();
  EXPECT_EQ(registry.ReadBytes(), without_theme);
  EXPECT_EQ(panel.theme(), ThemeValues());
  // Item 19 held no colour (a REG_SZ is drawn in its default): 19 change.
  EXPECT_NE(ScreenSays(shell).find(u"已恢复 19 项默认颜色。"), std::u16string::npos) << Utf16ToUtf8(ScreenSays(shell));

  // A file that is no registry file: left byte for byte, the failure shown
  // whole and in the window's language.
  const std::string garbage = "\xFF\xFE not a registry file";
  registry.WriteBytes(garbage);
  EXPECT_TRUE(studio.Reload());
  EXPECT_FALSE(panel.ReadProblem().empty());
  EXPECT_NE(ScreenSays(shell).find(u"无法读取注册表文件"), std::u16string::npos);
  // Nothing is asked: the file says at once that nothing can be restored.
  testing::internal::CaptureStderr();
  ASSERT_TRUE(TapText(host, shell, u"恢复默认"));
  run();
  EXPECT_EQ(OnTop<RestoreConfirmation>(shell), nullptr);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(registry.path()), std::string::npos);
  EXPECT_EQ(registry.ReadBytes(), garbage);
  const std::u16string says = ScreenSays(shell);
  EXPECT_NE(says.find(u"恢复默认失败"), std::u16string::npos);
  EXPECT_NE(says.find(Utf8ToUtf16(registry.path())), std::u16string::npos);
  EXPECT_EQ(says.find(u"…"), std::u16string::npos);
  // Hidden, the studio leaves its way back; a tap on it shows the panel again.
  ASSERT_TRUE(TapText(host, shell, u"隐藏"));
  run();
  EXPECT_FALSE(shell.SideShown());
  EXPECT_LE(shell.PlaceWidth(ShellLayer::Place::Side), 40);
  ASSERT_TRUE(TapText(host, shell, u"显示主题预览"));
  run();
  EXPECT_TRUE(shell.SideShown());
}

// An unreadable registry is said once, where it is read (on the panel and by
// the program's start): the history has missed no change and says nothing.
TEST(PreviewPanel, AnUnreadableRegistryAtTheStartIsNoMissedChange) {
  TempRegistry registry;
  registry.WriteBytes("\xFF\xFE not a registry file");
  HeadlessHost host;
  Shell shell(host);
  testing::internal::CaptureStderr();
  Studio studio(shell, registry.path(), true);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_NE(ScreenSays(shell).find(u"无法读取注册表文件"), std::u16string::npos);
}

TEST(PreviewPanel, PointingAtAnItemShowsItsCardWhoseSwatchWritesItAndIsRecorded) {
  TempRegistry registry;
  ::setenv("XDG_STATE_HOME", (std::filesystem::path(registry.path()).parent_path() / "state").c_str(), 1);
  HeadlessHost host;
  Shell shell(host);
  Studio studio(shell, registry.path(), true);
  const PreviewPanel& panel = studio.Panel();
  const auto run = [&] { shell.RunLoop([&] { return !host.HasPendingInput() && shell.PendingMessages() == 0; }); };

  // Item 12's text: its default grey reads badly on the white window.
  const RECT place = PlacementOf(12).places[0].rect;
  host.InjectTap(Shell::kScreenWidth + place.left + 6, (place.top + place.bottom) / 2);
  const ColorSwatch* suggested = nullptr;
  host.InjectCall([&] {
    const ItemCard* card = OnTop<ItemCard>(shell);
    ASSERT_NE(card, nullptr);
    const std::u16string says = LayerSays(shell);
    EXPECT_EQ(says.rfind(std::u16string(kThemeTargets[11].label) + u"\n", 0), 0u) << Utf16ToUtf8(says);
    EXPECT_NE(says.find(u"· 默认"), std::u16string::npos) << "a fresh registry holds no colour";
    EXPECT_EQ(says.find(u"自定义"), std::u16string::npos);
    EXPECT_NE(says.find(u"→ 难以阅读"), std::u16string::npos);
    EXPECT_NE(says.find(u"默认颜色本身就难以阅读"), std::u16string::npos);
    const std::size_t advice = says.find(u"最接近的可读色块：");
    ASSERT_NE(advice, std::u16string::npos) << Utf16ToUtf8(says);
    suggested = FindColorSwatch(std::stoi(Utf16ToUtf8(says.substr(advice + 9, 4))));
    ASSERT_NE(suggested, nullptr);
    EXPECT_TRUE(JudgeItem(panel.theme().With(12, suggested->color), 12)->passes());
    EXPECT_TRUE(HardToReadWith(panel.theme(), 12, panel.theme().Item(12)));
    EXPECT_EQ(panel.theme().Item(12), ThemeValues().Item(12)) << "suggested, never applied by itself";
    // Its swatch is found on the card by its colour, and tapped.
    const RECT f = card->Frame();
    POINT at{-1, -1};
    for (int y = f.top; y + 8 < f.bottom && at.x < 0; ++y) {
      for (int x = Shell::kScreenWidth + f.left; x + 8 < Shell::kScreenWidth + f.right && at.x < 0; ++x) {
        const std::uint32_t c = Pixel(suggested->color);
        if (host.FramePixel(x, y) == c && host.FramePixel(x + 8, y + 8) == c) at = POINT{x + 8, y + 8};
      }
    }
    ASSERT_GE(at.x, 0) << "the suggested swatch is not on the card";
    host.InjectTap(at.x, at.y);
    host.InjectCall([&] {
      ASSERT_NE(OnTop<ItemCard>(shell), nullptr) << "the card stays open to show the result";
      ThemeValues stored;
      std::string problem;
      ASSERT_TRUE(ReadThemeValues(stored, problem)) << problem;
      EXPECT_EQ(stored.Item(12), suggested->color) << "written into the registry";
      EXPECT_EQ(panel.theme().Item(12), suggested->color) << "shown at once";
      const std::u16string now = LayerSays(shell);
      EXPECT_NE(now.find(u"→ 可以阅读"), std::u16string::npos) << Utf16ToUtf8(now);
      EXPECT_NE(now.find(u"· 色块 " + Utf8ToUtf16(std::to_string(suggested->control_id)) + u"\n"), std::u16string::npos);
      host.InjectKey(InputKey::Escape);
    });
  });
  run();
  EXPECT_EQ(OnTop<ItemCard>(shell), nullptr) << "Esc closes the card";
  // The write is a step of the theme's history.
  std::vector<ThemeStore::Step> states;
  std::size_t cursor = 0;
  std::string problem;
  ASSERT_TRUE(ThemeStore(registry.path()).Steps(states, cursor, problem)) << problem;
  ASSERT_FALSE(states.empty());
  EXPECT_EQ(states[cursor].values.items[11], suggested->color);

  // From the keyboard: the screens keep the focus, the arrows point at the
  // next item, Enter opens its card.
  host.InjectKey(InputKey::Right);
  host.InjectKey(InputKey::Enter);
  host.InjectCall([&] {
    const std::u16string says = LayerSays(shell);
    EXPECT_EQ(says.rfind(std::u16string(kThemeTargets[12].label) + u"\n", 0), 0u) << Utf16ToUtf8(says);
    for (const char16_t* failing : {u"→ 难以阅读", u"最接近的可读色块", u"没有一个色块"}) {
      EXPECT_EQ(says.find(failing), std::u16string::npos) << "the disabled text never fails";
    }
    host.InjectKey(InputKey::Escape);
  });
  run();
  EXPECT_EQ(OnTop<ItemCard>(shell), nullptr);
}
