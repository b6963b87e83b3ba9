// Scripts and command-line options: what is accepted, and that every bad line
// or option is refused with a message naming it (and its line).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <sys/stat.h>

#include <utility>

#include "main/entry_point.h"
#include "platform/host/headless_host.h"
#include "platform/host/script.h"
#include "platform/host/window_scale.h"

namespace {

void ExpectScriptError(int line, const std::string& text, const std::string& expected) {
  SCOPED_TRACE(testing::Message() << "from line " << line << ": " << text);
  std::vector<ScriptCommand> commands;
  std::string error;
  EXPECT_FALSE(ParseScript(text, "script.txt", commands, error));
  EXPECT_EQ(error, expected);
  EXPECT_TRUE(commands.empty());
}

}  // namespace

TEST(Script, AcceptsEveryCommandWithCommentsAndBlankLines) {
  const std::string text =
      "# a demo\n"
      "\n"
      "tap 10 20\n"
      "  drag 240 600 240 100 300   # flick up\r\n"
      "wait 1500\n"
      "key escape\nkey enter\nkey up\nkey down\n"
      "shot menu.png\n"
      "tap 479 719\n";
  std::vector<ScriptCommand> c;
  std::string error;
  ASSERT_TRUE(ParseScript(text, "demo.txt", c, error)) << error;
  ASSERT_EQ(c.size(), 9u);
  EXPECT_EQ(c[0].kind, ScriptCommand::Kind::Tap);
  EXPECT_EQ(c[0].x1, 10);
  EXPECT_EQ(c[0].y1, 20);
  EXPECT_EQ(c[0].line, 3);
  EXPECT_EQ(c[1].kind, ScriptCommand::Kind::Drag);
  EXPECT_EQ(c[1].x1, 240);
  EXPECT_EQ(c[1].y1, 600);
  EXPECT_EQ(c[1].x2, 240);
  EXPECT_EQ(c[1].y2, 100);
  EXPECT_EQ(c[1].ms, 300);
  EXPECT_EQ(c[2].kind, ScriptCommand::Kind::Wait);
  EXPECT_EQ(c[2].ms, 1500);
  EXPECT_EQ(c[3].key, InputKey::Escape);
  EXPECT_EQ(c[4].key, InputKey::Enter);
  EXPECT_EQ(c[5].key, InputKey::Up);
  EXPECT_EQ(c[6].key, InputKey::Down);
  EXPECT_EQ(c[7].kind, ScriptCommand::Kind::Shot);
  EXPECT_EQ(c[7].name, "menu.png");
  EXPECT_EQ(c[8].x1, 479);
  EXPECT_EQ(c[8].y1, 719);
  EXPECT_EQ(c[8].line, 11);

  // Through the host, a key keeps what was held with it, and typed and
  // composed text its words with one space between them (a composition's
  // cursor at its end, in characters); `compose` alone ends a composition.
  ASSERT_TRUE(ParseScript("key ctrl+shift+z\ntype 春天  的风\ncompose chun 天\ncompose\n", "more.txt", c, error))
      << error;
  HeadlessHost host;
  host.InjectScript(c);
  InputEvent e;
  ASSERT_TRUE(host.WaitEvent(e, -1));
  EXPECT_EQ(e.key, InputKey::Z);
  EXPECT_EQ(e.modifiers, kCtrl | kShift);
  ASSERT_TRUE(host.WaitEvent(e, -1));
  EXPECT_EQ(e.type, InputEvent::Type::Text);
  EXPECT_EQ(e.text, "春天 的风");
  for (const auto& [text, cursor] : {std::pair<std::string, int>{"chun 天", 6}, {"", 0}}) {
    ASSERT_TRUE(host.WaitEvent(e, -1));
    EXPECT_EQ(e.type, InputEvent::Type::Composition);
    EXPECT_EQ(e.text, text);
    EXPECT_EQ(e.cursor, cursor);
  }
}

