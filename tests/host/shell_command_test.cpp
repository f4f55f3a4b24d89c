#include "filetypes/shell_command.h"

#include "support/test_support.h"

namespace {

TEST(ShellCommand, QuotesTheExecutablePathOnlyWhenABlankOrTabSplitsItAndNeverInTheIcon) {
  struct Case {
    const char16_t *executable, *open_command;
  } cases[] = {
      {u"C:\\Ledgrix\\bin\\ledgrix.exe", u"C:\\Ledgrix\\bin\\ledgrix.exe -I \"%1\""},
      {u"C:\\Program Files\\ledgrix.exe", u"\"C:\\Program Files\\ledgrix.exe\" -I \"%1\""},
      {u"C:\\Tab\there\\ledgrix.exe", u"\"C:\\Tab\there\\ledgrix.exe\" -I \"%1\""},
      // Only a blank or a tab splits a command line; other spaces do not.
      {u"C:\\No\u00a0Break\\ledgrix.exe", u"C:\\No\u00a0Break\\ledgrix.exe -I \"%1\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OpenCommandFor(c.executable), c.open_command) << ToUtf8(c.executable);
    EXPECT_EQ(IconLocationFor(c.executable), WString(c.executable) + u",0");
  }
}

}  // namespace
