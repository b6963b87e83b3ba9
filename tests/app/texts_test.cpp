// The texts' shape: line counts, exact first lines, the labels of the usage
// text, no carriage returns and no trailing line feed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/texts.h"
#include "platform/file/utf16.h"

namespace {

std::vector<std::u16string> SplitLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(u'\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::u16string::npos) break;
    start = end + 1;
  }
  return lines;
}

void ExpectCleanLines(const std::u16string& text, std::size_t expected_lines) {
  EXPECT_EQ(text.find(u'\r'), std::u16string::npos) << "carriage return in the text";
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), u'\n') << "line feed after the last line";
  const auto lines = SplitLines(text);
  EXPECT_EQ(lines.size(), expected_lines);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_FALSE(lines[i].empty()) << "line " << i + 1 << " is empty (double line feed)";
  }
}

TEST(UsageText, HasTwentyThreeLinesWithSingleLineFeeds) {
  ExpectCleanLines(tintor_text::kUsageText, 23);
}

TEST(UsageText, TitleLineIsFifteenSpacesAndTheHeading) {
  const auto lines = SplitLines(tintor_text::kUsageText);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], std::u16string(15, u' ') + u"使用说明：");
  EXPECT_EQ(lines[0].size(), 20u);
  EXPECT_EQ(lines[0][19], u'\uFF1A');
}

TEST(UsageText, IntroductionAndClosingAreIndentedByTwoSpaces) {
  const auto lines = SplitLines(tintor_text::kUsageText);
  ASSERT_EQ(lines.size(), 23u);
  for (std::size_t i : {std::size_t{1}, std::size_t{22}}) {
    SCOPED_TRACE("line " + std::to_string(i + 1));
    ASSERT_GE(lines[i].size(), 3u);
    EXPECT_EQ(lines[i].substr(0, 2), u"  ");
    EXPECT_NE(lines[i][2], u' ');
  }
  // The introduction names the number of colours and says to restart.
  EXPECT_NE(lines[1].find(u"65"), std::u16string::npos);
  EXPECT_NE(lines[1].find(u"重启"), std::u16string::npos);
}

TEST(UsageText, ItemParagraphsCarryNumberAndLabelInMenuOrder) {
  // The labels as the help text has them; three differ in wording from the menu.
  const char16_t* const labels[20] = {
      u"歌词阴影颜色", u"锁屏星期文字", u"锁屏年月日与时间", u"窗口背景", u"窗口文字",
      u"扩展按钮主要文字", u"扩展按钮次要文本颜色", u"普通按钮文字",
      u"日历标题\u3001年月日\u3001星期", u"日历\u201C没有事件\u201D",
      u"按静音快捷键出现的对话框文字", u"列表注释文字", u"工具栏禁用文字", u"工具栏文本",
      u"列表项文字", u"列表次要文字2", u"列表次要文字3", u"静态控件文字", u"文本框字体",
      u"标签文字"};
  const auto lines = SplitLines(tintor_text::kUsageText);
  ASSERT_EQ(lines.size(), 23u);
  for (int n = 1; n <= 20; ++n) {
    const std::u16string& line = lines[static_cast<std::size_t>(n + 1)];
    SCOPED_TRACE("item " + std::to_string(n) + ": " + Utf16ToUtf8(line));
    std::u16string prefix = u"  ";
    for (char c : std::to_string(n)) prefix += static_cast<char16_t>(c);
    prefix += u"\u3001";
    prefix += labels[n - 1];
    prefix += u"\uFF1A";
    ASSERT_GE(line.size(), prefix.size());
    EXPECT_EQ(line.substr(0, prefix.size()), prefix);
    EXPECT_GT(line.size(), prefix.size() + 4) << "no explanation after the label";
  }
}

TEST(AboutText, HasEightLinesNamingProductVersionAndDate) {
  const std::u16string about = tintor_text::AboutText(u"/srv/phone one/registry.reg", u"（来处）");
  ExpectCleanLines(about, 8);
  const auto lines = SplitLines(about);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[5], u"/srv/phone one/registry.reg") << "the registry file in use";
  EXPECT_EQ(lines[6], u"（来处）") << "where that file comes from";
  EXPECT_NE(lines[0].find(u"Tintor"), std::u16string::npos);
  EXPECT_NE(lines[1].find(u"1.0"), std::u16string::npos);
  EXPECT_NE(lines[1].find(u"年"), std::u16string::npos);
  EXPECT_EQ(std::u16string(tintor_text::kAboutCaption), u"关于");
}

}  // namespace