TEST(Script, RefusesBadLinesNamingTheLine) {
  ExpectScriptError(__LINE__, "tap 1 2\n\n# ok\n\n\n\ntapp 3 4\n",
                    "script.txt:7: unknown command 'tapp'");
  ExpectScriptError(__LINE__, "tap 1\n", "script.txt:1: 'tap' takes X Y");
  ExpectScriptError(__LINE__, "tap 1 2 3\n", "script.txt:1: 'tap' takes X Y");
  ExpectScriptError(__LINE__, "tap x 2\n", "script.txt:1: x is not a number: 'x'");
  ExpectScriptError(__LINE__, "tap 12abc 2\n", "script.txt:1: x is not a number: '12abc'");
  ExpectScriptError(__LINE__, "tap 480 2\n", "script.txt:1: x 480 is outside 0..479");
  ExpectScriptError(__LINE__, "tap -1 2\n", "script.txt:1: x -1 is outside 0..479");
  ExpectScriptError(__LINE__, "wait 5\ntap 1 720\n", "script.txt:2: y 720 is outside 0..719");
  ExpectScriptError(__LINE__, "tap 1 99999999999999999999\n",
                    "script.txt:1: y is not a number: '99999999999999999999'");
  ExpectScriptError(__LINE__, "drag 1 2 3 4\n", "script.txt:1: 'drag' takes X1 Y1 X2 Y2 MS");
  ExpectScriptError(__LINE__, "drag 1 2 3 4 -5\n",
                    "script.txt:1: duration -5 is outside 0..60000");
  ExpectScriptError(__LINE__, "drag 1 2 3 4 60001\n",
                    "script.txt:1: duration 60001 is outside 0..60000");
  ExpectScriptError(__LINE__, "wait 600000\nwait 600001\n",
                    "script.txt:2: duration 600001 is outside 0..600000");
  ExpectScriptError(__LINE__, "\xEF\xBB\xBFtapp 1 2\n", "script.txt:1: unknown command 'tapp'");
  ExpectScriptError(__LINE__, "wait\n", "script.txt:1: 'wait' takes MS");
  ExpectScriptError(__LINE__, "wait 1.5\n", "script.txt:1: duration is not a number: '1.5'");
  ExpectScriptError(__LINE__, "key shift+f3\n",
                    "script.txt:1: unknown key 'shift+f3' (escape, enter, space, tab, up, down, "
                    "left, right, pageup, pagedown, home, end, f2, z, y, backspace, delete, a, c, x or v, "
                    "after shift+ or ctrl+ when held)");
  ExpectScriptError(__LINE__, "key\n", "script.txt:1: 'key' takes a key name");
  ExpectScriptError(__LINE__, "type   # nothing\n", "script.txt:1: 'type' takes TEXT");
  ExpectScriptError(__LINE__, "shot menu.jpg\n",
                    "script.txt:1: screenshot name must end in .png: 'menu.jpg'");
  ExpectScriptError(__LINE__, "shot .png\n",
                    "script.txt:1: screenshot name must end in .png: '.png'");
  ExpectScriptError(__LINE__, "shot ../x.png\n",
                    "script.txt:1: screenshot name must be a name inside the screenshot folder: '../x.png'");
  ExpectScriptError(__LINE__, "wait 1\nshot /abs.png\n",
                    "script.txt:2: screenshot name must be a name inside the screenshot folder: '/abs.png'");
  ExpectScriptError(__LINE__, "TAP 1 2\n", "script.txt:1: unknown command 'TAP'");
}

TEST(Script, MissingFileIsAnError) {
  std::vector<ScriptCommand> c;
  std::string error;
  EXPECT_FALSE(LoadScriptFile("/nonexistent/dir/s.txt", c, error));
  EXPECT_EQ(error, "/nonexistent/dir/s.txt: cannot read the script: No such file or directory");
  // A name that holds a line break or an escape stays on one line.
  EXPECT_FALSE(LoadScriptFile("/nonexistent/a\nb\x1B[2J.txt", c, error));
  EXPECT_EQ(error, "/nonexistent/a\\x0Ab\\x1B[2J.txt: cannot read the script: No such file or directory");
  EXPECT_TRUE(ParseScript("\xEF\xBB\xBFtap 1 2\n", "bom.txt", c, error)) << error;
  EXPECT_EQ(c.size(), 1u);
}

