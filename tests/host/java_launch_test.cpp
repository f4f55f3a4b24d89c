// The Java start: heap limit, class path entries, and where javaw is looked
// for. How Java reads the command line is seen under Wine.
#include "launcher/java_launch.h"

#include <gtest/gtest.h>

#include "disk/path_rules.h"

TEST(JavaLaunch, HeapIsAQuarterOfTheMemoryBetween96And128MiB) {
  EXPECT_EQ(HeapOption(401604608), u" -Xmx96m");
  EXPECT_EQ(HeapOption(419430400), u" -Xmx100m");
  EXPECT_EQ(HeapOption(535822336), u" -Xmx127m");
  EXPECT_TRUE(SetsHeapLimit(u"-Dnote=-Xmx"));
  EXPECT_FALSE(SetsHeapLimit(u"-xmx512m"));
}

using Split = std::pair<int32_t, std::vector<WString>>;

static Split SplitClassPath(WStringView lib_classpath) {
  std::vector<WString> entries;
  const int32_t count = SplitString(lib_classpath, u";", &entries);
  return {count, entries};
}

TEST(JavaLaunch, ClassPathEntriesAreSplitAtEachSemicolonNotDirectlyAfterAnother) {
  EXPECT_EQ(SplitClassPath(u"lib\\app.jar"), (Split{0, {}}));
  EXPECT_EQ(SplitClassPath(u"lib\\app.jar;"), (Split{1, {u"lib\\app.jar"}}));
  EXPECT_EQ(SplitClassPath(u"a;b;c"), (Split{2, {u"a", u"b", u"c"}}));
  EXPECT_EQ(SplitClassPath(u"a;;b"), (Split{1, {u"a", u";b"}}));
  EXPECT_EQ(SplitClassPath(u"a;b;;"), (Split{2, {u"a", u"b", u";"}}));
  EXPECT_EQ(SplitClassPath(u";a;b"), (Split{0, {}}));
}

TEST(JavaLaunch, JavawIsLookedForInAbsoluteFoldersOnly) {
  EXPECT_EQ(ProgramSearchPath(u"C:\\o", u"C:\\W\\s", u"C:\\W", u"D:\\j"),
            u"C:\\o;C:\\W\\s;C:\\W\\System;C:\\W;D:\\j");
  EXPECT_EQ(ProgramSearchPath(u"C:\\o", u"", u"C:\\W", u""), u"C:\\o;C:\\W\\System;C:\\W");
  EXPECT_EQ(ProgramSearchPath(FolderOf(u"C:\\ledgrix.exe"), u"", u"", u""), u"C:\\");
  EXPECT_EQ(
      ProgramSearchPath(u"C:\\o", u"", u"", u";;.;bin;.\\b;\\r;C:r;C:;\\\\s\\j;D:/x;//s/j;E:\\"),
      u"C:\\o;\\\\s\\j;D:/x;//s/j;E:\\");
}
