// Keeping a theme in the window, as a user meets it: the window's undo and
// redo keys, the theme shelf (save under a typed name, apply after a
// confirmation, delete, export), its 配色 place, and a registry file dropped
// on the window.
#include <gtest/gtest.h>

#include <cairo.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/theme_targets.h"
#include "platform/host/script.h"
#include "platform/file/utf16.h"
#include "studio/preview/item_places.h"
#include "studio/preview/restore_confirmation.h"
#include "studio/studio.h"
#include "studio/widgets/confirmation_sheet.h"
#include "studio/studio_texts.h"
#include "model/checks/colour_science.h"
#include "model/theme/theme_store.h"
#include "model/theme/theme_library.h"
#include "model/theme/theme_maker.h"
#include "studio/shelf/colour_maker.h"
#include "studio/shelf/import_sheet.h"
#include "studio/shelf/maker_texts.h"
#include "studio/shelf/shelf_texts.h"
#include "studio/shelf/theme_shelf.h"
#include "model/theme/theme_values.h"
#include "platform/ui/ui_scroll_win.h"
#include "platform/file/system_calls.h"
#include "tests/support/another_process.h"
#include "tests/support/headless_shell_test.h"
#include "tests/support/screen_texts.h"

namespace {

class StudioThemes : public HeadlessShellTest {
 protected:
  // The test's folder as home, with `documents` (made here) as the documents
  // folder that user-dirs.dirs names.
  void UseDocumentsFolder(const std::string& documents) {
    ASSERT_EQ(::mkdir(documents.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((Folder() + "/config").c_str(), 0755), 0);
    std::ofstream(Folder() + "/config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n";
    ::setenv("HOME", Folder().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (Folder() + "/config").c_str(), 1);
  }
  void Then(std::function<void()> check) { host().InjectCall(std::move(check)); }
  // What the window says now, what its layer on top says, and a tap on the
  // words one means (on the layer on top, the ones nearest to other words).
  std::u16string Screen() { return ScreenSays(shell()); }
  std::u16string Layer() { return LayerSays(shell()); }
  void TapOn(const char16_t* words) { ASSERT_TRUE(TapText(host(), shell(), words)) << Utf16ToUtf8(words); }
  void TapNear(std::initializer_list<std::u16string_view> path) {
    ASSERT_TRUE(TapTextNear(host(), shell(), path)) << Utf16ToUtf8(std::u16string(path.end()[-1]));
  }
  // How many of the layer on top's texts read `words`: the shelf's rows by
  // their "应用".
  std::size_t Count(std::u16string_view words) {
    const std::vector<Canvas::DrawnText> texts = LayerTexts(shell());
    return static_cast<std::size_t>(
        std::count_if(texts.begin(), texts.end(), [&](const Canvas::DrawnText& t) { return t.text == words; }));
  }
  // The shelf's name field, on the line of its "保存": the name typed (and
  // what is composed), else its hint; and a tap at its start.
  std::optional<Canvas::DrawnText> Field() { return LayerTextNear(shell(), {shelf_text::kSave, u""}); }
  std::string FieldSays() {
    const std::optional<Canvas::DrawnText> field = Field();
    return field ? Utf16ToUtf8(field->text) : "(no name field)";
  }
  void TapField() {
    const std::optional<Canvas::DrawnText> field = Field();
    ASSERT_TRUE(field);
    Tap(field->where.left, (field->where.top + field->where.bottom) / 2);
  }
  template <class T>
  const T* OnTop() {
    return dynamic_cast<const T*>(shell().TopLayer());
  }
  static ThemeValues Now() {
    ThemeValues v;
    std::string problem;
    EXPECT_TRUE(ReadThemeValues(v, problem)) << problem;
    return v;
  }
  static bool Says(const std::u16string& status, const char16_t* words) {
    return status.find(words) != std::u16string::npos;
  }
  // Whether the window draws `text` whole, as one text.
  bool Shows(std::u16string_view text) {
    const std::vector<Canvas::DrawnText> texts = ScreenTexts(shell());
    return std::any_of(texts.begin(), texts.end(), [&](const Canvas::DrawnText& t) { return t.text == text; });
  }
  std::string Folder() const { return RegistryPath().substr(0, RegistryPath().rfind('/')); }
  // A PNG picture, its upper three quarters orange (#F2800D), the rest grey.
  static bool WriteOrangePicture(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 60, 40);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.95, 0.5, 0.05);
    cairo_rectangle(cr, 0, 0, 60, 30);
    cairo_fill(cr);
    cairo_destroy(cr);
    const bool written = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    return written;
  }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Dark pixels at the right end of the open apply question's list of
  // changes (under its title and note), where a colour of one's own is marked.
  int InkRightOfChanges() {
    const ConfirmationSheet* asked = OnTop<ConfirmationSheet>();
    if (asked == nullptr) return -1;  // nothing asked
    const ConfirmationSheet& q = *asked;
    const UiWin& list = *q.Roots().at(2);
    const POINT o = list.WindowOrigin();
    int ink = 0;
    for (int y = o.y; y < o.y + list.GetHeight(); ++y) {
      for (int x = o.x + list.GetWidth() * 9 / 10; x < o.x + list.GetWidth(); ++x) {
        ink += (host().FramePixel(Shell::kScreenWidth + q.Frame().left + x, q.Frame().top + y) & 0xFF) < 0xC0;
      }
    }
    return ink;
  }
  // Answers the question open over the shelf.
  void Answer(bool yes) {
    ASSERT_NE(OnTop<ConfirmationSheet>(), nullptr) << "nothing asked";
    TapOn(yes ? studio_text::kConfirm : studio_text::kCancel);
  }
  // Runs the steps one after another inside the modal runs they open: each
  // injects its input or checks what is seen, and the next one runs once
  // that input is used; none after one that failed fatally.
  void RunSteps(std::size_t i = 0) {
    if (i >= steps_.size() || HasFatalFailure()) return;
    steps_[i]();
    Then([this, i] { RunSteps(i + 1); });
  }

