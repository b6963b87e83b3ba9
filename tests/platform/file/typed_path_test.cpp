// A path as a person types or pastes it in a path box: one rule for every box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/file/user_folders.h"

namespace {

TEST(PathTyped, RelativeFromTheStartFolderHomeAndFileAddressesWhole) {
  const std::string here = std::filesystem::current_path().string();
  const std::string parent = std::filesystem::current_path().parent_path().string();
  const std::string home = std::getenv("HOME");
  const struct {
    std::string typed, path;
  } cases[] = {
      {"broken.reg", here + "/broken.reg"},
      {"  pictures/./sun.png \t", here + "/pictures/sun.png"},
      {"../a/../b.reg", parent + "/b.reg"},
      {"~/文档/夜读.reg", home + "/文档/夜读.reg"},
      {"~", home},
      {"/srv/x/../y.png", "/srv/y.png"},
      {"file:///tmp/sun%20set.png", "/tmp/sun set.png"},
      {"file:///tmp/a%00b.png", ""},  // no path holds a NUL
      {"   ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PathTyped(c.typed), c.path) << "'" << c.typed << "'";
}

}  // namespace
