// The one way the program writes a file: a disk that fails at each step
// (played through the table of system calls), and what stands at the path.
// Other users' links: tests/platform/win/registry_file_test.cpp.
#include "platform/file/replace_file.h"

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file/system_calls.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ReplaceFileTest : public ::testing::Test {
 protected:
  ~ReplaceFileTest() override {
    FileSystemCalls() = system_;
    fs::remove_all(dir_);
  }
  const SystemCalls system_ = FileSystemCalls();
  std::string pattern_ = fs::temp_directory_path().string() + "/tintor-file-XXXXXX";
  const fs::path dir_ = ::mkdtemp(pattern_.data());
  FileError error_;
};

// Each call of the disk at fault, one at a time: the new file is whole, or
// the old one stays whole and nothing is left beside it.
TEST_F(ReplaceFileTest, ADiskFailingAtEachStepLeavesTheOldFileWhole) {
  static int calls;
  const struct {
    const char* what;
    void (*fault)(SystemCalls&);
    int error_number;  // 0: the write succeeds anyway
  } cases[] = {
      {"short writes", [](SystemCalls& c) {
         c.write = [](int fd, const void* b, size_t n) { return ::write(fd, b, n < 7 ? n : 7); };
       }, 0},
      {"interrupted writes", [](SystemCalls& c) {
         c.write = [](int fd, const void* b, size_t n) { return calls++ % 2 ? ::write(fd, b, n) : (errno = EINTR, -1); };
       }, 0},
      {"a full disk midway", [](SystemCalls& c) {
         c.write = [](int fd, const void* b, size_t n) { return calls++ ? (errno = ENOSPC, -1) : ::write(fd, b, n / 2); };
       }, ENOSPC},
      {"a failed fsync", [](SystemCalls& c) { c.fsync = [](int) { return errno = EIO, -1; }; }, EIO},
      {"a failed rename", [](SystemCalls& c) {
         c.renameat = [](int, const char*, int, const char*) { return errno = EXDEV, -1; };
       }, EXDEV},
  };
  const fs::path path = dir_ / "picture.png";
  const std::string old_bytes(1000, 'o'), new_bytes(3000, 'n');
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(path) << old_bytes;
    calls = 0;
    c.fault(FileSystemCalls());
    const bool ok = ReplaceFile(path, new_bytes, {.durable = true}, &error_);
    FileSystemCalls() = system_;
    EXPECT_EQ(ok ? 0 : error_.error_number, c.error_number) << error_.reason;
    EXPECT_EQ(Read(path), ok ? new_bytes : old_bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1) << "a temporary file was left";
  }
}

// A hard link to the old file keeps the old content; the file keeps its
// mode; a link at the path or a folder there is not written.
TEST_F(ReplaceFileTest, WhatStandsAtThePathDecides) {
  const fs::path file = dir_ / "a.png", hard = dir_ / "hard", link = dir_ / "link.png";
  std::ofstream(file) << "old";
  fs::create_hard_link(file, hard);
  fs::permissions(file, static_cast<fs::perms>(0640));
  ASSERT_TRUE(ReplaceFile(file, "new", {}, &error_)) << error_.reason;
  EXPECT_EQ(Read(file) + Read(hard), "newold");
  EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(0640));
  fs::create_symlink(hard, link);
  EXPECT_FALSE(ReplaceFile(link, "x", {.link = LinkAtPath::kRefuse}, &error_));
  EXPECT_FALSE(ReplaceFile(dir_, "x", {.link = LinkAtPath::kReplace}, &error_));
  EXPECT_EQ(Read(hard), "old");
}

}  // namespace

namespace {

// Savers of one new name at the same moment: exactly one of them saves, its
// bytes whole; every other is told the name is taken. On a file system that
// renames without replacing, and on one that cannot (played: EINVAL, as
// renameat2 gives there) with each rename slowed so that savers overlap.
TEST_F(ReplaceFileTest, ConcurrentSaversOfOneNewNameNeverLoseASave) {
  for (bool without_noreplace : {false, true}) {
    if (without_noreplace) {
      FileSystemCalls().renameat2 = [](int, const char*, int, const char*, unsigned) { return errno = EINVAL, -1; };
      FileSystemCalls().renameat = [](int from_dir, const char* from, int to_dir, const char* to) {
        ::usleep(2000);
        return ::renameat(from_dir, from, to_dir, to);
      };
    }
    for (int round = 0; round < 14; ++round) {
      const std::string path = (dir_ / ("夏 " + std::to_string(round) + (without_noreplace ? " fat" : "") + ".reg")).string();
      constexpr int kSavers = 10;
      std::atomic<int> saved{0}, taken{0};
      std::vector<std::string> said(kSavers);
      std::vector<std::thread> savers;
      std::atomic<bool> go{false};
      for (int i = 0; i < kSavers; ++i) {
        savers.emplace_back([&, i] {
          while (!go) std::this_thread::yield();
          FileError error;
          if (ReplaceFile(path, "saver " + std::to_string(i), {.durable = true, .only_new = true}, &error)) {
            ++saved;
          } else if (error.error_number == EEXIST) {
            ++taken;
          }
          said[static_cast<std::size_t>(i)] = error.reason;
        });
      }
      go = true;
      for (std::thread& t : savers) t.join();
      EXPECT_EQ(saved.load(), 1) << path;
      EXPECT_EQ(taken.load(), kSavers - 1) << path;
      const std::string bytes = Read(path);
      EXPECT_EQ(bytes.rfind("saver ", 0), 0u) << bytes;
      for (const std::string& reason : said) {
        EXPECT_TRUE(reason.empty() || reason == "a file of that name is there; nothing is written") << reason;
      }
    }
    // Nothing but the saved files is left.
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      ++files;
      EXPECT_EQ(entry.path().filename().string()[0] == '.', false) << entry.path();
    }
    EXPECT_EQ(files, without_noreplace ? 28u : 14u);
  }
}

}  // namespace