  std::vector<std::function<void()>> steps_;
  const ThemeShelf* shelf_ = nullptr;
};

constexpr std::size_t kBackground = 3;  // item 4, the window background

TEST_F(StudioThemes, WindowKeysUndoAndRedoEveryStepDroppedFilesImportOrAreRefusedWhole) {
  const std::string good = Folder() + "/friend.reg";
  const std::string bad = Folder() + "/other.reg";
  const std::string theme =
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors]\r\n"
      "\"SYSCLR_WINDOW_BG\"=dword:00203040\r\n";
  std::ofstream(good, std::ios::binary) << theme;
  std::ofstream(bad, std::ios::binary) << theme << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n";
  Studio studio(shell(), RegistryPath(), true);
  const PreviewPanel& panel = studio.Panel();
  const ThemeTarget& bg = kThemeTargets[kBackground];
  Pump();
  for (DWORD colour : {0x00112233u, 0x00445566u}) {
    ASSERT_TRUE(WriteRegistryDword(bg.key, bg.value_name, colour));
    Wait(1);  // the loop waits, the watch sees the write and records a step
    Pump();
  }
  // The status line and the undo name the item, whole.
  EXPECT_TRUE(Shows(u"撤销将撤回：“4 窗口背景”的颜色。")) << Utf16ToUtf8(Screen());
  Key(InputKey::Z, kCtrl);
  Pump();
  EXPECT_EQ(Now().items[kBackground], 0x00112233u);
  EXPECT_EQ(panel.theme().Item(4), 0x00112233u) << "the panel shows the undo at once";
  EXPECT_TRUE(Shows(u"已撤销：“4 窗口背景”的颜色。手机重启后生效。")) << Utf16ToUtf8(Screen());
  Key(InputKey::Z, kCtrl);
  Key(InputKey::Z, kCtrl);
  Pump();
  EXPECT_EQ(Now(), ThemeValues()) << "a value that was not there is removed again";
  EXPECT_TRUE(Says(Screen(), studio_text::kNothingToUndo));
  Key(InputKey::Y, kCtrl);
  Key(InputKey::Z, kCtrl | kShift);
  Pump();
  EXPECT_EQ(Now().items[kBackground], 0x00445566u);
  EXPECT_TRUE(Shows(u"已重做：“4 窗口背景”的颜色。手机重启后生效。")) << Utf16ToUtf8(Screen());

  // "恢复默认", confirmed, is one step; no key of the history and no dropped
  // file acts while its question holds the window.
  ASSERT_TRUE(WriteRegistryDword(kThemeTargets[12].key, kThemeTargets[12].value_name, 0x00ABCDEF));
  Pump();
  const ThemeValues before_restore = Now();
  TapOn(u"恢复默认");
  Then([&] {
    ASSERT_NE(OnTop<RestoreConfirmation>(), nullptr);
    TapOn(u"确定");
  });
  Pump();
  EXPECT_EQ(Now(), ThemeValues());
  EXPECT_TRUE(Says(Screen(), studio_text::Restored(2).c_str())) << Utf16ToUtf8(Screen());
  // At the defaults, nothing is asked and nothing recorded.
  TapOn(u"恢复默认");
  Pump();
  EXPECT_EQ(OnTop<RestoreConfirmation>(), nullptr) << "asked to restore the defaults at the defaults";
  EXPECT_TRUE(Says(Screen(), studio_text::kAlreadyDefaults)) << Utf16ToUtf8(Screen());
  ASSERT_TRUE(WriteRegistryDword(bg.key, bg.value_name, 0x00778899));
  Pump();
  TapOn(u"恢复默认");
  Key(InputKey::Z, kCtrl);
  host().Inject(InputEvent::Drop(good));
  Key(InputKey::Escape);
  Pump();
  EXPECT_EQ(OnTop<RestoreConfirmation>(), nullptr);
  EXPECT_EQ(Now().items[kBackground], 0x00778899u) << "Ctrl+Z or the drop acted under the question";
  EXPECT_TRUE(Says(Screen(), u"未导入 friend.reg")) << "the drop was lost silently";
  Key(InputKey::Z, kCtrl);
  Key(InputKey::Z, kCtrl);
  Pump();
  EXPECT_EQ(Now(), before_restore) << "one undo brings back all the restore removed";

