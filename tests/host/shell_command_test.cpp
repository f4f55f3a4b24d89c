#include "filetypes/shell_command.h"

#include "support/test_support.h"

namespace {

TEST(ShellCommand, QuotesAnExecutablePathOnlyWhenItHasABlank) {
  struct Case {
    const char16_t* executable;
    const char16_t* open_command;
  } cases[] = {
      {u"C:\\Ledgrix\\bin\\ledgrix.exe", u"C:\\Ledgrix\\bin\\ledgrix.exe -I \"%1\""},
      {u"C:\\Program Files\\Example\\bin\\launcher.exe",
       u"\"C:\\Program Files\\Example\\bin\\launcher.exe\" -I \"%1\""},
      {u"C:\\Tab\there\\ledgrix.exe", u"\"C:\\Tab\there\\ledgrix.exe\" -I \"%1\""},
      {u"C:\\Ends in space \\ledgrix.exe", u"\"C:\\Ends in space \\ledgrix.exe\" -I \"%1\""},
      {u"\\\\server\\share\\Konto\u00e9\\ledgrix.exe", u"\\\\server\\share\\Konto\u00e9\\ledgrix.exe -I \"%1\""},
      // Only a blank or a tab splits a command line; other spaces do not.
      {u"C:\\No\u00a0Break\\ledgrix.exe", u"C:\\No\u00a0Break\\ledgrix.exe -I \"%1\""},
  };
  for (const Case& c : cases) EXPECT_EQ(OpenCommandFor(c.executable), c.open_command) << ToUtf8(c.executable);
}

TEST(ShellCommand, IconLocationIsTheUnquotedPathAndTheFirstIcon) {
  EXPECT_EQ(IconLocationFor(u"C:\\Program Files\\Example\\bin\\launcher.exe"),
            u"C:\\Program Files\\Example\\bin\\launcher.exe,0");
}

}  // namespace
