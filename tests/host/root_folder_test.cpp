#include "launcher/command_line.h"
#include "launcher/root_folder.h"
#include "support/test_support.h"

namespace {

TEST(RootFolder, FollowsTheExecutableAndStripsOneBinLevel) {
  struct Case {
    const char16_t* executable;
    const char16_t* root;
  } cases[] = {
      {u"C:\\Apps\\Finance\\bin\\launcher.exe", u"C:\\Apps\\Finance"},
      {u"C:\\Apps\\Finance\\BIN\\launcher.exe", u"C:\\Apps\\Finance"},
      {u"C:\\Apps\\Finance\\Bin\\launcher.exe", u"C:\\Apps\\Finance"},
      {u"C:\\Apps\\Finance\\launcher.exe", u"C:\\Apps\\Finance"},
      {u"C:\\Apps\\bin\\bin\\launcher.exe", u"C:\\Apps\\bin"},
      {u"C:\\Apps\\binaries\\launcher.exe", u"C:\\Apps\\binaries"},
      {u"C:\\Apps\\bin2\\launcher.exe", u"C:\\Apps\\bin2"},
      {u"C:\\bin\\launcher.exe", u"C:"},
      {u"C:\\launcher.exe", u"C:"},
      {u"launcher.exe", u"launcher.exe"},
      {u"C:/Apps/bin/launcher.exe", u"C:/Apps/bin/launcher.exe"},  // '/' is no separator here
      {u"\\\\server\\share\\bin\\launcher.exe", u"\\\\server\\share"},
      // Only A-Z fold: a dotless capital I with a dot is another letter.
      {u"C:\\Apps\\B\u0130N\\launcher.exe", u"C:\\Apps\\B\u0130N"},
  };
  for (const Case& c : cases) {
    WString root = RootFolderOf(c.executable);
    EXPECT_EQ(root, c.root) << ToUtf8(c.executable);
    EXPECT_EQ(BootPathOf(root), WString(c.root) + u"\\ledgrix.boot");
  }
}

TEST(RootFolder, KeepsALongFolderWhole) {
  WString folder = u"C:\\" + WString(300, u'a');
  EXPECT_EQ(RootFolderOf(folder + u"\\bin\\ledgrix.exe"), folder);
}

TEST(CommandLineTail, SkipsTheProgramNameAndTheBlanksAfterIt) {
  struct Case {
    const char16_t* line;
    const char16_t* tail;
  } cases[] = {
      {u"ledgrix.exe -I a.ofx", u"-I a.ofx"},
      {u"\"C:\\Program Files\\L\\ledgrix.exe\" -I \"C:\\x y.ofx\"", u"-I \"C:\\x y.ofx\""},
      {u"C:\\Program Files\\L\\ledgrix.exe -I x", u"Files\\L\\ledgrix.exe -I x"},
      {u"a\"b c\"d  \t\x01 rest ", u"rest "},
      {u"ledgrix.exe", u""},
      {u"ledgrix.exe   ", u""},
      {u"", u""},
      {u"\"unclosed name -I x", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(WString(CommandLineTail(c.line)), c.tail) << ToUtf8(c.line);
  EXPECT_EQ(WString(CommandLineTail(nullptr)), u"");
}

}  // namespace