  // A dropped theme file is imported as one step; one with anything else in
  // it is refused whole, saying where, and nothing is written.
  host().Inject(InputEvent::Drop(good));
  Pump();
  EXPECT_EQ(Now().items[kBackground], 0x00203040u);
  EXPECT_EQ(panel.theme().Item(4), 0x00203040u);
  EXPECT_TRUE(Shows(u"已导入 friend.reg：1 项颜色已改变，手机重启后生效；Ctrl+Z 可撤销。")) << Utf16ToUtf8(Screen());
  const std::string imported = Bytes(RegistryPath());
  // Dropped again, it changes nothing: said so, and no step is recorded
  // (the last undo below takes back the import itself).
  host().Inject(InputEvent::Drop(good));
  Pump();
  EXPECT_TRUE(Shows(u"没有变化：friend.reg 中的颜色与当前相同。")) << Utf16ToUtf8(Screen());
  // Each refusal gives its real reason in whole Chinese on at most two lines
  // above the sample screens, which stay where they were; a line is named
  // only where there is one.
  // A picture of a kind that is not read (GIF) is no text.
  const std::string picture = Folder() + "/picture.gif", empty = Folder() + "/empty.reg";
  std::ofstream(picture, std::ios::binary) << std::string("GIF89a\x01\0\x01\0\x80\0\0\xff\xfe", 15);
  std::ofstream(empty, std::ios::binary) << "";
  const auto screens = [this] {
    std::vector<std::uint32_t> pixels;
    for (int y = kSampleScreensTop; y < Shell::kScreenHeight; y += 3) {
      for (int x = Shell::kScreenWidth; x < host().FrameWidth(); x += 3) pixels.push_back(host().FramePixel(x, y));
    }
    return pixels;
  };
  const std::vector<std::uint32_t> before_refusals = screens();
  for (const auto& [file, reason] : {std::pair{bad, u"第 5 行是主题以外的键或值"}, std::pair{picture, u"不是文本文件"},
                                     std::pair{empty, u"文件是空的"}}) {
    host().Inject(InputEvent::Drop(file));
    Pump();
    EXPECT_EQ(Bytes(RegistryPath()), imported);
    const std::vector<Canvas::DrawnText> texts = ScreenTexts(shell());
    const auto said = std::find_if(texts.begin(), texts.end(),
                                   [](const Canvas::DrawnText& t) { return Says(t.text, u"未导入"); });
    ASSERT_NE(said, texts.end()) << file;
    const auto note = std::find_if(texts.begin(), texts.end(),
                                   [](const Canvas::DrawnText& t) { return t.text == studio_text::kNote; });
    ASSERT_NE(note, texts.end());
    EXPECT_TRUE(Says(said->text, reason)) << Utf16ToUtf8(said->text);
    EXPECT_FALSE(Says(said->text, u"第 0 行")) << Utf16ToUtf8(said->text);
    const std::string words = Utf16ToUtf8(said->text.substr(said->text.find(u"：")));
    EXPECT_EQ(words.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << words;
    EXPECT_LE(said->where.bottom - said->where.top, 2 * (note->where.bottom - note->where.top)) << "over two lines";
    EXPECT_LE(said->where.bottom, kSampleScreensTop) << "the message runs into the screens";
    EXPECT_EQ(screens(), before_refusals) << "the message moved the screens";
  }
  Key(InputKey::Z, kCtrl);
  Pump();
  EXPECT_EQ(Now(), before_restore);
}

TEST_F(StudioThemes, ShelfSavesAppliesExportsAndDeletesThemesByNameTyped) {
  // The documents folder as user-dirs.dirs names it (read once, before the
  // first look), and the home folder while it is gone.
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  const std::string documents = Folder() + "/文档";
  ASSERT_NO_FATAL_FAILURE(UseDocumentsFolder(documents));

  Studio studio(shell(), RegistryPath(), true);
  const PreviewPanel& panel = studio.Panel();
  const ThemeTarget& bg = kThemeTargets[kBackground];
  ASSERT_TRUE(WriteRegistryDword(bg.key, bg.value_name, 0x00123456));
  const ThemeValues spring = Now().Completed();
  Pump();
  // The shelf runs modally: what happens there is input, and what is seen
  // there is checked between its steps.
  TapOn(u"主题");
  const std::string old_form = documents + "/深色-REGEDIT4.reg";
  std::string before;
  int caret_x = 0;
  steps_ = {
      [&] {
        shelf_ = OnTop<ThemeShelf>();
        ASSERT_NE(shelf_, nullptr);
        EXPECT_TRUE(host().TakingText()) << "no text asked for while the name can be typed";
        EXPECT_EQ(Count(shelf_text::kApply), ThemePresets().size());
        // A preset's name is refused.
        host().InjectText("深色");
        Key(InputKey::Enter);
      },
      [&] {
        EXPECT_TRUE(Says(Layer(), u"预设")) << Utf16ToUtf8(Layer());
        EXPECT_TRUE(ListSavedThemes().empty());
        // A name typed (an input method's Chinese, characters taken back)
        // saves the current colours.
        Key(InputKey::Backspace);
        Key(InputKey::Backspace);
        host().InjectText("春天 的风");
        Key(InputKey::Backspace);
        Key(InputKey::Backspace);
        Key(InputKey::Enter);
      },
      [&] {
        ASSERT_EQ(ListSavedThemes(), std::vector<std::string>{"春天"}) << Utf16ToUtf8(Layer());
        EXPECT_EQ(FieldSays(), Utf16ToUtf8(shelf_text::kNameHint)) << "the name stayed in the field";
        ThemeValues saved;
        std::string problem;
        ASSERT_TRUE(LoadTheme("春天", saved, problem)) << problem;
        EXPECT_EQ(saved, spring);
        // Applying asks first, listing what changes; "取消" writes nothing.
        before = Bytes(RegistryPath());
        TapNear({u"高对比", shelf_text::kApply});
      },
      [&] { Answer(false); },
      [&] {
        EXPECT_EQ(Bytes(RegistryPath()), before);
        TapNear({u"深色", shelf_text::kApply});
      },
      [&] { EXPECT_EQ(InkRightOfChanges(), 0) << "a swatch marked as one's own"; Answer(true); },
      [&] {
        EXPECT_EQ(Now(), ThemePresets()[1].values);
        EXPECT_TRUE(Says(Layer(), u"已应用")) << Utf16ToUtf8(Layer());
        TapNear({u"春天", shelf_text::kApply});
      },
      [&] { EXPECT_GT(InkRightOfChanges(), 0) << "item 4's colour of one's own not marked"; Answer(true); },
      [&] {
        EXPECT_EQ(Now(), spring);
        // Exports land in the documents folder, never over a file there, in
        // the old form for old phones on request.
        TapOn(shelf_text::kExportCurrent);
        TapOn(shelf_text::kExportCurrent);
        TapOn(shelf_text::kFormat5);
        TapNear({u"深色", shelf_text::kExport});
      },
      [&] {
        EXPECT_EQ(OnTop<ConfirmationSheet>(), nullptr) << "an export asks nothing";
        EXPECT_TRUE(Says(Layer(), u"/文档/深色-REGEDIT4.reg")) << Utf16ToUtf8(Layer());
        // Without the documents folder the home folder takes them.
        ASSERT_EQ(::rename(documents.c_str(), (documents + "-away").c_str()), 0);
        TapOn(shelf_text::kExportCurrent);
      },
      [&] {
        ASSERT_EQ(::rename((documents + "-away").c_str(), documents.c_str()), 0);
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_FALSE(Bytes(Folder() + "/当前颜色-REGEDIT4.reg").empty()) << Utf16ToUtf8(Layer());
        EXPECT_TRUE(Says(Layer(), u"~/当前颜色-REGEDIT4.reg")) << Utf16ToUtf8(Layer());
        TapNear({u"春天", shelf_text::kDelete});
      },
      [&] { Answer(true); },
      [&] {
        EXPECT_TRUE(ListSavedThemes().empty());
        EXPECT_EQ(Count(shelf_text::kApply), ThemePresets().size()) << "the deleted theme is still listed";
        // The name is edited at a caret that keys and a tap move; a pair of
        // surrogates is one character. Out of the field, its keys are the
        // shelf's; the window's undo keys act in the shelf, which says so.
        std::vector<ScriptCommand> script;
        std::string error;
        ASSERT_TRUE(ParseScript("type 夏日风\nkey home\ntype 初\nkey right\nkey delete\nkey end\ntype 😀\n"
                                "key left\nkey backspace\nkey right\nkey backspace\n", "caret.txt", script, error))
            << error;
        host().InjectScript(script);
        TapField();
        host().InjectText("小");
        for (InputKey key : {InputKey::Tab, InputKey::Left, InputKey::Backspace, InputKey::Delete}) Key(key);
        Key(InputKey::Z, kCtrl);
      },
      [&] {
        EXPECT_EQ(FieldSays(), "小初夏");
        EXPECT_EQ(Now(), ThemePresets()[1].values);
        EXPECT_TRUE(Says(Layer(), u"已撤销：应用主题")) << Utf16ToUtf8(Layer());
        Key(InputKey::Z, kCtrl | kShift);
        TapField();
        Key(InputKey::End);
      },
      [&] {
        // What an input method composes shows at the caret, which the input
        // method is told, and types nothing; the keys meanwhile are its own.
        caret_x = host().TextCaret().x;
        std::vector<ScriptCommand> script;
        std::string error;
        ASSERT_TRUE(ParseScript("compose chun tian\nkey backspace\nkey escape\nkey ctrl+z\n", "ime.txt", script,
                                error))
            << error;
        host().InjectScript(script);
      },
      [&] {
        ASSERT_EQ(OnTop<ThemeShelf>(), shelf_) << "Esc closed the shelf while composing";
        EXPECT_EQ(FieldSays(), "小初夏chun tian") << "the text changed, or what is composed is not shown";
        EXPECT_GT(host().TextCaret().x, caret_x + 40) << "the caret is not after the composition";
        EXPECT_EQ(Now(), spring) << "a key acted while composing";
        // Typed text takes the composition's place; one ended shows nothing.
        host().InjectText("春天");
        host().InjectComposition("feng");
        host().InjectComposition("");
      },
      [&] {
        EXPECT_EQ(FieldSays(), "小初夏春天");
        // Shift+Left selects, Ctrl+X cuts to the clipboard, Ctrl+A and
        // Ctrl+V put it in place of everything; a pasted line break is no
        // part of a name.
        Key(InputKey::Left, kShift);
        Key(InputKey::Left, kShift);
        Key(InputKey::X, kCtrl);
        Key(InputKey::A, kCtrl);
        Key(InputKey::V, kCtrl);
        Key(InputKey::Home);
        Key(InputKey::End, kShift);
        Key(InputKey::C, kCtrl);
        Key(InputKey::Home);
      },
      [&] {
        EXPECT_EQ(FieldSays(), "春天");
        EXPECT_EQ(host().ClipboardText(), "春天");
        host().SetClipboardText("秋\n日");
        Key(InputKey::V, kCtrl);
      },
      [&] {
        EXPECT_EQ(FieldSays(), "秋日春天");
        // The shelf closes while composing; the composition goes with it.
        host().InjectComposition("feng");
        TapOn(shelf_text::kClose);
      },
  };
  Then([this] { RunSteps(); });
  Pump();
  ASSERT_EQ(OnTop<ThemeShelf>(), nullptr) << "the shelf stayed open";
  EXPECT_FALSE(host().TakingText());
  EXPECT_EQ(Now(), spring);
  EXPECT_EQ(panel.theme().Item(4), *spring.items[kBackground]) << "the panel shows the redo on closing";
  EXPECT_TRUE(Says(Screen(), u"已重做")) << Utf16ToUtf8(Screen());
  EXPECT_EQ(Bytes(old_form).rfind("REGEDIT4\r\n", 0), 0u);
  for (const std::string& file : {documents + "/当前颜色.reg", documents + "/当前颜色 (2).reg", old_form}) {
    ThemeValues read;
    std::string problem;
    ASSERT_TRUE(ThemeStore::ReadImport(file, read, problem)) << problem;
    EXPECT_EQ(read, file == old_form ? ThemePresets()[1].values : spring) << file;
  }
}

// The name box shows how full it is near its limit, in red at the limit, so
// a key that adds nothing is seen to be at the limit; a theme whose name
// holds '/' is exported under a name that shows it.
TEST_F(StudioThemes, NameBoxShowsItsLimitAndExportedNamesKeepTheirSlash) {
  const std::string documents = Folder() + "/文档";
  ASSERT_NO_FATAL_FAILURE(UseDocumentsFolder(documents));
  std::string problem;
  ASSERT_TRUE(SaveTheme("夜/读", ThemePresets()[1].values, problem)) << problem;
  Studio studio(shell(), RegistryPath(), true);
  Pump();
  TapOn(u"主题");
  const std::u16string start = u"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九";  // 29
  steps_ = {
      [&] {
        shelf_ = OnTop<ThemeShelf>();
        ASSERT_NE(shelf_, nullptr);
        host().InjectText(Utf16ToUtf8(start));
      },
      [&] {
        EXPECT_EQ(Count(u"29/40"), 0u) << "counted while far from the limit";
        host().InjectText("十");
      },
      [&] {
        EXPECT_EQ(Count(u"30/40"), 1u) << Utf16ToUtf8(Layer());
        host().InjectText("一二三四五六七八九十");
      },
      [&] {
        EXPECT_EQ(Count(u"40/40"), 1u) << Utf16ToUtf8(Layer());
        host().InjectText("多");
      },
      [&] {
        EXPECT_EQ(Count(start + u"十一二三四五六七八九十"), 1u) << "a character past the limit went in";
        EXPECT_EQ(Count(u"40/40"), 1u) << Utf16ToUtf8(Layer());
        TapNear({u"夜/读", shelf_text::kExport});
      },
      [&] {
        EXPECT_FALSE(Bytes(documents + "/夜／读.reg").empty()) << Utf16ToUtf8(Layer());
        EXPECT_TRUE(Says(Layer(), u"/文档/夜／读.reg")) << Utf16ToUtf8(Layer());
        TapOn(shelf_text::kClose);
      },
  };
  Then([this] { RunSteps(); });
  Pump();
  EXPECT_EQ(OnTop<ThemeShelf>(), nullptr) << "the shelf stayed open";
}

// The import sheet's list of files shows a scroll bar once it holds more
// than fit, as the shelf's list does, without being moved first.
TEST_F(StudioThemes, ImportSheetShowsAScrollBarWhenItsFilesOverflow) {
  const std::string documents = Folder() + "/文档";
  ASSERT_NO_FATAL_FAILURE(UseDocumentsFolder(documents));
  Studio studio(shell(), RegistryPath(), true);
  Pump();
  TapOn(u"主题");
  // Dark pixels down the list's right edge, where the bar's thumb stands.
  const auto bar = [this] {
    const ImportSheet* sheet = OnTop<ImportSheet>();
    if (sheet == nullptr) return -1;
    shell().Invalidate();
    shell().RenderFrame();
    for (const UiWin* root : sheet->Roots()) {
      const auto* list = dynamic_cast<const UiScrollWin*>(root);
      if (list == nullptr) continue;
      const POINT o = list->WindowOrigin();
      int dark = 0;
      for (int y = o.y; y < o.y + list->GetHeight(); ++y) {
        const int x = Shell::kScreenWidth + sheet->Frame().left + o.x + list->GetWidth() - 6;
        dark += (host().FramePixel(x, sheet->Frame().top + y) & 0xFF) < 0xC0;
      }
      return dark;
    }
    return -2;  // no list
  };
  int few = 0, many = 0;
  steps_ = {
      [&] {
        for (int i = 1; i <= 6; ++i) std::ofstream(documents + "/主题" + std::to_string(i) + ".reg") << "x";
        TapOn(shelf_text::kImportOpen);
      },
      [&] {
        few = bar();
        TapOn(studio_text::kCancel);
      },
      [&] {
        for (int i = 7; i <= 9; ++i) std::ofstream(documents + "/主题" + std::to_string(i) + ".reg") << "x";
        TapOn(shelf_text::kImportOpen);
      },
      [&] {
        many = bar();
        TapOn(studio_text::kCancel);
      },
      [&] { TapOn(shelf_text::kClose); },
  };
  Then([this] { RunSteps(); });
  Pump();
  EXPECT_EQ(few, 0) << "a bar over six files that fit";
  EXPECT_GE(many, 36) << "no bar over nine files, three of them below the sheet's edge";
}

TEST_F(StudioThemes, MakerPlaceOffersFourCheckedThemesFromASwatchAHexColourOrAPicture) {
  Studio studio(shell(), RegistryPath(), true);
  Pump();
  TapOn(u"主题");
  const std::vector<MadeTheme> made = MakeThemeCandidates(RGB(0x1B, 0x26, 0x4A), false, ContrastLevel::kStandard);
  const std::string picture = Folder() + "/orange.png";
  const char16_t* kPassing = u"各项检查都通过";
  steps_ = {
      [&] {
        shelf_ = OnTop<ThemeShelf>();
        ASSERT_NE(shelf_, nullptr);
        TapOn(maker_text::kOpen);
      },
      [&] {
        ASSERT_NE(OnTop<ColourMaker>(), nullptr);
        EXPECT_TRUE(Says(Layer(), maker_text::kNoSource));
        EXPECT_FALSE(Says(Layer(), u"柔和 浅色")) << "candidates before a colour is chosen";
        // By keyboard: the swatches take the focus first; the fourth is green.
        for (InputKey key : {InputKey::Right, InputKey::Right, InputKey::Right, InputKey::Enter}) Key(key);
      },
      [&] {
        const std::u16string screen = Layer();
        for (const char16_t* words : {u"色板 105", u"柔和 浅色", u"鲜明 浅色", u"柔和 深色", u"鲜明 深色"}) {
          EXPECT_TRUE(Says(screen, words)) << Utf16ToUtf8(words) << " not in\n" << Utf16ToUtf8(screen);
        }
        EXPECT_TRUE(Says(screen, kPassing));
        // By mouse and typing: a hex colour.
        TapOn(maker_text::kSourceHint);
        host().InjectText("#1B264A");
        Key(InputKey::Enter);
      },
      [&] {
        EXPECT_TRUE(Says(Layer(), u"来源：#1B264A")) << Utf16ToUtf8(Layer());
        // The soft light and the soft dark one pass, as said under them.
        for (const char16_t* title : {u"柔和 浅色", u"柔和 深色"}) {
          const std::optional<Canvas::DrawnText> said = LayerTextNear(shell(), {title, kPassing});
          EXPECT_TRUE(said && said->where.left == LayerTextNear(shell(), {title})->where.left) << Utf16ToUtf8(title);
        }
        // Applying asks the shelf's question first, then is one step.
        TapNear({u"柔和 浅色", maker_text::kApply});
      },
      [&] { Answer(true); },
      [&] {
        EXPECT_EQ(Now(), made[0].values);
        EXPECT_TRUE(Says(Layer(), u"已应用")) << Utf16ToUtf8(Layer());
        Key(InputKey::Z, kCtrl);
      },
      [&] {
        EXPECT_EQ(Now(), ThemeValues()) << "the window's undo acts in the 配色 place";
        EXPECT_TRUE(Says(Layer(), u"已撤销")) << Utf16ToUtf8(Layer());
        // Saved under names made from the source, never over a theme.
        TapNear({u"柔和 深色", maker_text::kApply, maker_text::kSave});
        TapNear({u"柔和 深色", maker_text::kApply, maker_text::kSave});
      },
      [&] {
        EXPECT_EQ(ListSavedThemes(), (std::vector<std::string>{"#1B264A 柔和 深色", "#1B264A 柔和 深色 2"}));
        ThemeValues saved;
        std::string problem;
        ASSERT_TRUE(LoadTheme("#1B264A 柔和 深色", saved, problem)) << problem;
        EXPECT_EQ(saved, made[2].values);
        // A dropped file that is no picture makes nothing; a picture mostly
        // orange gives orange themes.
        std::ofstream(Folder() + "/notes.txt") << "not a picture";
        host().Inject(InputEvent::Drop(Folder() + "/notes.txt"));
      },
      [&] {
        // Said on the source's line under the box, the old source and its
        // candidates gone with it.
        const std::optional<Canvas::DrawnText> said =
            LayerTextNear(shell(), {u"无法读取这张图片“notes.txt”：它不是 PNG 或 JPEG 图片；没有生成主题。"});
        ASSERT_TRUE(said.has_value()) << Utf16ToUtf8(Layer());
        const std::optional<Canvas::DrawnText> box = LayerTextNear(shell(), {u"#1B264A"});
        ASSERT_TRUE(box.has_value());
        EXPECT_LT(said->where.top - box->where.bottom, 30) << "beside the box it is about";
        EXPECT_FALSE(Says(Layer(), u"来源：#1B264A")) << "a stale source stayed";
        EXPECT_FALSE(Says(Layer(), u"柔和 深色")) << "stale candidates stayed";
        ASSERT_TRUE(WriteOrangePicture(picture));
        host().Inject(InputEvent::Drop(picture));
      },
      [&] {
        const std::u16string says = Layer();
        const std::size_t dominant = says.find(u"的主色 #");
        ASSERT_NE(dominant, std::u16string::npos) << Utf16ToUtf8(says);
        const unsigned long hex = std::stoul(Utf16ToUtf8(says.substr(dominant + 5, 6)), nullptr, 16);
        EXPECT_LT(HueDistance(ToLch(RGB(hex >> 16, hex >> 8 & 0xFF, hex & 0xFF)).h, ToLch(RGB(0xF2, 0x80, 0x0D)).h), 10);
        EXPECT_TRUE(Says(says, u"orange.png")) << Utf16ToUtf8(says);
        // Its grey band is offered as another source: a grey theme.
        const std::optional<Canvas::DrawnText> others = LayerTextNear(shell(), {maker_text::kOtherColours});
        ASSERT_TRUE(others.has_value()) << Utf16ToUtf8(says);
        const int y = (others->where.top + others->where.bottom) / 2;
        int x = others->where.right;
        const auto grey = [](std::uint32_t p) {
          const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
          return r > 0x70 && r < 0x90 && std::abs(r - g) < 4 && std::abs(r - b) < 4;
        };
        while (x < host().FrameWidth() && !grey(host().FramePixel(x, y))) ++x;
        Tap(x + 4, y);
      },
      [&] {
        EXPECT_TRUE(Says(Layer(), u"“orange.png”中的颜色 #8")) << Utf16ToUtf8(Layer());
        Key(InputKey::Escape);
      },
      [&] {
        EXPECT_EQ(OnTop<ThemeShelf>(), shelf_) << "Esc goes back to the shelf";
        EXPECT_EQ(Count(shelf_text::kApply), ThemePresets().size() + 2) << "the shelf lists what was saved";
        TapOn(shelf_text::kClose);
      },
  };
  Then([this] { RunSteps(); });
  Pump();
  EXPECT_EQ(OnTop<ThemeShelf>(), nullptr);
}

// A candidate that breaks a rule is saved only after a question that names
// the rule, under the candidate's own name; a click on the phone closes the
// place as it closes the shelf.
TEST_F(StudioThemes, MakerPlaceAsksBeforeSavingABrokenCandidateAndClosesOnAClickOnThePhone) {
  Studio studio(shell(), RegistryPath(), true);
  Pump();
  TapOn(u"主题");
  steps_ = {
      [&] { TapOn(maker_text::kOpen); },
      [&] {
        // A word that is no colour and names no file is called so, as the
        // command line calls it, not a missing picture.
        TapOn(maker_text::kSourceHint);
        host().InjectText("red");
        Key(InputKey::Enter);
      },
      [&] {
        EXPECT_TRUE(Says(Layer(), u"“red”不是 #RRGGBB 形式的颜色，也不是图片的路径。")) << Utf16ToUtf8(Layer());
        EXPECT_FALSE(Says(Layer(), u"找不到这个文件")) << Utf16ToUtf8(Layer());
        Key(InputKey::A, kCtrl);
        host().InjectText("#000000");
        Key(InputKey::Enter);
      },
      [&] {
        // Black's soft dark theme within the swatches has a coloured accent.
        EXPECT_TRUE(Says(Layer(), u"未通过：和谐")) << Utf16ToUtf8(Layer());
        TapNear({u"柔和 深色", maker_text::kApply, maker_text::kSave});
      },
      [&] {
        const std::u16string asked = Layer();
        EXPECT_TRUE(Says(asked, u"“柔和 深色”未通过检查，仍要保存吗？")) << Utf16ToUtf8(asked);
        EXPECT_TRUE(Says(asked, u"它不符合这些规则：和谐。")) << Utf16ToUtf8(asked);
        Answer(false);
      },
      [&] {
        EXPECT_EQ(ListSavedThemes(), std::vector<std::string>{}) << "saved though the answer was no";
        TapNear({u"柔和 深色", maker_text::kApply, maker_text::kSave});
      },
      [&] { Answer(true); },
      [&] {
        EXPECT_EQ(ListSavedThemes(), std::vector<std::string>{"#000000 柔和 深色"});
        EXPECT_TRUE(Says(Layer(), u"已保存为主题“#000000 柔和 深色”。")) << Utf16ToUtf8(Layer());
        Tap(200, 400);  // on the phone
      },
      [&] { EXPECT_EQ(OnTop<ColourMaker>(), nullptr) << "a click on the phone left the 配色 place open"; },
  };
  Then([this] { RunSteps(); });
  Pump();
}

// A picture whose main colour (a brown, within the swatches) gives no theme:
// the place names its next colour that does (a green), taken with one key.
TEST_F(StudioThemes, MakerPlaceOffersAPicturesNextColourWhenItsMainOneGivesNoTheme) {
  const std::string picture = Folder() + "/brown.png";
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 60, 40);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0xC6 / 255.0, 0x86 / 255.0, 0x42 / 255.0);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0x2E / 255.0, 0x8B / 255.0, 0x57 / 255.0);
  cairo_rectangle(cr, 0, 28, 60, 12);
  cairo_fill(cr);
  cairo_destroy(cr);
  ASSERT_EQ(cairo_surface_write_to_png(surface, picture.c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(surface);
  Studio studio(shell(), RegistryPath(), true);
  Pump();
  TapOn(u"主题");
  steps_ = {
      [&] { host().Inject(InputEvent::Drop(picture)); },
      [&] {
        ASSERT_NE(OnTop<ColourMaker>(), nullptr);
        const std::u16string says = Layer();
        EXPECT_FALSE(Says(says, u"各项检查都通过")) << Utf16ToUtf8(says);
        EXPECT_TRUE(Says(says, u"图片“brown.png”的主色 #C68642 做不出通过检查的主题；其中的 #2E8B57 可以。"))
            << Utf16ToUtf8(says);
        EXPECT_TRUE(Says(says, u"改用 #2E8B57")) << Utf16ToUtf8(says);
        Key(InputKey::Enter);  // the offer holds the focus
      },
      [&] {
        const std::u16string says = Layer();
        EXPECT_TRUE(Says(says, u"来源：图片“brown.png”中的颜色 #2E8B57")) << Utf16ToUtf8(says);
        EXPECT_TRUE(Says(says, u"各项检查都通过")) << Utf16ToUtf8(says);
        Key(InputKey::Escape);
      },
      [&] { TapOn(shelf_text::kClose); },
  };
  Then([this] { RunSteps(); });
  Pump();
  EXPECT_EQ(OnTop<ThemeShelf>(), nullptr);
}

TEST_F(StudioThemes, APictureDroppedOpenedWithOrTypedOpensTheMakerPlaceOnItAndWritesNothing) {
  const std::string picture = Folder() + "/sunset.png";
  ASSERT_TRUE(WriteOrangePicture(picture));
  const std::string registry = Bytes(RegistryPath());
  const auto made_from_picture = [&](const char* how) {
    ASSERT_NE(OnTop<ColourMaker>(), nullptr) << how;
    const std::u16string screen = Screen();
    EXPECT_TRUE(Says(screen, u"sunset.png") && Says(screen, u"鲜明 深色")) << how << "\n" << Utf16ToUtf8(screen);
    EXPECT_EQ(Bytes(RegistryPath()), registry) << how;
    Key(InputKey::Escape);
  };
  // Opened with it (no question whether to import), dropped on the shelf and
  // on the preview, its path typed (as a file manager copies it).
  Studio studio(shell(), RegistryPath(), false);
  studio.AskBeforeImporting(picture);
  host().Inject(InputEvent::Drop(picture));
  const auto drop = [&] { host().Inject(InputEvent::Drop(picture)); };
  steps_ = {[&] { made_from_picture("opened with"); }, drop, [&] { made_from_picture("dropped on the shelf"); },
            [&] { Key(InputKey::Escape); }, drop, [&] { made_from_picture("dropped on the preview"); },
            [&] { TapOn(maker_text::kOpen); },
            [&] {
              TapOn(maker_text::kSourceHint);
              host().InjectText(" file://" + Folder() + "/sun%73et.png ");
              Key(InputKey::Enter);
            },
            [&] { made_from_picture("typed"); },
            [&] { TapOn(maker_text::kOpen); },
            [&] {
              // Relative: from the folder the program started in.
              TapOn(maker_text::kSourceHint);
              host().InjectText("../" + std::filesystem::path(Folder()).filename().string() + "/sunset.png");
              Key(InputKey::Enter);
            },
            [&] { made_from_picture("typed relative"); }, [&] { Key(InputKey::Escape); }};
  const std::filesystem::path started = std::filesystem::current_path();
  std::filesystem::current_path(Folder());
  Then([this] { RunSteps(); });
  Pump();
  std::filesystem::current_path(started);
  EXPECT_EQ(OnTop<ThemeShelf>(), nullptr);
  EXPECT_EQ(Bytes(RegistryPath()), registry);
}

// An undo the disk does not take is said in the window wholly in Chinese;
// the reason, in English, goes to standard error.
TEST_F(StudioThemes, AStepThatCannotBeWrittenIsSaidInChineseWithItsReasonOnStandardError) {
  Studio studio(shell(), RegistryPath(), true);
  const ThemeTarget& bg = kThemeTargets[kBackground];
  Pump();
  ASSERT_TRUE(WriteRegistryDword(bg.key, bg.value_name, 0x00112233u));
  Wait(1);  // the watch sees the write and the studio records it
  Pump();
  const std::string before = Bytes(RegistryPath());
  const SystemCalls system = FileSystemCalls();
  FileSystemCalls().write = [](int, const void*, size_t) { return errno = ENOSPC, ssize_t{-1}; };
  testing::internal::CaptureStderr();
  Key(InputKey::Z, kCtrl);
  Pump();
  FileSystemCalls() = system;
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Bytes(RegistryPath()), before);
  const std::u16string screen = Screen();
  EXPECT_TRUE(Says(screen, u"\n撤销失败，注册表未改动。\n")) << Utf16ToUtf8(screen);
  EXPECT_FALSE(Says(screen, u"No space")) << Utf16ToUtf8(screen);
  EXPECT_NE(said.find("tintor: undo failed: "), std::string::npos) << said;
  EXPECT_NE(said.find("No space left on device"), std::string::npos) << said;
}

