// A storm of 10,000 random taps, drags, wheel turns and keys (plus wild taps
// off the screen and lone finger events) against a stack of windows whose
// buttons open popup menus, message boxes and further modal windows. Nothing
// may crash or trip the sanitizers, every run must return to its caller, and
// the input must really have reached the windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/platform/proof_screen.h"

namespace {

constexpr int kActions = 10000;
constexpr int kBatch = 25;
constexpr int kLevels = 4;  // the main window and up to three modal windows over it
constexpr unsigned kDefaultSeed = 20261207;

unsigned StormSeed() {
  const char* s = std::getenv("TINTOR_STORM_SEED");
  if (s != nullptr && *s != '\0') return static_cast<unsigned>(std::strtoul(s, nullptr, 10));
  return kDefaultSeed;
}

class Storm;

// A window of the storm. Its buttons and toolbar open menus, boxes and
// windows (see Storm::Command); Esc or the toolbar's left button ends a
// modal one, with -1 and its level as the result.
class StormWnd : public ProofScreen {
 public:
  StormWnd(Storm& storm, int level) : storm_(storm), level_(level) {}
  int level() const { return level_; }
  LRESULT MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE && IsModal()) EndModal(-1);
    return ProofScreen::MzDefWndProc(message, wParam, lParam);
  }
  void OnControlCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  Storm& storm_;
  int level_;
};

struct StormCounts {
  int commands_at_level[kLevels] = {};
  int button_commands = 0;
  int toolbar_commands[3] = {};
  int menus_opened = 0, menus_closed = 0, menu_choices = 0;
  int boxes_opened = 0, boxes_closed = 0;
  int windows_opened = 0, windows_closed = 0, windows_refused = 0;
  int deepest_open = 0;
  int deepest_loop = 0;
  int most_scrolled = 0;
  int taps = 0, wild_taps = 0, drags = 0, wheels = 0, keys = 0, lone = 0, waits = 0;
  int drain_keys = 0;
};

class Storm {
 public:
  Storm(HeadlessPhone& phone, unsigned seed) : phone_(phone), random_(seed) {}

  StormCounts counts;
  std::vector<std::string> faults;

  void Push(StormWnd* wnd) { windows_.push_back(wnd); }
  void Pop() { windows_.pop_back(); }
  int Open() const { return open_; }
  // Over once every action was injected and used, every run closed and every
  // notification the last actions posted delivered.
  bool Finished() const {
    return actions_ == kActions && open_ == 0 && !phone_.host().HasPendingInput() &&
           phone_.shell().PendingMessages() == 0;
  }
  int ActionsInjected() const { return actions_; }

  // What the storm windows do with their notifications.
  void Command(StormWnd& wnd, WPARAM wParam, LPARAM lParam) {
    ++counts.commands_at_level[wnd.level()];
    const int id = LOWORD(wParam);
    if (&wnd != windows_.back()) Fault("a command reached a window under the top one");
    if (id == ProofScreen::kToolbarId) {
      if (lParam < 0 || lParam > 2) {
        Fault("toolbar button index " + std::to_string(lParam));
        return;
      }
      ++counts.toolbar_commands[lParam];
      if (lParam == 0) {
        if (wnd.IsModal()) {
          wnd.EndModal(wnd.level());
        } else {
          OpenMenu(wnd, 8);
        }
      } else if (lParam == 1) {
        OpenBox(wnd, 4);
      } else {
        OpenWindow(wnd);
      }
      return;
    }
    const int index = id - ProofScreen::kFirstButtonId;
    if (index < 0 || index >= ProofScreen::kButtons || lParam != 0) {
      Fault("unexpected notification id " + std::to_string(id) + " lParam " +
            std::to_string(lParam));
      return;
    }
    ++counts.button_commands;
    switch (index % 6) {
      case 0:
        OpenMenu(wnd, 3 + index % 23);
        break;
      case 1:
        OpenBox(wnd, 1 + index % 9);
        break;
      case 2:
        OpenWindow(wnd);
        break;
      case 3:
        wnd.Button(index).SwapImageZOrder(!wnd.Button(index).IsImageZOrderSwapped());
        break;
      case 4: {
        UiButton_Image& next = wnd.Button((index + 1) % ProofScreen::kButtons);
        next.SetVisible(!next.IsVisible());
        break;
      }
      default:
        break;
    }
  }

