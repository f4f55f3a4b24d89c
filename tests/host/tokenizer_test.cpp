// The command line: its tail after the program name, and the documents named
// in it.
#include "handoff/tokenizer.h"

#include <gtest/gtest.h>

TEST(CommandLine, TailFollowsTheProgramNameAndTheBlanksAfterIt) {
  EXPECT_EQ(CommandLineTail(u"\"C:\\P F\\ledgrix.exe\" \t\x01-I x"), u"-I x");
  EXPECT_EQ(CommandLineTail(u"C:\\P F\\ledgrix.exe -I x"), u"F\\ledgrix.exe -I x");
  EXPECT_EQ(CommandLineTail(u"l\"a b\"c -I"), u"-I");
  EXPECT_EQ(CommandLineTail(u"ledgrix.exe  "), u"");
  EXPECT_EQ(CommandLineTail(u"ledgrix.exe"), u"");
}

TEST(Tokenizer, TakesThePathAfterEachDashI) {
  EXPECT_EQ(TokenizeCommandLine(u"x -I \"C:\\My F\\a.ofx\" -I b"),
            (ImportList{u"C:\\My F\\a.ofx", u"b"}));
  EXPECT_EQ(TokenizeCommandLine(u"-i a -Ix b -I=c -I"), ImportList{});
  EXPECT_EQ(TokenizeCommandLine(u"-I -I a.ofx"), ImportList{u"-I"});
  EXPECT_EQ(TokenizeCommandLine(u"-I \"\" -I \"a\"\"b\""), (ImportList{u"", u"a\"b"}));
  EXPECT_EQ(TokenizeCommandLine(u"-I 'it''s' -I \"it's\""), (ImportList{u"it's", u"it's"}));
  EXPECT_EQ(TokenizeCommandLine(u"-I '\"x\"' -I \"C:\\d\\\""), (ImportList{u"\"x\"", u"C:\\d\\"}));
  EXPECT_EQ(TokenizeCommandLine(u"-I \"C:\\open end.ofx"), ImportList{u"C:\\open end.ofx"});
  EXPECT_EQ(TokenizeCommandLine(u"-I \"a b\"c -I ab'c d'"), (ImportList{u"a b", u"ab'c"}));
  EXPECT_EQ(TokenizeCommandLine(u"-I\ta\r-I\nb -I \va\f"), (ImportList{u"a", u"b", u"\va\f"}));
}
