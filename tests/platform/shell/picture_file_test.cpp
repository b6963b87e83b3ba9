// Pictures from outside read within bounds: bombs refused in words, damaged
// pictures giving only the colours that are in them, every kind of PNG read
// row by row, and a quit signal that stops the command that reads one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/shell/picture_file.h"
#include "tests/platform/shell/hostile_pictures.h"

namespace {

class PictureFile : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::string(std::getenv("HOME")) + "/pictures";
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Put(const std::string& name, const std::string& bytes, std::uint64_t size = 0) {
    const std::string path = folder_ + "/" + name;
    EXPECT_TRUE(hostile::WriteFile(path, bytes, size)) << path;
    return path;
  }

  struct Outcome {
    bool read = false;
    Picture picture;
    std::string problem;
    PictureFault fault = PictureFault::kUnreadable;
  };
  static Outcome Read(const std::string& path, int side = 256) {
    Outcome o;
    o.read = ReadPicture(path, side, o.picture, o.problem, &o.fault);
    return o;
  }

  std::string folder_;
};

TEST_F(PictureFile, BombsAreRefusedInWordsByTheDecodersOwnBounds) {
  struct Case {
    std::string name, bytes;
    PictureFault fault;
    std::string words;
  } cases[] = {
      // Its coefficients alone would take 1.2 GB (600 MB at 4:2:0).
      {"declared.jpg", hostile::DeclaredHugeJpeg(14142, false), PictureFault::kTooLarge,
       " needs more than 120 MB to decode"},
      {"declared-420.jpg", hostile::DeclaredHugeJpeg(14142, true), PictureFault::kTooLarge,
       " needs more than 120 MB to decode"},
      {"declared-baseline.jpg", hostile::DeclaredHugeJpeg(14142, false, false), PictureFault::kBroken,
       " is cut or damaged before its first row"},
      {"wide.jpg", hostile::DeclaredHugeJpeg(65000, false, false), PictureFault::kTooLarge,
       " is a picture of 65000 x 65000 pixels, more than the 200000000 that are read"},
      {"scans.jpg", hostile::ManyScansJpeg(1024, 1000), PictureFault::kTooSlow, " has more than 100 scans"},
      {"empty-scans.jpg", hostile::EndlessScansJpeg(1024, 1000), PictureFault::kBroken,
       " is a damaged or cut progressive JPEG"},
      // Valid, but more pixels than are read: no longer "neither a PNG nor a JPEG".
      {"large.png", hostile::OneBitPng(9000, 9000), PictureFault::kTooLarge,
       " is a picture of 9000 x 9000 pixels, more than the 64000000 that are read"},
  };
  for (const Case& c : cases) {
    const std::string path = Put(c.name, c.bytes);
    const Outcome o = Read(path);
    EXPECT_FALSE(o.read) << c.name;
    EXPECT_EQ(o.fault, c.fault) << c.name;
    EXPECT_EQ(o.problem, path + c.words);
  }
  // The same scans, fewer of them, are a picture: the bound is the count.
  const Outcome few = Read(Put("few-scans.jpg", hostile::ManyScansJpeg(1024, 90)));
  ASSERT_TRUE(few.read) << few.problem;
  EXPECT_EQ(few.picture.width, 256);
  EXPECT_EQ(few.picture.height, 256);
}

TEST_F(PictureFile, AHugeOneBitPngIsReadRowByRowAndItsFilesTailNever) {
  // 4000 x 4000 pixels in 2 KB, the file then grown (sparse) to 255 MB: read
  // row by row into a 250 x 250 sum, the zeros after its end never. (The
  // 8000 x 8000 of the same kind takes longer than the time bound in a
  // sanitizer build.)
  const std::string path = Put("bits.png", hostile::OneBitPng(4000, 4000), 255u << 20);
  const Outcome o = Read(path);
  ASSERT_TRUE(o.read) << o.problem;
  EXPECT_EQ(o.picture.width, 250);
  EXPECT_EQ(o.picture.height, 250);
  for (std::uint32_t p : o.picture.pixels) ASSERT_EQ(p, 0xFF000000u);
  // One byte more than is read at all: refused before a byte of it is read.
  const std::string larger = Put("larger.png", hostile::OneBitPng(8, 8), kMaxPictureFileBytes + 1);
  const Outcome refused = Read(larger);
  EXPECT_EQ(refused.fault, PictureFault::kTooLarge);
  EXPECT_EQ(refused.problem, "cannot read " + larger + ": it is larger than 268435456 bytes");
}

