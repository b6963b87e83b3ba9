// The one way the program writes a file: a disk that fails at each step
// (played through the table of system calls), and what stands at the path.
// Other users' links: tests/platform/win/registry_file_test.cpp.
#include "platform/file/replace_file.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
