// The boxes' texts, as users report them.
#include "launcher/box_texts.h"

#include <gtest/gtest.h>

TEST(BoxTexts, ShowTheCodeAsASignedNumber) {
  EXPECT_EQ(FatalText(u"m", u"s", 0x80070057, u"t\r\n"),
            u"m\ns failed with error -2147024809: t\r\n\nPlease reinstall the application");
  EXPECT_EQ(JavaNotStartedText(0x80000000), u"CreateProcess failed (-2147483648)\n");
}
