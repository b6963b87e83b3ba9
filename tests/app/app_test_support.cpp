#include "tests/app/app_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/file/utf16.h"
#include "platform/ui/message_box_panel.h"
#include "platform/ui/popup_menu_sheet.h"
#include "platform/win/reg_file_format.h"
#include "platform/win/registry_hive.h"

namespace {

constexpr int kLocalMachineRoot = 2;  // HKEY_LOCAL_MACHINE's index among the roots

RegistryPath SplitPath(const std::u16string& key) {
  RegistryPath path;
  std::u16string part;
  for (char16_t c : key) {
    if (c == u'\\') {
      if (!part.empty()) path.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) path.push_back(part);
  return path;
}

bool ParseFile(const std::string& bytes, RegistryHive& hive) {
  std::string error;
  return ParseRegFile(bytes.data(), bytes.size(), &hive, &error);
}

std::size_t CountValues(const RegistryKey& key) {
  std::size_t n = key.values.size();
  for (const RegistryKey& sub : key.subkeys) n += CountValues(sub);
  return n;
}

// The help window while it runs modally: the live window other than the main
// window. Handles are handed out in increasing steps, so the window made
// after the main window is found by looking at the handles that follow it.
HelpWnd* FindLiveHelpWindow(HWND main_handle) {
  const auto first = reinterpret_cast<std::uintptr_t>(main_handle);
  for (std::uintptr_t h = first + 1; h < first + 4096; ++h) {
    if (auto* help = dynamic_cast<HelpWnd*>(CMzWnd::FromHandle(reinterpret_cast<HWND>(h)))) {
      return help;
    }
  }
  return nullptr;
}

}  // namespace

std::string Utf8(const std::u16string& text) { return Utf16ToUtf8(text); }

void ExpectBounds(const UiWin& e, int x, int y, int w, int h, int line) {
  SCOPED_TRACE("checked at line " + std::to_string(line));
  EXPECT_EQ(e.GetPosX(), x);
  EXPECT_EQ(e.GetPosY(), y);
  EXPECT_EQ(e.GetWidth(), w);
  EXPECT_EQ(e.GetHeight(), h);
}

void AppTest::SetUp() {
  HeadlessShellTest::SetUp();
  host().SetIdleCallback([this] { OnIdle(); });
}

void AppTest::TearDown() {
  main_.reset();
  HeadlessShellTest::TearDown();
}

CTintorMainWnd& AppTest::OpenMainWindow(const RECT& rect) {
  main_ = std::make_unique<CTintorMainWnd>();
  main_->Create(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, 0,
                0, 0);
  main_->Show(true, true);
  Pump();
  return *main_;
}

void AppTest::Notify(WPARAM wParam, LPARAM lParam) {
  shell().PostMessage(main_->m_hWnd, WM_COMMAND, wParam, lParam);
  Pump();
}

void AppTest::OnIdle() {
  ShellLayer* top = shell().TopLayer();
  if (auto* sheet = dynamic_cast<PopupMenuSheet*>(top)) {
    ++log_.menus;
    log_.menu_rows.push_back(sheet->List().GetChildren().size());
    int answer = kMenuDismiss;
    if (!menu_answers_.empty()) {
      answer = menu_answers_.front();
      menu_answers_.pop_front();
    }
    if (answer == kMenuDismiss) {
      const RECT cancel = sheet->CancelRect();
      switch (dismiss_) {
        case Dismiss::Escape:
          host().InjectKey(InputKey::Escape);
          break;
        case Dismiss::CancelButton:
          host().InjectTap((cancel.left + cancel.right) / 2, (cancel.top + cancel.bottom) / 2);
          break;
        case Dismiss::TapOutside:
          host().InjectTap(240, sheet->SheetTop() / 2);
          break;
      }
      return;
    }
    // Move the highlight straight through the sheet's input (no frame drawn
    // for each step), then choose with Enter through the host.
    for (int i = 0; i <= answer; ++i) shell().DeliverInput(InputEvent::Key(InputKey::Down));
    host().InjectKey(InputKey::Enter);
    return;
  }
  if (auto* box = dynamic_cast<MessageBoxPanel*>(top)) {
    log_.boxes.push_back({box->Text(), box->Caption()});
    host().InjectKey(InputKey::Enter);
    return;
  }
  if (main_ != nullptr && shell().LoopDepth() > 1) {
    if (HelpWnd* help = FindLiveHelpWindow(main_->m_hWnd)) {
      ++log_.help_windows;
      log_.help_class = help->GetWndClassName();
      log_.help_rect = help->GetWindowRect();
      log_.help_parent = help->GetParentWnd();
      log_.help_style = help->GetStyle();
      log_.help_show_animation = help->GetAnimateType_Show();
      log_.help_hide_animation = help->GetAnimateType_Hide();
      log_.help_modal = help->IsModal();
      // The "返回" button: the toolbar's left button.
      const RECT r = help->GetWindowRect();
      host().InjectTap(r.left + 60, r.bottom - HelpWnd::kToolbarHeight / 2);
    }
  }
}

std::string AppTest::RegistryBytes() const {
  std::ifstream in(RegistryPath(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void AppTest::SetRegistryBytes(const std::string& bytes) const {
  std::ofstream out(RegistryPath(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool AppTest::LoadFileHive(RegistryHive& hive) const { return ParseFile(RegistryBytes(), hive); }

FileDword AppTest::ReadFileValue(const char16_t* key, const char16_t* name) const {
  RegistryHive hive;
  if (!LoadFileHive(hive)) {
    ADD_FAILURE() << "the registry file cannot be parsed";
    return FileDword{};
  }
  return FindValue(hive, key, name);
}

FileDword AppTest::FindValue(const RegistryHive& hive, const char16_t* key, const char16_t* name) {
  FileDword result;
  const RegistryKey* k = hive.Find(kLocalMachineRoot, SplitPath(key));
  if (k == nullptr) return result;
  const RegistryValue* v = k->FindValue(name);
  if (v == nullptr) return result;
  result.present = true;
  result.type = v->type;
  result.data.assign(v->data.begin(), v->data.end());
  return result;
}

std::size_t AppTest::FileValueCount() const {
  RegistryHive hive;
  if (!ParseFile(RegistryBytes(), hive)) return 0;
  std::size_t n = 0;
  for (int root = 0; root < RegistryHive::kRootCount; ++root) n += CountValues(hive.Root(root));
  return n;
}

POINT AppTest::SwatchCentre(std::size_t k) const {
  const UiScrollWin& pane = main_->SwatchPane();
  const UiButton_Image& b = main_->SwatchButton(k);
  const RECT w = main_->GetWindowRect();
  return POINT{w.left + pane.GetPosX() + b.GetPosX() + b.GetWidth() / 2,
               w.top + pane.GetPosY() + b.GetPosY() - pane.GetScrollY() + b.GetHeight() / 2};
}