// `tintor FILE`: the file is read before the question, which is asked only
// of a file that can be imported, saying how much it holds; any other file
// is refused at once with its reason, nothing asked and nothing written.
TEST_F(StudioThemes, TheFileTheWindowOpensWithIsReadBeforeAnythingIsAsked) {
  const std::string theme = Folder() + "/two.reg", text = Folder() + "/notes.txt", none = Folder() + "/none.reg";
  std::ofstream(theme, std::ios::binary) << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors]\r\n"
                                            "\"SYSCLR_WINDOW_BG\"=dword:00203040\r\n\"SYSCLR_WINDOW_TEXT\"=dword:00010203\r\n";
  std::ofstream(text, std::ios::binary) << "shopping: bread, milk\n";
  const std::string registry = Bytes(RegistryPath());
  for (const std::string& file : {text, none}) {
    Studio studio(shell(), RegistryPath(), false);
    studio.AskBeforeImporting(file);
    host().Inject(InputEvent::Drop(file));
    Pump();
    EXPECT_EQ(OnTop<ConfirmationSheet>(), nullptr) << file << ": asked";
    EXPECT_TRUE(Says(Screen(), u"未导入")) << Utf16ToUtf8(Screen());
    EXPECT_EQ(Bytes(RegistryPath()), registry);
  }
  Studio studio(shell(), RegistryPath(), false);
  studio.AskBeforeImporting(theme);
  host().Inject(InputEvent::Drop(theme));
  Then([&] {
    ASSERT_NE(OnTop<ConfirmationSheet>(), nullptr);
    EXPECT_TRUE(Says(Layer(), u"它有 2 项主题颜色，没有别的内容；导入后可用 Ctrl+Z 撤销。")) << Utf16ToUtf8(Layer());
    TapOn(u"确定");
  });
  Pump();
  EXPECT_EQ(Now().items[kBackground], 0x00203040u);
}

