#include "launcher/command_line.h"
#include "launcher/root_folder.h"
#include "support/test_support.h"

namespace {

TEST(RootFolder, FollowsTheExecutableAndStripsOneBinLevel) {
  const WString long_folder = u"C:\\" + WString(300, u'a');
  struct Case {
    WString executable;
    WString root;
  } cases[] = {
      {u"C:\\Apps\\Finance\\bin\\launcher.exe", u"C:\\Apps\\Finance"},
      {u"C:\\Apps\\Finance\\BiN\\launcher.exe", u"C:\\Apps\\Finance"},
      {u"C:\\Apps\\Finance\\launcher.exe", u"C:\\Apps\\Finance"},
      {u"C:\\Apps\\bin\\bin\\launcher.exe", u"C:\\Apps\\bin"},
      {u"C:\\Apps\\bin2\\launcher.exe", u"C:\\Apps\\bin2"},
      {u"C:\\bin\\launcher.exe", u"C:"},
      {u"launcher.exe", u"launcher.exe"},
      {u"C:/Apps/bin/launcher.exe", u"C:/Apps/bin/launcher.exe"},  // '/' is no separator here
      {u"\\\\server\\share\\bin\\launcher.exe", u"\\\\server\\share"},
      {u"C:\\Apps\\B\u0130N\\launcher.exe", u"C:\\Apps\\B\u0130N"},  // only A-Z fold
      {long_folder + u"\\bin\\ledgrix.exe", long_folder},
  };
  for (const Case& c : cases) {
    WString root = RootFolderOf(c.executable);
    EXPECT_EQ(root, c.root) << ToUtf8(c.executable);
    EXPECT_EQ(BootPathOf(root), c.root + u"\\ledgrix.boot");
  }
}

TEST(CommandLineTail, SkipsTheProgramNameAndTheBlanksAfterIt) {
  struct Case {
    const char16_t* line;
    const char16_t* tail;
  } cases[] = {
      {u"\"C:\\Program Files\\L\\ledgrix.exe\" -I \"C:\\x y.ofx\"", u"-I \"C:\\x y.ofx\""},
      {u"C:\\Program Files\\L\\ledgrix.exe -I x", u"Files\\L\\ledgrix.exe -I x"},
      {u"a\"b c\"d  \t\x01 rest ", u"rest "},
      {u"ledgrix.exe   ", u""},
      {u"", u""},
      {u"\"unclosed name -I x", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(WString(CommandLineTail(c.line)), c.tail) << ToUtf8(c.line);
  EXPECT_EQ(WString(CommandLineTail(nullptr)), u"");
}

}  // namespace
