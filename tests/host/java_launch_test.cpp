// The Java start: heap limit, class path, command line, and where javaw is
// looked for.
#include "launcher/java_launch.h"

#include <gtest/gtest.h>

TEST(JavaLaunch, HeapIsAQuarterOfTheMemoryBetween96And128MiB) {
  EXPECT_EQ(HeapOption(401604608), u" -Xmx96m");
  EXPECT_EQ(HeapOption(419430400), u" -Xmx100m");
  EXPECT_EQ(HeapOption(535822336), u" -Xmx127m");
  EXPECT_EQ(HeapOption(1ull << 42), u" -Xmx128m");
  EXPECT_TRUE(SetsHeapLimit(u"-Dnote=-Xmx"));
  EXPECT_FALSE(SetsHeapLimit(u"-xmx512m"));
}

// The count of separators recorded, then the entries.
static WString Split(WStringView lib_classpath) {
  std::vector<WString> entries;
  WString split = DecimalText(SplitString(lib_classpath, u";", &entries)) + u":";
  for (const WString& entry : entries) split += u" " + entry;
  return split;
}

TEST(JavaLaunch, ClassPathEntriesAreSplitAtEachSemicolonNotDirectlyAfterAnother) {
  EXPECT_EQ(Split(u"lib\\app.jar"), u"0:");
  EXPECT_EQ(Split(u"lib\\app.jar;"), u"1: lib\\app.jar");
  EXPECT_EQ(Split(u"a;b"), u"1: a b");
  EXPECT_EQ(Split(u"a;b;c"), u"2: a b c");
  EXPECT_EQ(Split(u"a;;b"), u"1: a ;b");
  EXPECT_EQ(Split(u"a;b;;"), u"2: a b ;");
  EXPECT_EQ(Split(u";a;b"), u"0:");
}

TEST(JavaLaunch, CommandLineQuotesWhatHoldsABlankOrEndsInABackslash) {
  const std::vector<WString> entries = {u" a ", u"c\\", u"b\\\\"};
  EXPECT_EQ(JavaCommandLine({u"C:\\a\tb", u"-Xms1m", u" -Xmx96m", ClassPathOf(u"D:\\F", entries)}),
            u"\"C:\\a\tb\\bin\\javaw\" -Xms1m -Xmx96m -classpath \"D:\\F\\ a \";"
            u"\"D:\\F\\c\\\\\";\"D:\\F\\b\\\\\\\\\" com.zor.ledgrix.Tabex");
}

TEST(JavaLaunch, JavawIsLookedForInAbsoluteFoldersOnly) {
  EXPECT_EQ(ProgramSearchPath(u"C:\\o", u"C:\\W\\s", u"C:\\W", u"D:\\j"),
            u"C:\\o;C:\\W\\s;C:\\W\\System;C:\\W;D:\\j");
  EXPECT_EQ(ProgramSearchPath(u"C:\\o", u"", u"C:\\W", u""), u"C:\\o;C:\\W\\System;C:\\W");
  EXPECT_EQ(ProgramSearchPath(u"C:\\o", u"C:\\W\\s", u"", u""), u"C:\\o;C:\\W\\s");
  EXPECT_EQ(
      ProgramSearchPath(u"C:\\o", u"", u"", u";;.;bin;.\\b;\\r;C:r;C:;\\\\s\\j;D:/x;//s/j;E:\\"),
      u"C:\\o;\\\\s\\j;D:/x;//s/j;E:\\");
}