  // The host ran out of input: check the stack, then feed the next batch, or
  // once the storm is over, Esc until everything is closed again.
  void Feed() {
    CheckStack();
    if (actions_ < kActions) {
      for (int i = 0; i < kBatch && actions_ < kActions; ++i) InjectAction();
    } else if (open_ > 0 && counts.drain_keys < 1000) {
      ++counts.drain_keys;
      phone_.host().InjectKey(InputKey::Escape);
    }
  }

 private:
  void Fault(const std::string& what) {
    if (faults.size() < 20) faults.push_back(what);
  }

  // Something modal is about to run: it must nest exactly one loop deeper.
  void Enter() {
    if (phone_.shell().LoopDepth() != 1 + open_) {
      Fault("loop depth " + std::to_string(phone_.shell().LoopDepth()) + " with " +
            std::to_string(open_) + " runs open");
    }
    ++open_;
    counts.deepest_open = std::max(counts.deepest_open, open_);
  }
  void Leave() {
    --open_;
    if (phone_.shell().LoopDepth() != 1 + open_) Fault("a run did not return to its caller");
  }

  void CheckStack() {
    Shell& shell = phone_.shell();
    counts.deepest_loop = std::max(counts.deepest_loop, shell.LoopDepth());
    if (shell.LoopDepth() != 1 + open_) {
      Fault("idle at loop depth " + std::to_string(shell.LoopDepth()) + " with " +
            std::to_string(open_) + " runs open");
    }
    if (static_cast<int>(shell.LayerCount()) != 1 + open_) {
      Fault(std::to_string(shell.LayerCount()) + " layers with " + std::to_string(open_) +
            " runs open");
    }
    for (StormWnd* w : windows_) {
      const int y = w->Pane().GetScrollY();
      counts.most_scrolled = std::max(counts.most_scrolled, y);
      if (y < 0 || y > w->Pane().GetMaxScrollY()) {
        Fault("pane scrolled to " + std::to_string(y) + " of " +
              std::to_string(w->Pane().GetMaxScrollY()));
      }
    }
  }

  void OpenMenu(StormWnd& wnd, int items) {
    MzPopupMenu menu;
    menu.SetMenuTitle(u"选择颜色", NewTitleImage());
    std::set<int> choosable;
    for (int i = 0; i < items; ++i) {
      const UINT id = 100 + i;
      const UINT flags = i % 7 == 3 ? MF_GRAYED : (i % 7 == 5 ? MF_SEPARATOR : 0);
      const std::u16string text = u"菜单项 " + std::u16string(1, static_cast<char16_t>(u'A' + i));
      menu.AppendMenuItem(id, text.c_str(), flags);
      if (flags == 0) choosable.insert(static_cast<int>(id));
    }
    ++counts.menus_opened;
    Enter();
    const int result = menu.MzTrackPopupMenu(wnd.m_hWnd);
    Leave();
    ++counts.menus_closed;
    if (result == 0) return;
    if (choosable.count(result) == 0) {
      Fault("the menu returned " + std::to_string(result) + ", not one of its items");
      return;
    }
    ++counts.menu_choices;
    if (result % 4 == 0) OpenBox(wnd, 2);
    if (result % 4 == 1) OpenWindow(wnd);
  }

  void OpenBox(StormWnd& wnd, int lines) {
    std::u16string text;
    for (int i = 0; i < lines; ++i) text += (i ? u"\n" : u"") + std::u16string(u"第几行的文字");
    ++counts.boxes_opened;
    Enter();
    const int result = MzMessageBoxEx(wnd.m_hWnd, text.c_str(), u"提示", MZ_OK, lines % 2);
    Leave();
    ++counts.boxes_closed;
    if (result != IDOK) Fault("the message box returned " + std::to_string(result));
  }

