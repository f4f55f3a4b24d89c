// The values a start computes: where the boot file is, the command-line tail,
// the fatal box, the heap option, the class path and the Java command line.
#include "fake_system.h"
#include "launcher/launch_values.h"

namespace {

TEST(LaunchValues, BootPathFollowsTheExecutableAndStripsOneBinLevel) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"C:\\App\\bin\\ledgrix.exe", u"C:\\App\\ledgrix.boot"},
      {u"C:\\App\\BiN\\ledgrix.exe", u"C:\\App\\ledgrix.boot"},
      {u"C:\\App\\binaries\\ledgrix.exe", u"C:\\App\\binaries\\ledgrix.boot"},
      {u"C:\\bin\\bin\\ledgrix.exe", u"C:\\bin\\ledgrix.boot"},
      {u"C:\\ledgrix.exe", u"C:\\ledgrix.boot"},
      {u"\\\\?\\C:\\App\\bin\\l.exe", u"\\\\?\\C:\\App\\ledgrix.boot"},
  };
  for (const auto& [module, boot] : cases) EXPECT_EQ(Narrow(BootPathOf(RootFolderOf(module))), Narrow(boot));
}

TEST(LaunchValues, TheTailFollowsTheProgramNameAndItsBlanks) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"\"C:\\Program Files\\l.exe\" \t -I x", u"-I x"},
      {u"C:\\Program Files\\l.exe -I x", u"Files\\l.exe -I x"},
      {u"l.exe\x01\x02-I", u"-I"},
      {u"\"unclosed -I x", u""},
      {u"l\"a b\"c -I", u"-I"},
      {u"", u""},
  };
  for (const auto& [line, tail] : cases) EXPECT_EQ(Narrow(CommandLineTail(line)), Narrow(tail));
}

TEST(LaunchValues, FatalTextWithAndWithoutAContext) {
  EXPECT_EQ(FatalText(u"Unable to open file: C:\\a", u"parseConfigFile", 2, u"Not found.\r\n"),
            u"Unable to open file: C:\\a\nparseConfigFile failed with error 2: Not found.\r\n\n"
            u"Please reinstall the application");
  EXPECT_EQ(FatalText(u"m", u"c", 0x80000000u, u"t"), u"m\nc failed with error -2147483648: t\nPlease reinstall the application");
  EXPECT_EQ(FatalText(u"m", nullptr, 5, u"t"), u"m\nPlease reinstall the application");
}

TEST(LaunchValues, HeapIsAQuarterOfTheMemoryBetween96And128MiB) {
  const std::tuple<const char16_t*, uint64_t, const char16_t*> cases[] = {
      {u"", 268435456, u" -Xmx96m"},         {u"", 401604608, u" -Xmx96m"},  {u"", 402653184, u" -Xmx96m"},
      {u"", 419430400, u" -Xmx100m"},        {u"", 535822336, u" -Xmx127m"}, {u"", 536870912, u" -Xmx128m"},
      {u"", 4294967295, u" -Xmx128m"},       {u"", 1ull << 42, u" -Xmx128m"}, {u"-xmx512m", 0, u" -Xmx96m"},
      {u"-Dnote=-Xmx", 1ull << 30, u""},     {u"-Xmx512m", 0, u""},
  };
  for (const auto& [options, memory, option] : cases) EXPECT_EQ(HeapOption(options, memory), option) << memory;
}

TEST(LaunchValues, SplitStringRecognisesNoDelimiterRightAfterAnother) {
  struct Case {
    const char16_t* source;
    int32_t count;
    std::vector<WString> pieces;
  } cases[] = {
      {u"", 0, {}},           {u"lib\\app.jar", 0, {}},        {u"lib\\app.jar;", 1, {u"lib\\app.jar"}},
      {u"a;b", 1, {u"a", u"b"}}, {u"a;b;", 2, {u"a", u"b"}},     {u"a;b;c", 2, {u"a", u"b", u"c"}},
      {u"a;;b", 1, {u"a", u";b"}}, {u"a;b;;", 2, {u"a", u"b", u";"}}, {u";a;b", 0, {}},
  };
  for (const Case& c : cases) {
    std::vector<WString> pieces = {u"kept"};
    EXPECT_EQ(splitString(c.source, u";", &pieces), c.count) << Narrow(c.source);
    std::vector<WString> expected = {u"kept"};
    expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
    EXPECT_EQ(pieces, expected) << Narrow(c.source);
  }
  std::vector<WString> pieces;
  EXPECT_EQ(splitString(u"a::b::::c", u"::", &pieces), 2);
  EXPECT_EQ(pieces, (std::vector<WString>{u"a", u"b", u"::c"}));
}

// Entries are quoted whole: backslashes before a closing quote are doubled.
TEST(LaunchValues, ClassPathEntriesAreQuotedAbsolute) {
  EXPECT_EQ(ClassPathOf(u"D:\\Finance", {u"lib\\app.jar", u"lib\\ext.jar"}),
            u"\"D:\\Finance\\lib\\app.jar\";\"D:\\Finance\\lib\\ext.jar\"");
  EXPECT_EQ(ClassPathOf(u"D:\\F\\", {u" a ", u"classes\\", u"b\\\\"}),
            u"\"D:\\F\\\\ a \";\"D:\\F\\\\classes\\\\\";\"D:\\F\\\\b\\\\\\\\\"");
  EXPECT_EQ(ClassPathOf(u"D:\\F", {}), u"");
}

TEST(LaunchValues, TheJavaProgramIsQuotedOnlyWhenItHoldsABlank) {
  const WString tail = u" -classpath \"D:\\F\\a.jar\" com.zor.ledgrix.Tabex";
  const std::tuple<const char16_t*, const char16_t*, WString> cases[] = {
      {u"D:\\Finance\\jre", u"-Xms32m -Xmx128m", u"D:\\Finance\\jre\\bin\\javaw -Xms32m -Xmx128m" + tail},
      {u"", u" -Xmx96m", u"javaw  -Xmx96m" + tail},
      {u"D:\\jre\\", u"o", u"D:\\jre\\\\bin\\javaw o" + tail},
      {u"C:\\Program Files\\jre", u"o", u"\"C:\\Program Files\\jre\\bin\\javaw\" o" + tail},
      {u"C:\\Tab\there", u"o", u"\"C:\\Tab\there\\bin\\javaw\" o" + tail},
  };
  for (const auto& [java_home, options, line] : cases) {
    LaunchSettings settings{.java_home = java_home, .class_path = u"\"D:\\F\\a.jar\"", .default_options = options};
    settings.use_jrehome = !settings.java_home.empty();
    EXPECT_EQ(Narrow(BuildJavaCommandLine(settings)), Narrow(line));
  }
}

// The current folder, and PATH entries relative to it, are never searched.
TEST(LaunchValues, ProgramSearchPathFollowsTheSystemsOrderWithoutTheCurrentFolder) {
  EXPECT_EQ(Narrow(ProgramSearchPath(u"C:\\App\\bin", u"C:\\w\\system32", u"C:\\w",
                                     u"C:\\jdk\\bin;;.;bin;\\\\server\\java;D:/x;C:rel;\\root;//s/j")),
            "C:\\App\\bin;C:\\w\\system32;C:\\w\\System;C:\\w;C:\\jdk\\bin;\\\\server\\java;D:/x;//s/j");
  EXPECT_EQ(Narrow(ProgramSearchPath(u"o", u"s", u"w", u"")), "o;s;w\\System;w");
}

}  // namespace
