// Replays the fuzzer's seed corpus through the same checks the fuzzer makes,
// so a regression in the reader shows up in every ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/reg_file_fuzz_check.h"

namespace {

TEST(RegFileFuzzCorpus, EverySeedPassesTheFuzzChecks) {
  const std::filesystem::path dir(TINTOR_FUZZ_CORPUS_DIR);
  ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
  int seeds = 0;
  int parsed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    std::string failure;
    bool accepted = false;
    EXPECT_TRUE(CheckRegFileInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                  &accepted, &failure))
        << failure;
    ++seeds;
    parsed += accepted ? 1 : 0;
  }
  EXPECT_GE(seeds, 5);
  EXPECT_GE(parsed, 3) << "the corpus should hold sound files, not only broken ones";
}

}  // namespace