  void OpenWindow(StormWnd& parent) {
    if (parent.level() + 1 >= kLevels) {
      ++counts.windows_refused;
      return;
    }
    StormWnd child(*this, parent.level() + 1);
    const int inset = 12 * child.level();
    if (!child.Create(inset, Shell::kStatusBarHeight + inset, Shell::kScreenWidth - 2 * inset,
                      Shell::kScreenHeight - Shell::kStatusBarHeight - 2 * inset, parent.m_hWnd,
                      0, WS_POPUP)) {
      Fault("a modal window could not be made");
      return;
    }
    child.SetAnimateType_Show(MZ_ANIMTYPE_SCROLL_BOTTOM_TO_TOP);
    child.SetAnimateType_Hide(MZ_ANIMTYPE_SCROLL_TOP_TO_BOTTOM);
    ++counts.windows_opened;
    Push(&child);
    Enter();
    const int result = child.DoModal();
    Leave();
    Pop();
    ++counts.windows_closed;
    if (result != -1 && result != child.level()) {
      Fault("a modal window returned " + std::to_string(result));
    }
  }

  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
  int ScreenX() { return Uniform(0, Shell::kScreenWidth - 1); }
  int ScreenY() { return Uniform(0, Shell::kScreenHeight - 1); }

  void InjectAction() {
    HeadlessHost& host = phone_.host();
    const int kind = Uniform(0, 99);
    if (kind < 40) {
      ++counts.taps;
      host.InjectTap(ScreenX(), ScreenY());
    } else if (kind < 45) {
      ++counts.wild_taps;
      host.InjectTap(Uniform(-3000, 3000), Uniform(-3000, 3000));
    } else if (kind < 65) {
      ++counts.drags;
      const int x = ScreenX();
      const int y = ScreenY();
      host.InjectDrag(x, y, x + Uniform(-120, 120), y + Uniform(-600, 600), Uniform(0, 400));
    } else if (kind < 75) {
      ++counts.wheels;
      host.InjectWheel(ScreenX(), ScreenY(), Uniform(-3, 3));
    } else if (kind < 92) {
      ++counts.keys;
      static constexpr InputKey kKeys[] = {InputKey::Escape, InputKey::Enter, InputKey::Up,
                                           InputKey::Down};
      host.InjectKey(kKeys[Uniform(0, 3)]);
    } else {
      // A finger event on its own: a press never released, a move or a
      // release without a press (a host can deliver these around a modal run).
      ++counts.lone;
      const int which = Uniform(0, 2);
      const int x = Uniform(-50, 530);
      const int y = Uniform(-50, 770);
      host.Inject(which == 0   ? InputEvent::Press(x, y)
                  : which == 1 ? InputEvent::Move(x, y)
                               : InputEvent::Release(x, y));
    }
    if (Uniform(0, 19) == 0) {
      ++counts.waits;
      host.InjectWait(Uniform(1, 900));
    }
    ++actions_;
  }

  HeadlessPhone& phone_;
  std::mt19937 random_;
  std::vector<StormWnd*> windows_;
  int open_ = 0;
  int actions_ = 0;
};

void StormWnd::OnControlCommand(WPARAM wParam, LPARAM lParam) {
  storm_.Command(*this, wParam, lParam);
}

// The screen below the status bar, as 0x00RRGGBB rows.
std::vector<std::uint32_t> WorkAreaPixels(const Shell& shell) {
  std::vector<std::uint32_t> out;
  for (int y = Shell::kStatusBarHeight; y < Shell::kScreenHeight; ++y) {
    for (int x = 0; x < Shell::kScreenWidth; ++x) out.push_back(shell.PixelAt(x, y));
  }
  return out;
}

std::string Describe(const StormCounts& c) {
  std::ostringstream out;
  out << "  injected: " << c.taps << " taps, " << c.wild_taps << " wild taps, " << c.drags
      << " drags, " << c.wheels << " wheel turns, " << c.keys << " keys, " << c.lone
      << " lone finger events, " << c.waits << " waits\n"
      << "  notifications by level:";
  for (int n : c.commands_at_level) out << ' ' << n;
  out << "; buttons " << c.button_commands << ", toolbar " << c.toolbar_commands[0] << '/'
      << c.toolbar_commands[1] << '/' << c.toolbar_commands[2] << "\n"
      << "  menus " << c.menus_opened << " opened, " << c.menus_closed << " closed, "
      << c.menu_choices << " chosen; boxes " << c.boxes_opened << '/' << c.boxes_closed
      << "; windows " << c.windows_opened << '/' << c.windows_closed << " (" << c.windows_refused
      << " refused)\n"
      << "  deepest: " << c.deepest_open << " runs open, loop depth " << c.deepest_loop
      << "; most scrolled " << c.most_scrolled << " px; Esc to close at the end: "
      << c.drain_keys << "\n";
  return out.str();
}

}  // namespace