TEST_F(StudioThemes, AHistoryThatCannotBeWrittenIsSaidWhileItLasts) {
  Studio studio(shell(), RegistryPath(), true);
  const ThemeTarget& bg = kThemeTargets[kBackground];
  Pump();
  const auto change = [&](DWORD colour, bool disk_full) {
    ASSERT_TRUE(WriteRegistryDword(bg.key, bg.value_name, colour));
    const SystemCalls system = FileSystemCalls();
    if (disk_full) FileSystemCalls().write = [](int, const void*, size_t) { return errno = ENOSPC, ssize_t{-1}; };
    Wait(1);  // the watch sees the write and the studio records it, or cannot
    Pump();
    FileSystemCalls() = system;
  };
  EXPECT_FALSE(Says(Screen(), u"撤销记录写不进"));
  change(0x00112233u, true);
  EXPECT_TRUE(Says(Screen(), u"撤销记录写不进")) << Utf16ToUtf8(Screen());
  change(0x00445566u, false);
  EXPECT_FALSE(Says(Screen(), u"撤销记录写不进")) << "the notice stays once the history is written again";
  Key(InputKey::Z, kCtrl);
  Pump();
  EXPECT_NE(Now().items[kBackground], 0x00445566u) << "the change after is a step again";
}

// The shelf follows the themes folder: a theme another program saves shows,
// one it deletes goes; one that goes while its question is open is said to
// be gone, wholly in Chinese, and nothing is written. A save that fails says
// so in Chinese too; the details go to standard error.
TEST_F(StudioThemes, ShelfFollowsTheThemesFolderAndSaysAThemeIsGone) {
  std::string problem;
  ASSERT_TRUE(SaveTheme("第十", ThemePresets()[1].values, problem)) << problem;
  ASSERT_TRUE(SaveTheme("留下", ThemePresets()[2].values, problem)) << problem;
  Studio studio(shell(), RegistryPath(), true);
  Pump();
  const std::size_t presets = ThemePresets().size();
  std::string before;
  // The theme `name` deleted by another process while its question is open, then 确定.
  const auto deleted_while_asked = [&](const char* name) {
    ASSERT_NE(OnTop<ConfirmationSheet>(), nullptr);
    InAnotherProcess([name] {
      std::string p;
      if (!DeleteTheme(name, p)) ::_exit(1);
    });
    Answer(true);
  };
  TapOn(u"主题");
  steps_ = {
      [&] {
        ASSERT_NE(OnTop<ThemeShelf>(), nullptr);
        EXPECT_EQ(Count(shelf_text::kApply), presets + 2);
        // Another process's save or delete, as `tintor --save-theme` from a shell.
        InAnotherProcess([] {
          std::string p;
          if (!SaveTheme("外部新存", ThemePresets()[2].values, p) || !DeleteTheme("第十", p)) ::_exit(1);
        });
      },
      [&] {
        EXPECT_EQ(Count(u"外部新存"), 1u) << Utf16ToUtf8(Layer());
        EXPECT_EQ(Count(u"第十"), 0u) << Utf16ToUtf8(Layer());
        EXPECT_EQ(Count(shelf_text::kApply), presets + 2);
        before = Bytes(RegistryPath());
        TapNear({u"外部新存", shelf_text::kApply});
      },
      [&] { deleted_while_asked("外部新存"); },
      [&] {
        EXPECT_EQ(Bytes(RegistryPath()), before) << "a theme that is gone was applied";
        EXPECT_EQ(Count(shelf_text::Gone(u"外部新存")), 1u) << Utf16ToUtf8(Layer());
        EXPECT_EQ(Count(u"外部新存"), 0u) << "the list is not read again";
        TapNear({u"留下", shelf_text::kDelete});
      },
      [&] { deleted_while_asked("留下"); },
      [&] {
        EXPECT_EQ(Count(shelf_text::Gone(u"留下")), 1u) << Utf16ToUtf8(Layer());
        EXPECT_EQ(Count(shelf_text::kApply), presets);
        // A folder where the theme's file would go: nothing is written.
        std::filesystem::create_directories(ThemesFolder() + "/冲突.reg");
        testing::internal::CaptureStderr();
        TapField();
        host().InjectText("冲突");
        Key(InputKey::Enter);
      },
      // It is listed as a theme that cannot be read; saving over it asks first.
      [&] { Answer(true); },
      [&] {
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "tintor: cannot write " + ThemesFolder() + "/冲突.reg (it is a folder; nothing is written)\n");
        EXPECT_EQ(Count(shelf_text::SaveFailed(u"冲突")), 1u) << Utf16ToUtf8(Layer());
        TapOn(shelf_text::kClose);
      },
  };
  Then([this] { RunSteps(); });
  Pump();
  EXPECT_EQ(OnTop<ThemeShelf>(), nullptr);
}

}  // namespace
