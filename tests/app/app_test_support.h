// Helpers for the application's tests: a main window on a headless shell, a
// responder that answers the modal menus, boxes and the help window as a user
// would, and a reader of the registry file.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/help_wnd.h"
#include "app/tintor_main_wnd.h"
#include "platform/win/registry_hive.h"
#include "tests/support/headless_shell_test.h"

// What the user saw of the modal runs during one action.
struct ModalLog {
  struct Box {
    std::u16string text;
    std::u16string caption;
  };
  int menus = 0;
  std::vector<std::size_t> menu_rows;  // rows of each menu shown
  std::vector<Box> boxes;
  int help_windows = 0;
  // Of the last help window seen: its class name, rectangle, parent, style,
  // animations and whether it ran modally.
  std::u16string help_class;
  RECT help_rect{};
  HWND help_parent = nullptr;
  DWORD help_style = 0;
  int help_show_animation = -1;
  int help_hide_animation = -1;
  bool help_modal = false;
};

// The value of a REG_DWORD in the registry file, read from the file itself.
struct FileDword {
  bool present = false;
  DWORD type = 0;
  std::vector<unsigned char> data;
};

class AppTest : public HeadlessShellTest {
 protected:
  static constexpr int kMenuDismiss = -1;

  void SetUp() override;
  void TearDown() override;

  // Creates the main window at `rect` (the work area by default) and shows it.
  CTintorMainWnd& OpenMainWindow(const RECT& rect = Shell::WorkArea());
  CTintorMainWnd& main() { return *main_; }
  void CloseMainWindow() { main_.reset(); }

  // How the next menus are answered, in order: the index of the item to
  // choose (0 to 19), or kMenuDismiss. With none left, a menu is dismissed.
  void AnswerMenus(std::vector<int> choices) { menu_answers_.assign(choices.begin(), choices.end()); }
  // How a menu is dismissed: Escape (default), a tap on its cancel button or
  // a tap outside the sheet.
  enum class Dismiss { Escape, CancelButton, TapOutside };
  void DismissMenusBy(Dismiss how) { dismiss_ = how; }

  // Sends a control notification to the main window through the queue and
  // runs until every modal run it opened was answered.
  void Notify(WPARAM wParam, LPARAM lParam);
  const ModalLog& log() const { return log_; }
  void ClearLog() { log_ = ModalLog{}; }

  // Bytes of the registry file; empty when there is none.
  std::string RegistryBytes() const;
  void SetRegistryBytes(const std::string& bytes) const;
  // A value as the registry file holds it under HKEY_LOCAL_MACHINE.
  FileDword ReadFileValue(const char16_t* key, const char16_t* name) const;
  // The file's content; false when it cannot be parsed.
  bool LoadFileHive(RegistryHive& hive) const;
  static FileDword FindValue(const RegistryHive& hive, const char16_t* key, const char16_t* name);
  // How many values the file holds in all.
  std::size_t FileValueCount() const;

  // The screen centre of the k-th swatch button as the pane shows it now.
  POINT SwatchCentre(std::size_t k) const;

 private:
  void OnIdle();

  std::unique_ptr<CTintorMainWnd> main_;
  std::deque<int> menu_answers_;
  Dismiss dismiss_ = Dismiss::Escape;
  ModalLog log_;
};

std::string Utf8(const std::u16string& text);

// Checks an element's bounds in its container's coordinates; `line` is the caller's __LINE__.
void ExpectBounds(const UiWin& e, int x, int y, int w, int h, int line);