TEST(Storm, TenThousandRandomActionsAgainstWindowsMenusAndBoxes) {
  const unsigned seed = StormSeed();
  std::cout << "storm seed " << seed << " (set TINTOR_STORM_SEED to repeat another)\n";
  HeadlessPhone phone;
  ASSERT_TRUE(phone.ok());
  Storm storm(phone, seed);
  StormWnd main(storm, 0);
  ASSERT_TRUE(main.CreateOverWorkArea());
  storm.Push(&main);
  phone.host().SetIdleCallback([&storm] { storm.Feed(); });

  const bool finished = phone.shell().RunLoop([&storm] { return storm.Finished(); });

  const StormCounts& c = storm.counts;
  std::cout << Describe(c);
  EXPECT_TRUE(finished) << "the storm's loop ended by a quit message";
  EXPECT_FALSE(phone.shell().QuitRequested());
  EXPECT_EQ(storm.ActionsInjected(), kActions);
  EXPECT_FALSE(phone.host().HasPendingInput());
  for (const std::string& f : storm.faults) ADD_FAILURE() << f;

  // Back where it started: one window, no loop, nothing queued.
  EXPECT_EQ(phone.shell().LoopDepth(), 0);
  EXPECT_EQ(phone.shell().LayerCount(), 1u);
  EXPECT_NE(phone.shell().TopLayer(), nullptr);
  EXPECT_EQ(storm.Open(), 0);
  EXPECT_EQ(phone.shell().PendingMessages(), 0u);

  // The input really reached the windows, menus and boxes.
  EXPECT_GT(c.commands_at_level[0], 0);
  EXPECT_GT(c.commands_at_level[1], 0);
  EXPECT_GT(c.button_commands, 0);
  EXPECT_GT(c.toolbar_commands[0] + c.toolbar_commands[1] + c.toolbar_commands[2], 0);
  EXPECT_GT(c.menus_opened, 0);
  EXPECT_EQ(c.menus_opened, c.menus_closed);
  EXPECT_GT(c.menu_choices, 0);
  EXPECT_GT(c.boxes_opened, 0);
  EXPECT_EQ(c.boxes_opened, c.boxes_closed);
  EXPECT_GT(c.windows_opened, 0);
  EXPECT_EQ(c.windows_opened, c.windows_closed);
  EXPECT_GE(c.deepest_open, 3) << "runs never nested three deep";
  EXPECT_GT(c.most_scrolled, 0) << "no pane was ever scrolled";

  // Lift a finger a lone press may have left down, let the pane come to rest,
  // and put it back at the top with every button shown: the window must then
  // draw exactly as a fresh one does (no clip, offset or state left behind).
  Shell& shell = phone.shell();
  phone.host().SetIdleCallback(nullptr);
  shell.DeliverInput(InputEvent::Release(-100, -100));
  shell.RunLoop([&shell] { return !shell.IsAnimating(); });
  for (int i = 0; i < ProofScreen::kButtons; ++i) main.Button(i).SetVisible(true);
  main.Pane().ScrollTo(0);
  shell.RenderFrame();
  const std::vector<std::uint32_t> after = WorkAreaPixels(shell);
  std::vector<std::uint32_t> fresh;
  {
    HeadlessPhone other;
    ProofScreen screen;
    ASSERT_TRUE(screen.CreateOverWorkArea());
    other.shell().RenderFrame();
    fresh = WorkAreaPixels(other.shell());
  }
  ASSERT_EQ(after.size(), fresh.size());
  const auto bad = std::mismatch(after.begin(), after.end(), fresh.begin());
  if (bad.first != after.end()) {
    const long i = bad.first - after.begin();
    ADD_FAILURE() << "after the storm the screen differs from a fresh one at (" << i % 480
                  << ", " << 35 + i / 480 << "): " << std::hex << *bad.first << " instead of "
                  << *bad.second;
  }
}
