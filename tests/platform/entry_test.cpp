// The process entry point: finds the one application object, calls
// InitApplication once, runs until quit and returns the exit code; refuses
// bad options and scripts before anything runs; explains how to run without
// a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <unistd.h>

#include "main/entry_point.h"
#include "platform/ui/toolkit.h"
#include "platform/win/hive_file.h"
#include "platform/win/registry.h"
#include "tests/platform/test_windows.h"

namespace {

// The test program's application object: a window with a button (id 5, at
// window (0, 0) 200 x 100) that posts quit with code 7.
class EntryTestApp : public CMzApp {
 public:
  BOOL InitApplication() override {
    ++init_calls;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    button = std::make_unique<UiButton_Image>();
    wnd = std::make_unique<RecordingWnd>();
    wnd->on_command = [](WPARAM wParam, LPARAM) {
      if (LOWORD(wParam) == 5) PostQuitMessage(7);
    };
    RECT rc = MzGetWorkArea();
    wnd->Create(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    button->SetBounds(0, 0, 200, 100);
    button->SetID(5);
    wnd->AddUiWin(button.get());
    wnd->Show(TRUE, TRUE);
    return TRUE;
  }
  int init_calls = 0;
  std::unique_ptr<UiButton_Image> button;
  std::unique_ptr<RecordingWnd> wnd;
};

EntryTestApp g_app;

class Entry : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tintor-entry-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    ::setenv("TINTOR_REGISTRY", (dir_ / "registry.reg").c_str(), 1);
    RegistryUseFile(HiveFile::DefaultPath());
    g_app.init_calls = 0;
  }
  void TearDown() override {
    ::unsetenv("TINTOR_REGISTRY");
    RegistryUseFile(HiveFile::DefaultPath());
    std::filesystem::remove_all(dir_);
  }
  std::string Script(const std::string& text) {
    const std::string path = (dir_ / "script.txt").string();
    std::ofstream(path) << text;
    return path;
  }
  std::filesystem::path dir_;
};

}  // namespace

TEST_F(Entry, RunsTheApplicationUntilQuitAndReturnsItsExitCode) {
  EXPECT_EQ(CMzApp::Instance(), &g_app);
  const std::string script = Script("shot start.png\ntap 100 85\nshot never.png\n");
  EXPECT_EQ(RunTintor({"--script", script, "--screenshot-dir", dir_.string()}), 7);
  EXPECT_EQ(g_app.init_calls, 1);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "start.png"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "never.png")) << "the run ended at the quit";

  // When the script ends the host posts quit: exit code 0.
  EXPECT_EQ(RunTintor({"--headless", "--script", Script("tap 300 300\nwait 100\n")}), 0);
  EXPECT_EQ(g_app.init_calls, 2);
  EXPECT_EQ(RunTintor({"--headless"}), 0);
  EXPECT_EQ(g_app.init_calls, 3);
}

TEST_F(Entry, BadOptionsAndScriptsAreRefusedBeforeAnythingRuns) {
  struct Case {
    int line;
    std::vector<std::string> args;
    int code;
    std::string message;
  } cases[] = {
      {__LINE__, {"--frobnicate"}, 2, "tintor: Unknown option --frobnicate (see tintor --help)\n"},
      {__LINE__, {"--version", "--headless"}, 2,
       "tintor: --version is asked alone: it takes no other option or file (see tintor --help)\n"},
      {__LINE__, {"--scale", "9"}, 2,
       "tintor: --scale wants a number from 0.25 to 4, not '9' (see tintor --help)\n"},
      {__LINE__, {"--script", "/nonexistent/s.txt"}, 2,
       "tintor: /nonexistent/s.txt: cannot read the script: No such file or directory\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTintor(c.args), c.code);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
  }
  const std::string script = Script("tap 1 2\n# fine\n\n\n\n\ntapp 3 4\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunTintor({"--script", script}), 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "tintor: " + script + ":7: unknown command 'tapp'\n");
  EXPECT_EQ(g_app.init_calls, 0) << "nothing ran";

  testing::internal::CaptureStdout();
  EXPECT_EQ(RunTintor({"--help"}), 0);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("--headless"), std::string::npos);
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunTintor({"--version"}), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "tintor " TINTOR_TEST_VERSION "\n");
  EXPECT_EQ(g_app.init_calls, 0) << "asking the version runs nothing";
}

