// Every swatch applied to every target: exactly the chosen target's value
// changes, to exactly that swatch's colour value, as a REG_DWORD under the
// target's key, and one success box follows each choice.
#include <gtest/gtest.h>

#include "model/color_swatches.h"
#include "model/theme_targets.h"
#include "tests/app/app_test_support.h"

namespace {

class EverySwatchEveryTarget : public AppTest,
                               public ::testing::WithParamInterface<std::size_t> {};

constexpr DWORD kSentinel = 0xA5A5A5A5u;  // no swatch has this value

std::vector<unsigned char> Le32(DWORD v) {
  return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
          static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
}

TEST_P(EverySwatchEveryTarget, WritesExactlyTheChosenValue) {
  const ColorSwatch& swatch = kColorSwatches[GetParam()];
  SCOPED_TRACE("swatch " + std::to_string(swatch.control_id));
  // Every target starts with a value no swatch writes, so each write shows.
  for (const ThemeTarget& t : kThemeTargets) {
    ASSERT_TRUE(WriteRegistryDword(t.key, t.value_name, kSentinel));
  }
  OpenMainWindow();

  std::vector<DWORD> expected(kThemeTargetCount, kSentinel);
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
    SCOPED_TRACE("target " + std::to_string(i + 1) + " " + Utf8(kThemeTargets[i].value_name));
    ClearLog();
    AnswerMenus({static_cast<int>(i)});
    Notify(static_cast<WPARAM>(swatch.control_id), 0);
    expected[i] = swatch.color;

    ASSERT_EQ(log().menus, 1);
    ASSERT_EQ(log().boxes.size(), 1u);
    EXPECT_EQ(log().boxes[0].text, u"设置成功");
    EXPECT_EQ(log().boxes[0].caption, u"成功");

    RegistryHive hive;
    ASSERT_TRUE(LoadFileHive(hive));
    for (std::size_t j = 0; j < kThemeTargetCount; ++j) {
      const FileDword v = FindValue(hive, kThemeTargets[j].key, kThemeTargets[j].value_name);
      ASSERT_TRUE(v.present) << "target " << j + 1;
      EXPECT_EQ(v.type, 4u) << "target " << j + 1;
      EXPECT_EQ(v.data, Le32(expected[j])) << "target " << j + 1;
    }
  }
  EXPECT_EQ(FileValueCount(), kThemeTargetCount) << "a value was written elsewhere";
}

INSTANTIATE_TEST_SUITE_P(AllSwatches, EverySwatchEveryTarget,
                         ::testing::Range<std::size_t>(0, kColorSwatchCount),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           return "swatch_" +
                                  std::to_string(kColorSwatches[info.param].control_id);
                         });

}  // namespace
