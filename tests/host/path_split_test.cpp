#include "disk/path_split.h"
#include "support/test_support.h"

namespace {

// Cut as the C runtime cuts; a part over 255 characters empties all four.
TEST(PathSplit, CutsAsTheCRuntimeDoes) {
  const WString at_limit(255, u'a');
  struct Case {
    WString path;
    bool too_long;
    WString drive = {}, directory = {}, name = {}, extension = {};
  } cases[] = {
      {u"C:\\dir\\sub\\name.ext", false, u"C:", u"\\dir\\sub\\", u"name", u".ext"},
      {u"C:name.tar.gz", false, u"C:", u"", u"name.tar", u".gz"},
      {u"dir/sub\\file", false, u"", u"dir/sub\\", u"file", u""},
      {u"\\\\server\\share\\f.txt", false, u"", u"\\\\server\\share\\", u"f", u".txt"},
      {u"\\\\?\\C:\\x\\y.z", false, u"C:", u"\\x\\", u"y", u".z"},
      {u"\\\\?\\", false, u"", u"", u"", u""},
      {u"dir.d\\.profile", false, u"", u"dir.d\\", u"", u".profile"},
      {u"a:b:c.", false, u"a:", u"", u"b:c", u"."},
      {u"C:" + WString(254, u'd') + u"\\" + at_limit + u"." + WString(254, u'e'), false, u"C:",
       WString(254, u'd') + u"\\", at_limit, u"." + WString(254, u'e')},
      {u"\\\\?\\C:" + WString(254, u'd') + u"\\x", false, u"C:", WString(254, u'd') + u"\\", u"x", u""},
      {u"C:" + WString(255, u'd') + u"\\x", true},
      {u"C:\\" + at_limit + u"a", true},
      {u"C:\\x." + at_limit, true},  // the dot counts
  };
  for (const Case& c : cases) {
    PathParts parts = SplitPath(c.path);
    EXPECT_EQ(parts.too_long, c.too_long) << c.path.size();
    EXPECT_EQ(parts.drive + u"|" + parts.directory + u"|" + parts.name + u"|" + parts.extension,
              c.drive + u"|" + c.directory + u"|" + c.name + u"|" + c.extension)
        << ToUtf8(c.path.substr(0, 40));
  }
}

}  // namespace
