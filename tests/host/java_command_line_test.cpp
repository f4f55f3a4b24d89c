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

}  // namespace
