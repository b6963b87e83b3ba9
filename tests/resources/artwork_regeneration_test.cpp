// The committed pictures are exactly what the artwork tool draws: running it
// again gives the same files, byte for byte.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <spawn.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern char** environ;

namespace {

std::vector<char> Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the tool; its exit status, or -1 when it could not run.
int RunTool(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string tool = TINTOR_ARTWORK_TOOL;
  argv.push_back(tool.data());
  std::vector<std::string> copies = args;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class ScratchDir {
 public:
  ScratchDir() {
    std::string templ = (fs::temp_directory_path() / "tintor-artwork-XXXXXX").string();
    if (mkdtemp(templ.data()) != nullptr) path_ = templ;
  }
  ~ScratchDir() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The drawn files (PNG pictures and the table) of one folder.
std::set<std::string> ArtworkFiles(const fs::path& dir) {
  std::set<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (e.path().extension() == ".png" || name == "resources.txt") names.insert(name);
  }
  return names;
}

void ExpectSameFiles(const fs::path& committed, const fs::path& drawn) {
  SCOPED_TRACE(committed.string());
  const std::set<std::string> want = ArtworkFiles(committed);
  const std::set<std::string> got = ArtworkFiles(drawn);
  EXPECT_EQ(want, got);
  int differing = 0;
  for (const std::string& name : got) {
    if (want.count(name) == 0) continue;
    if (Slurp(committed / name) != Slurp(drawn / name)) {
      ++differing;
      ADD_FAILURE() << name << " differs from what the tool draws now";
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST(ArtworkRegeneration, TheToolDrawsTheCommittedFilesByteForByte) {
  ScratchDir scratch;
  ASSERT_FALSE(scratch.path().empty());
  const fs::path program = scratch.path() / "program";
  const fs::path platform = scratch.path() / "platform";
  fs::create_directories(program);
  fs::create_directories(platform);
  ASSERT_EQ(RunTool({program.string(), platform.string()}), 0);
  EXPECT_EQ(ArtworkFiles(program).size(), 68u);  // 67 pictures and the table
  ExpectSameFiles(fs::path(TINTOR_SOURCE_DIR) / "res", program);
  ExpectSameFiles(fs::path(TINTOR_SOURCE_DIR) / "platform" / "res", platform);
}

TEST(ArtworkRegeneration, TheToolFailsCleanlyWhereItCannotWrite) {
  ScratchDir scratch;
  ASSERT_FALSE(scratch.path().empty());
  const fs::path missing = scratch.path() / "no" / "such" / "folder";
  EXPECT_EQ(RunTool({missing.string(), scratch.path().string()}), 1);
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_EQ(RunTool({}), 2) << "usage error without folders";
}

}  // namespace
