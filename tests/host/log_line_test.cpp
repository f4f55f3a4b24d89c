// A line of the launcher's log.
#include <gtest/gtest.h>

#include "log/log.h"

TEST(LogLine, IsUtf8AfterTheTimeAndProcessIdWithItsLineBreaksWrittenOut) {
  const LocalTime time = {2026, 3, 7, 9, 5, 4, 12};
  EXPECT_EQ(LogLine(time, 4321, u"a\r\nb"), "2026-03-07 09:05:04.012 [4321] a<CR><LF>b\r\n");
  EXPECT_EQ(LogLine({}, 1, u"\u00e9\u0441\u20ac"),
            "0000-00-00 00:00:00.000 [1] \xC3\xA9\xD1\x81\xE2\x82\xAC\r\n");
  EXPECT_EQ(LogLine({}, 1, u"\u0080\u0800\U00010000\U0010FFFF"),
            "0000-00-00 00:00:00.000 [1] \xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\r\n");
  // A surrogate without its other half is no character.
  EXPECT_EQ(LogLine({}, 1, WString{0xDC00, 0xDC00, 0xD800, 0xE000, 0xD800}),
            "0000-00-00 00:00:00.000 [1] "
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEE\x80\x80\xEF\xBF\xBD\r\n");
}
