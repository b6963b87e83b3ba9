// The one way out to a terminal for text from outside: what a terminal would
// act on is written as an escape, everything else as it is, and a long text
// is cut where a character ends.
#include <gtest/gtest.h>

#include "platform/file/shown_text.h"

TEST(ShownText, EscapesWhatATerminalActsOnAndKeepsTheRest) {
  EXPECT_EQ(ShownText("春天 🌸花 Ünïcode"), "春天 🌸花 Ünïcode");
  // ESC with a screen-clearing sequence, BEL, CSI as a C1 control, DEL, a
  // byte that is not UTF-8, a line separator and a right-to-left override.
  EXPECT_EQ(ShownText("\x1b[2J\a\xc2\x9b\x7f\xff\xe2\x80\xa8\xe2\x80\xae"),
            "\\x1B[2J\\x07\\x9B\\x7F\\xFF\\u2028\\u202E");
  EXPECT_EQ(ShownText("a\tb\nc\r\x1b]0;title\a"), "a\\x09b\\x0Ac\\x0D\\x1B]0;title\\x07");
  // Overlong, surrogate and cut forms are bytes, each shown on its own.
  EXPECT_EQ(ShownText("\xc0\xaf|\xed\xa0\x80|\xe6\x98"), "\\xC0\\xAF|\\xED\\xA0\\x80|\\xE6\\x98");
  // Isolates and marks that turn the line around them.
  EXPECT_EQ(ShownText("\xe2\x81\xa6\xe2\x80\x8f"), "\\u2066\\u200F");
  // Cut to the characters asked, the last of them "…"; an escape is never cut.
  EXPECT_EQ(ShownText("春天来了", 3), "春天…");
  EXPECT_EQ(ShownText("ab\x1b", 6), "ab\\x1B");
  EXPECT_EQ(ShownText("ab\x1b" "c", 6), "ab…");
}