// What is not a script is refused with the reason, and the program ends with
// exit code 2 before anything runs.
TEST(Script, FilesThatAreNotScriptsAreRefused) {
  std::string dir = "/tmp/tintor-script-XXXXXX";
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  const std::string fifo = dir + "/pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string file = dir + "/s.txt";
  std::string big;
  while (big.size() <= (1u << 20)) big += "wait 1\n";
  struct Case {
    int line;
    std::string path;  // empty: `file`, holding `text`
    std::string text;
    std::string error;  // after "PATH"
  } cases[] = {
      {__LINE__, dir, "", ": a folder, not a script file"},
      {__LINE__, "/dev/zero", "", ": not an ordinary file; a script is a text file"},
      {__LINE__, fifo, "", ": not an ordinary file; a script is a text file"},
      {__LINE__, "", big, ": larger than 1 MiB; a script is a short text file"},
      {__LINE__, "", std::string("tap 1 2\nta\0p 1 2\n", 17), ":2: a NUL byte in the line; a script is text"},
      {__LINE__, "", "wait 1\n\nkey \xFF\n", ":3: not UTF-8 text"},
      {__LINE__, "", "# \xED\xA0\x80\n", ":1: not UTF-8 text"},
      {__LINE__, "", "\x1B[2J" + std::string(100000, 'A') + "\n",
       ":1: unknown command '\\x1B[2J" + std::string(32, 'A') + "…'"},
      {__LINE__, "", "key \xC2\x9B" "31m\n", ":1: unknown key '\\x9B31m' (escape, enter, space, tab, up, down, left, right, pageup, pagedown, home, end, f2, z, y, backspace, delete, a, c, x or v, after shift+ or ctrl+ when held)"},
      {__LINE__, "", "shot " + std::string(39, 'a') + "\u4E2D\u4E2D\n",
       ":1: screenshot name must end in .png: '" + std::string(39, 'a') + "…'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    const std::string path = c.path.empty() ? file : c.path;
    if (c.path.empty()) std::ofstream(file, std::ios::binary) << c.text;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTintor({"--headless", "--script", path}), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "tintor: " + path + c.error + "\n");
  }
  std::filesystem::remove_all(dir);
}

TEST(Script, DragBecomesPressTimedMovesAndRelease) {
  // A scripted drag must reach the shell as press, moves spread over its
  // duration on the simulated clock, and a release at the end point.
  HeadlessHost host;
  host.InjectDrag(100, 500, 100, 340, 160);
  std::vector<InputEvent> events;
  std::vector<std::int64_t> times;
  InputEvent e;
  int guard = 0;
  while (host.HasPendingInput() && ++guard < 1000) {
    if (host.WaitEvent(e, -1)) {
      events.push_back(e);
      times.push_back(host.NowMs());
    }
  }
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front().type, InputEvent::Type::Press);
  EXPECT_EQ(events.front().y, 500);
  EXPECT_EQ(events.back().type, InputEvent::Type::Release);
  EXPECT_EQ(events.back().y, 340);
  EXPECT_EQ(host.NowMs(), 160);
  EXPECT_EQ(events.size(), 2u + 160 / HeadlessHost::kDragStepMs);
  for (std::size_t i = 1; i + 1 < events.size(); ++i) {
    EXPECT_EQ(events[i].type, InputEvent::Type::Move);
    EXPECT_LT(events[i].y, events[i - 1].y) << "moves go steadily up";
    EXPECT_GT(times[i], times[i - 1]) << "each move comes later";
  }
}

TEST(Script, OutOfInputTheHostAsksToQuitUnlessTheIdleCallbackFeedsIt) {
  HeadlessHost host;
  InputEvent e;
  ASSERT_TRUE(host.WaitEvent(e, -1));
  EXPECT_EQ(e.type, InputEvent::Type::Quit);

  int idle_calls = 0;
  host.SetIdleCallback([&] {
    if (++idle_calls == 1) host.InjectKey(InputKey::Down);
  });
  EXPECT_FALSE(host.WaitEvent(e, -1)) << "the callback injected input: look again";
  ASSERT_TRUE(host.WaitEvent(e, -1));
  EXPECT_EQ(e.type, InputEvent::Type::Key);
  EXPECT_EQ(e.key, InputKey::Down);
  ASSERT_TRUE(host.WaitEvent(e, -1));
  EXPECT_EQ(e.type, InputEvent::Type::Quit) << "the callback injected nothing the second time";
  EXPECT_EQ(idle_calls, 2);
}

