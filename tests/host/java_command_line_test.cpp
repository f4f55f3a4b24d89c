// The command line that starts the Java runtime.
#include "launcher/java_command_line.h"
#include "support/test_support.h"

namespace {

TEST(JavaCommandLine, TheProgramIsQuotedOnlyWhenItHoldsABlank) {
  const WString tail = u"-classpath \"D:\\Finance\\lib\\app.jar\";\"D:\\Finance\\lib\\ext.jar\" com.zor.ledgrix.Tabex";
  struct Case {
    const char16_t* java_home;  // empty: the runtime the system finds
    const char16_t* options;    // as the heap step leaves them
    WString line;
  } cases[] = {
      {u"D:\\Finance\\jre", u"-Xms32m -Xmx128m", u"D:\\Finance\\jre\\bin\\javaw -Xms32m -Xmx128m " + tail},  // 124 characters
      {u"", u" -Xmx96m", u"javaw  -Xmx96m " + tail},  // 97 characters
      {u"D:\\jre\\", u"o", u"D:\\jre\\\\bin\\javaw o " + tail},
      {u"C:\\Program Files\\jre\\", u"o", u"\"C:\\Program Files\\jre\\\\bin\\javaw\" o " + tail},
      {u"C:\\Tab\there\\jre", u"o", u"\"C:\\Tab\there\\jre\\bin\\javaw\" o " + tail},
      {u" C:\\jre", u"o", u"\" C:\\jre\\bin\\javaw\" o " + tail},
  };
  for (const Case& c : cases) {
    LaunchSettings settings;
    settings.java_home = c.java_home;
    settings.use_jrehome = !settings.java_home.empty();
    settings.default_options = c.options;
    settings.class_path = u"\"D:\\Finance\\lib\\app.jar\";\"D:\\Finance\\lib\\ext.jar\"";
    EXPECT_EQ(BuildJavaCommandLine(settings), c.line) << ToUtf8(c.java_home);
  }
}

// The current folder, and PATH entries relative to it, are never searched.
TEST(ProgramSearchPath, FollowsTheSystemsOrderWithoutTheCurrentFolder) {
  struct Case {
    const char16_t* path_variable;
    const char16_t* search_path_tail;  // after own;system;windows\System;windows
  } cases[] = {
      {u"", u""},
      {u"C:\\jdk\\bin;;.;bin;\\\\server\\java;D:/x;C:rel;\\root", u";C:\\jdk\\bin;\\\\server\\java;D:/x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramSearchPath(u"C:\\App\\bin", u"C:\\windows\\system32", u"C:\\windows", c.path_variable),
              u"C:\\App\\bin;C:\\windows\\system32;C:\\windows\\System;C:\\windows" + WString(c.search_path_tail))
        << ToUtf8(c.path_variable);
  }
}

}  // namespace
