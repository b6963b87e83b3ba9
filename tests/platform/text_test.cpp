// Text layout: Chinese word breaking, the end ellipsis, and the question
// tests of other areas ask: was this text cut?
#include <gtest/gtest.h>

#include <string>

#include "platform/shell/canvas.h"
#include "platform/ui/ui_static.h"

namespace {

const std::u16string kParagraph =
    u"  这个程序可以修改系统和应用程序的字体颜色和窗口颜色，一共提供了65种颜色。"
    u"最后一种看起来是灰白色的，它就是系统默认的窗口颜色，用来在颜色被改乱以后恢复原样。"
    u"使用方法：点一下颜色图标，再选择要修改的项目（修改后要重新启动手机才能生效）。";

// Characters that must never begin a line in Chinese text.
bool ClosingPunctuation(char16_t c) {
  return std::u16string_view(u"，。、：；！？）》」”").find(c) != std::u16string_view::npos;
}

}  // namespace

TEST(TextLayout, ChineseTextBreaksBetweenCharactersButNotBeforeClosingPunctuation) {
  for (int width : {120, 157, 200, 263, 300, 440}) {
    SCOPED_TRACE(testing::Message() << "width " << width);
    const auto lines = Canvas::BreakLines(kParagraph, width, DT_WORDBREAK, UiStatic::kFontPx);
    ASSERT_GT(lines.size(), 1u);
    std::u16string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      joined += lines[i];
      const TextMetrics m = Canvas::MeasureText(lines[i], 10000, 100, DT_SINGLELINE, UiStatic::kFontPx);
      EXPECT_LE(m.width, width) << "line " << i << " is wider than the box";
      if (i > 0) {
        ASSERT_FALSE(lines[i].empty());
        EXPECT_FALSE(ClosingPunctuation(lines[i][0])) << "line " << i << " starts with punctuation";
      }
    }
    EXPECT_EQ(joined, kParagraph) << "no character lost or added";
  }
  // Explicit line feeds always break.
  EXPECT_EQ(Canvas::BreakLines(u"一\n二\n三", 400, DT_WORDBREAK, 20).size(), 3u);
  // Without DT_WORDBREAK nothing wraps.
  EXPECT_EQ(Canvas::BreakLines(kParagraph, 100, 0, 20).size(), 1u);
}

TEST(TextLayout, StaticTextReportsWhetherItWasCut) {
  UiStatic text;
  text.SetDisplayText(kParagraph.c_str());
  text.SetDrawTextFormat(DT_WORDBREAK | DT_END_ELLIPSIS);
  text.SetBounds(0, 0, 300, 1000);
  const int needed = text.MeasureTextHeight();
  EXPECT_GT(needed, 4 * 20);
  EXPECT_FALSE(text.IsTextCut());
  text.SetBounds(0, 0, 300, needed);
  EXPECT_FALSE(text.IsTextCut()) << "exactly tall enough";
  text.SetBounds(0, 0, 300, needed - 10);
  EXPECT_TRUE(text.IsTextCut()) << "one line short: ellipsis";
  text.SetBounds(0, 0, 300, 30);
  EXPECT_TRUE(text.IsTextCut());
  // The ellipsis is what cuts it: the laid-out height stays within the box.
  const TextMetrics m =
      Canvas::MeasureText(kParagraph, 300, 90, DT_WORDBREAK | DT_END_ELLIPSIS, UiStatic::kFontPx);
  EXPECT_TRUE(m.cut);
  EXPECT_LE(m.height, 90);

  // Word break without ellipsis: lines below the bottom are cut off.
  text.SetDrawTextFormat(DT_WORDBREAK);
  text.SetBounds(0, 0, 300, 60);
  EXPECT_TRUE(text.IsTextCut());
  // A single line too wide for its box.
  text.SetDrawTextFormat(DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_TRUE(text.IsTextCut());
  text.SetDisplayText(u"短");
  EXPECT_FALSE(text.IsTextCut());
  text.SetDisplayText(nullptr);
  EXPECT_EQ(text.GetText(), u"");
  EXPECT_FALSE(text.IsTextCut());
}