TEST_F(Entry, WithoutADisplayItSaysHowToRunHeadless) {
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display != nullptr ? display : "";
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  testing::internal::CaptureStderr();
  const int code = RunTintor({});
  const std::string err = testing::internal::GetCapturedStderr();
  if (!saved.empty()) ::setenv("DISPLAY", saved.c_str(), 1);
  EXPECT_NE(code, 0);
  EXPECT_EQ(err,
            "tintor: no display found (DISPLAY is not set); run it headless: tintor --headless "
            "[--script FILE] [--screenshot-dir DIR]\n");
  EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line";
  EXPECT_EQ(g_app.init_calls, 0);
}

TEST_F(Entry, TheScreenshotFolderIsMadeWhenMissingAndAShotThatCannotBeWrittenFailsTheRun) {
  // A folder that is not there yet, several levels deep, is made.
  const std::filesystem::path fresh = dir_ / "out" / "run1";
  EXPECT_EQ(RunTintor({"--script", Script("shot x.png\n"), "--screenshot-dir", fresh.string()}), 0);
  EXPECT_TRUE(std::filesystem::exists(fresh / "x.png"));
  EXPECT_EQ(g_app.init_calls, 1);

  // A folder that cannot be made stops the run before anything runs.
  const std::filesystem::path file = dir_ / "a-file";
  std::ofstream(file) << "x";
  struct Case {
    int line;
    std::filesystem::path folder;
  } cases[] = {
      {__LINE__, file},          // a file of that name is in the way
      {__LINE__, file / "sub"},  // a file where a parent folder should be
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunTintor({"--script", Script("shot x.png\n"), "--screenshot-dir", c.folder.string()}),
              2);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("tintor: " + c.folder.string() + ": cannot make the screenshot folder (", 0),
              0u)
        << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
    EXPECT_EQ(g_app.init_calls, 1) << "nothing ran";
  }

  // A shot whose own path cannot be written fails the run at its end.
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunTintor({"--script", Script("shot missing/x.png\n"), "--screenshot-dir",
                       dir_.string()}),
            1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "tintor: " + dir_.string() + "/missing/x.png: cannot write the screenshot\n");
}

TEST_F(Entry, AnUnreadableRegistryFileIsReportedInOneLineAndLeftAlone) {
  const std::filesystem::path registry = dir_ / "registry.reg";
  // No file yet: a phone nobody has recoloured, nothing to report.
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunTintor({"--headless"}), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  const std::string garbage = "\x01\x02 not a registry export \xff\xfe";
  std::ofstream(registry, std::ios::binary) << garbage;
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunTintor({"--headless"}), 0) << "the phone still starts";
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.rfind("tintor: the registry file " + registry.string() + " cannot be read", 0), 0u)
      << err;
  EXPECT_NE(err.find("default colours"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;
  std::ifstream in(registry, std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(after, garbage) << "the file is left as it was";
}

TEST(EntryDeathTest, ADisplayThatDoesNotAnswerIsReportedInsteadOfAnInvisibleWindow) {
  // A display nobody serves: the run must end with a clear line, not carry on
  // with a window drawn into memory (which would hang here until killed).
  EXPECT_EXIT(
      {
        ::alarm(30);
        ::setenv("DISPLAY", ":4711", 1);
        ::unsetenv("WAYLAND_DISPLAY");
        ::unsetenv("SDL_VIDEODRIVER");
        std::exit(RunTintor({}));
      },
      testing::ExitedWithCode(1),
      "tintor: cannot open a window \\(.*\\); run it headless: tintor --headless");
}