TEST_F(PictureFile, ADamagedPictureGivesOnlyTheColoursThatAreInIt) {
  // A plasma is every hue and no grey: the decoder's grey fill for the part
  // cut off must not be taken for a colour of it.
  const std::string plasma = hostile::PlasmaJpeg();
  const Outcome whole = Read(Put("plasma.jpg", plasma));
  ASSERT_TRUE(whole.read) << whole.problem;
  const Outcome cut = Read(Put("cut.jpg", plasma.substr(0, 5000)));
  ASSERT_TRUE(cut.read) << cut.problem;
  EXPECT_EQ(cut.picture.width, whole.picture.width);
  EXPECT_GT(cut.picture.height, 0);
  EXPECT_LT(cut.picture.height, whole.picture.height / 4) << "5000 of 99 KB is a few rows";
  for (std::uint32_t p : cut.picture.pixels) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    ASSERT_GT(std::max({r, g, b}) - std::min({r, g, b}), 100) << std::hex << p << " is grey";
  }
  // Damage in the middle of the data, not only a cut: a run of bytes made a
  // marker. The rows before it are read; none after it is more red than the
  // plasma is.
  std::string hit = plasma;
  for (std::size_t i = 20000; i < 20010; ++i) hit[i] = i % 2 == 0 ? '\xFF' : '\xD0';
  const Outcome damaged = Read(Put("damaged.jpg", hit));
  ASSERT_TRUE(damaged.read) << damaged.problem;
  EXPECT_LT(damaged.picture.height, whole.picture.height);
  EXPECT_GT(damaged.picture.height, cut.picture.height);

  // A PNG cut at a quarter of its data (100 of its 400 rows, shown as 50),
  // less what libpng had asked for in one piece (8 KB: 9 rows): three
  // eighths of its rows are red, and the rows read are red only.
  const std::string png = hostile::RedOverBluePng(300, 400, 150);
  const Outcome quarter = Read(Put("cut.png", png.substr(0, png.size() / 4)));
  ASSERT_TRUE(quarter.read) << quarter.problem;
  EXPECT_LE(quarter.picture.height, 50);
  EXPECT_GE(quarter.picture.height, 45);
  for (std::uint32_t p : quarter.picture.pixels) ASSERT_EQ(p, 0xFFFF0000u);
  // A file cut before its first row has nothing to give.
  const std::string header_only = Put("header.png", png.substr(0, 60));
  const Outcome none = Read(header_only);
  EXPECT_FALSE(none.read);
  EXPECT_EQ(none.fault, PictureFault::kBroken);
  EXPECT_EQ(none.problem, header_only + " is not a PNG that decodes: the file ends before the picture does");
}

TEST_F(PictureFile, EveryPngKindGivesItsColoursWhereTheyAre) {
  const std::uint32_t quadrants[4] = {0xFFFF0000u, 0xFF00FF00u, 0x800000FFu, 0x00000000u};
  for (bool interlaced : {false, true}) {
    const Outcome o = Read(Put("quadrants.png", hostile::QuadrantPng(300, 200, quadrants, interlaced)));
    ASSERT_TRUE(o.read) << o.problem;
    ASSERT_EQ(o.picture.width, 150);
    ASSERT_EQ(o.picture.height, 100);
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 150; ++x) {
        ASSERT_EQ(o.picture.pixels[static_cast<std::size_t>(y) * 150 + x], quadrants[(y >= 50 ? 2 : 0) + (x >= 75 ? 1 : 0)])
            << x << "," << y << (interlaced ? " interlaced" : "");
      }
    }
  }
  // Under half opaque, the colour kept straight.
  const Outcome faint = Read(Put("faint.png", hostile::SeeThroughPng(0x6430A050u)));
  ASSERT_TRUE(faint.read) << faint.problem;
  EXPECT_EQ(faint.picture.pixels.front(), 0x6430A050u);
}

// The program itself making a theme from `picture` in a home of its own,
// its standard error into `said` (when given).
pid_t StartMakeTheme(const std::string& picture, const std::string& home, const std::string& said = "/dev/null") {
  const pid_t child = fork();
  if (child == 0) {
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_STATE_HOME", (home + "/state").c_str(), 1);
    setenv("TINTOR_REGISTRY", (home + "/registry.reg").c_str(), 1);
    dup2(open("/dev/null", O_WRONLY), 1);
    dup2(open(said.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
    execl(TINTOR_BINARY, TINTOR_BINARY, "--make-theme", picture.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return child;
}

TEST_F(PictureFile, APictureUnderHalfOpaqueIsSaidSo) {
  const std::string picture = Put("faint.png", hostile::SeeThroughPng(0x6430A050u));
  const std::string said = folder_ + "/said";
  int status = 0;
  waitpid(StartMakeTheme(picture, folder_ + "/home", said), &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 2);
  std::string text;
  std::FILE* f = std::fopen(said.c_str(), "r");
  for (int c; f != nullptr && (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
  if (f != nullptr) std::fclose(f);
  EXPECT_EQ(text, "tintor: " + picture + " has no pixel that is at least half opaque\n"
                  "tintor: no theme is made; nothing is written\n");
}

// The program itself, started on a picture that takes a while to decode,
// and sent a quit signal once it has the picture open.
int MakeThemeStoppedBy(int sig, const std::string& picture, const std::string& home) {
  const pid_t child = StartMakeTheme(picture, home);
  const std::string fds = "/proc/" + std::to_string(child) + "/fd";
  for (bool open = false; !open;) {
    std::error_code e;
    for (const auto& fd : std::filesystem::directory_iterator(fds, e)) {
      if (std::filesystem::read_symlink(fd.path(), e) == picture) open = true;
    }
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) return -1;  // it ended before it had the picture open
  }
  kill(child, sig);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

TEST_F(PictureFile, AQuitSignalStopsMakingATheme_ExitStatusAsTheShellsAndNothingSaved) {
  const std::string picture = Put("bits.png", hostile::OneBitPng(8000, 8000));
  const std::string home = folder_ + "/home";
  EXPECT_EQ(MakeThemeStoppedBy(SIGINT, picture, home), 130);
  EXPECT_EQ(MakeThemeStoppedBy(SIGTERM, picture, home), 143);
  EXPECT_FALSE(std::filesystem::exists(home + "/data/tintor/themes"));
  EXPECT_FALSE(std::filesystem::exists(home + "/registry.reg"));
}

}  // namespace
