#include "disk/path_split.h"
#include "support/test_support.h"

namespace {

TEST(PathSplit, CutsAsTheCRuntimeDoes) {
  struct Case {
    WString path, drive, directory, name, extension;
  } cases[] = {
      {u"C:\\dir\\sub\\name.ext", u"C:", u"\\dir\\sub\\", u"name", u".ext"},
      {u"name", u"", u"", u"name", u""},
      {u"C:name.tar.gz", u"C:", u"", u"name.tar", u".gz"},
      {u"dir/sub\\file", u"", u"dir/sub\\", u"file", u""},
      {u"\\\\server\\share\\f.txt", u"", u"\\\\server\\share\\", u"f", u".txt"},
      {u"\\\\?\\C:\\x\\y.z", u"C:", u"\\x\\", u"y", u".z"},
      {u"\\\\?\\", u"", u"", u"", u""},
      {u"\\\\?", u"", u"\\\\", u"?", u""},
      {u"dir.d\\file", u"", u"dir.d\\", u"file", u""},
      {u".profile", u"", u"", u"", u".profile"},
      {u"file.", u"", u"", u"file", u"."},
      {u"..\\a", u"", u"..\\", u"a", u""},
      {u"C:", u"C:", u"", u"", u""},
      {u"a:b:c.d", u"a:", u"", u"b:c", u".d"},
      {u"x\\", u"", u"x\\", u"", u""},
      {u"", u"", u"", u"", u""},
  };
  for (const Case& c : cases) {
    PathParts parts = SplitPath(c.path);
    EXPECT_FALSE(parts.too_long) << ToUtf8(c.path);
    EXPECT_EQ(parts.drive, c.drive) << ToUtf8(c.path);
    EXPECT_EQ(parts.directory, c.directory) << ToUtf8(c.path);
    EXPECT_EQ(parts.name, c.name) << ToUtf8(c.path);
    EXPECT_EQ(parts.extension, c.extension) << ToUtf8(c.path);
  }
}

TEST(PathSplit, APartOver255CharactersEmptiesAllFour) {
  const WString at_limit(255, u'a');
  const WString over(256, u'a');
  struct Case {
    WString path;
    bool too_long;
  } cases[] = {
      {u"C:" + WString(254, u'd') + u"\\" + at_limit + u"." + WString(254, u'e'), false},
      {u"C:" + WString(255, u'd') + u"\\x", true},
      {u"C:\\" + over, true},
      {u"C:\\x." + at_limit, true},  // the dot counts
      {u"\\\\?\\C:" + WString(254, u'd') + u"\\x", false},
      {WString(5000, u'\\'), true},
  };
  for (const Case& c : cases) {
    PathParts parts = SplitPath(c.path);
    EXPECT_EQ(parts.too_long, c.too_long) << c.path.size();
    if (!c.too_long) continue;
    EXPECT_EQ(parts.drive + parts.directory + parts.name + parts.extension, u"") << c.path.size();
  }
}

TEST(PathSplit, TheWholeSplitKeepsEveryPartAtAnyLength) {
  const WString directory = u"\\" + WString(300, u'd') + u"\\";
  const WString name(300, u'n');
  const WString extension = u"." + WString(300, u'e');
  for (const WString& prefix : {WString(), WString(u"\\\\?\\")}) {
    PathParts parts = SplitWholePath(prefix + u"C:" + directory + name + extension);
    EXPECT_FALSE(parts.too_long);
    EXPECT_EQ(parts.drive, u"C:");
    EXPECT_EQ(parts.directory, directory);
    EXPECT_EQ(parts.name, name);
    EXPECT_EQ(parts.extension, extension);
  }
  PathParts within = SplitWholePath(u"C:\\dir\\name.ext");
  PathParts limited = SplitPath(u"C:\\dir\\name.ext");
  EXPECT_EQ(within.drive + u"|" + within.directory + u"|" + within.name + u"|" + within.extension,
            limited.drive + u"|" + limited.directory + u"|" + limited.name + u"|" + limited.extension);
}

}  // namespace
