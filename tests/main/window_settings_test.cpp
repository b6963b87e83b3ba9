// The window's settings file: written as a key file and read back, an older
// Tintor's file of bare lines still read, and a file that is not ours left
// alone with the reason.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "main/window_settings.h"

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("tintor-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path() const { return (dir_ / "tintor" / "settings").string(); }
  void Put(const std::string& text) const {
    std::filesystem::create_directories(dir_ / "tintor");
    std::ofstream(Path()) << text;
  }
  std::string Text() const {
    std::ostringstream text;
    text << std::ifstream(Path()).rdbuf();
    return text.str();
  }
  std::filesystem::path dir_;
};

}  // namespace

TEST_F(Settings, WrittenAsAKeyFileAndReadBack) {
  WindowSettings kept;
  kept.panel_shown = false;
  kept.scale = 0.6;
  kept.x = -20;
  kept.y = 30;
  kept.vision = ColourVision::kDeutan;
  kept.export_form = RegFileForm::kRegedit4;
  std::string error;
  ASSERT_TRUE(WriteWindowSettings(Path(), kept, error)) << error;
  EXPECT_EQ(Text(),
            "# Tintor's window, as it was when it closed last.\n[window]\npanel=hidden\nscale=0.6\nx=-20\ny=30\n"
            "vision=deutan\nexport=regedit4\n");
  std::string problem;
  EXPECT_EQ(ReadWindowSettings(Path(), problem), kept);
  EXPECT_EQ(problem, "");
  // Nothing kept yet: an empty file, read as no settings.
  ASSERT_TRUE(WriteWindowSettings(Path(), WindowSettings{}, error)) << error;
  EXPECT_EQ(ReadWindowSettings(Path(), problem), WindowSettings{});
  EXPECT_EQ(problem, "");
}

TEST_F(Settings, AnOlderFileOfBareLinesIsTheWindowsAndAFileNotOursIsLeftWithTheReason) {
  Put("# kept by hand\npanel=shown\n\nscale=1.5\nx=3\ny=-4\nvision=typical\n");
  std::string problem;
  WindowSettings read = ReadWindowSettings(Path(), problem);
  EXPECT_EQ(problem, "");
  EXPECT_EQ(read.panel_shown, true);
  EXPECT_EQ(read.scale, 1.5);
  EXPECT_EQ(read.x, 3);
  EXPECT_EQ(read.y, -4);
  EXPECT_EQ(read.vision, ColourVision::kTypical);
  EXPECT_EQ(read.export_form, std::nullopt);

  const std::string kinds =
      " is not panel=shown|hidden, scale=0.25..4, x=N, y=N, vision=typical|protan|deutan|tritan or "
      "export=regedit5|regedit4";
  const struct {
    int line;
    std::string text;
    std::string problem;
  } cases[] = {
      {__LINE__, "panel=sideways\n", "the line panel=sideways" + kinds},
      {__LINE__, "[window]\nscale=0.2\n", "the line scale=0.2" + kinds},
      {__LINE__, "[window]\nscale=nan\n", "the line scale=nan" + kinds},
      {__LINE__, "[window]\nx=4x\n", "the line x=4x" + kinds},
      {__LINE__, "[window]\ny=100001\n", "the line y=100001" + kinds},
      {__LINE__, "[window]\ncolour=red\n", "the line colour=red" + kinds},
      {__LINE__, "[window]\npanel=shown\n[other]\na=1\n", "the group [other] is not the window's"},
      {__LINE__, std::string(5000, '#'), "it is larger than a settings file can be"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    Put(c.text);
    EXPECT_EQ(ReadWindowSettings(Path(), problem), WindowSettings{});
    EXPECT_EQ(problem, c.problem);
  }
  // A line that is no key file's at all: GLib's own words.
  Put("[window\n");
  EXPECT_EQ(ReadWindowSettings(Path(), problem), WindowSettings{});
  EXPECT_NE(problem, "");
}