TEST(Script, WaitsAdvanceTheSimulatedClockOnlyAsFarAsTheShellAsks) {
  HeadlessHost host;
  host.InjectWait(100);
  host.InjectKey(InputKey::Enter);
  InputEvent e;
  EXPECT_FALSE(host.WaitEvent(e, 16));
  EXPECT_EQ(host.NowMs(), 16);
  for (int i = 0; i < 10 && host.NowMs() < 100; ++i) EXPECT_FALSE(host.WaitEvent(e, 16));
  EXPECT_EQ(host.NowMs(), 100);
  ASSERT_TRUE(host.WaitEvent(e, 16));
  EXPECT_EQ(e.type, InputEvent::Type::Key);
  EXPECT_EQ(host.ClockMinutes(), HeadlessHost::kStartMinutes);
  host.InjectWait(60 * 1000);
  host.WaitEvent(e, -1);
  EXPECT_EQ(host.ClockMinutes(), HeadlessHost::kStartMinutes + 1);
}

TEST(WindowScale, AWindowThatWouldNotFitTheScreenIsDrawnSmaller) {
  // The window is 480 x 720 times the scale, with a title bar above it.
  const int title = kWindowTitleAllowance;
  struct Case {
    int line;
    double requested;
    int width, height;
    double expected;
  } cases[] = {
      {__LINE__, 1.0, 1920, 1080, 1.0},
      {__LINE__, 2.0, 3840, 2160, 2.0},
      {__LINE__, 2.0, 1024, 1440 + title, 2.0},         // exactly fits
      {__LINE__, 2.0, 1920, 1080, (1080.0 - title) / 720},  // too tall: fit the height
      {__LINE__, 2.0, 1280, 1024, (1024.0 - title) / 720},
      {__LINE__, 2.0, 800, 4000, 800.0 / 480},           // too wide: fit the width
      {__LINE__, 1.0, 1366, 720, (720.0 - title) / 720},  // even 1 can be too tall
      {__LINE__, 0.5, 1366, 720, 0.5},                   // a small request is kept
      {__LINE__, 4.0, 100, 100, 0.25},                   // never below the smallest scale
      {__LINE__, 3.0, 0, 0, 3.0},                        // a screen of unknown size
      {__LINE__, 3.0, -1, 900, 3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    const double got = FitWindowScale(c.requested, c.width, c.height);
    EXPECT_DOUBLE_EQ(got, c.expected);
    if (c.width > 0 && c.height > 0 && got > 0.25) {
      EXPECT_LE(480 * got, c.width);
      EXPECT_LE(720 * got + title, c.height);
    }
  }
}

// The scale kept from the last run is used only when the window it makes is
// at least half the phone's size and fits the desktop; one asked for on the
// command line is fitted as always. Zoom steps stay within the same bounds.
TEST(WindowScale, AKeptScaleTooSmallOrTooLargeIsNotUsed) {
  const int wide = 1000;  // the phone and the studio beside it
  EXPECT_DOUBLE_EQ(StartWindowScale(std::nullopt, 0.25, 1920, 1080, wide), 1.0);
  EXPECT_DOUBLE_EQ(StartWindowScale(std::nullopt, 0.4, 1920, 1080, wide), 1.0);
  EXPECT_DOUBLE_EQ(StartWindowScale(std::nullopt, 0.5, 1920, 1080, wide), 0.5);
  EXPECT_DOUBLE_EQ(StartWindowScale(std::nullopt, 1.4, 1920, 1080, wide), 1.4);
  EXPECT_DOUBLE_EQ(StartWindowScale(std::nullopt, 2.0, 1920, 1080, wide), 1.0) << "too large";
  EXPECT_DOUBLE_EQ(StartWindowScale(std::nullopt, 2.0, 1366, 700, wide),
                   FitWindowScale(1.0, 1366, 700, wide))
      << "not even 1 fits: the largest that does";
  EXPECT_DOUBLE_EQ(StartWindowScale(0.25, 3.0, 1920, 1080, wide), 0.25) << "asked for";
  EXPECT_DOUBLE_EQ(StartWindowScale(std::nullopt, std::nullopt, 1920, 1080, wide), 1.0);

  double scale = 1.0;
  for (int i = 0; i < 30; ++i) scale = ZoomWindowScale(scale, -1, 1.4);
  EXPECT_DOUBLE_EQ(scale, 0.5);
  const double up = ZoomWindowScale(scale, 1, 1.4);
  EXPECT_GT(up, 0.5);
  for (int i = 0; i < 30; ++i) scale = ZoomWindowScale(scale, 1, 1.4);
  EXPECT_DOUBLE_EQ(scale, 1.4);
  EXPECT_DOUBLE_EQ(ZoomWindowScale(scale, 0, 1.4), 1.0);
  EXPECT_LT(ZoomWindowScale(1.0, -1, 4.0), 1.0);
}
