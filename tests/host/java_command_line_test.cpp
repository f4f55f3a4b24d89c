// The command line that starts the Java runtime.
#include "launcher/heap_size.h"
#include "launcher/java_command_line.h"
#include "launcher/launch_environment.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

namespace {

// The settings as the launch steps leave them for an installation at
// D:\Finance with two class-path entries.
LaunchSettings Prepared(const WString& jrehome, const WString& default_options, uint64_t memory) {
  EmulatedPlatform os;
  ScopedPlatform installed(os);
  os.set_current_directory(u"C:\\");
  os.fs().MakeDirectories(u"D:\\Finance\\jre");
  os.set_total_physical_memory(memory);
  LaunchSettings settings;
  settings.install_dir = u"D:\\Finance";
  settings.jrehome = jrehome;
  settings.default_options = default_options;
  settings.lib_classpath = u"lib\\app.jar;lib\\ext.jar";
  CDiskObject disk;
  addDefaultHeapSize(settings);
  checkLaunchEnvironment(settings, disk);
  return settings;
}

TEST(JavaCommandLine, AfterTheLaunchSteps) {
  const WString class_path = u"-classpath \"D:\\Finance\\lib\\app.jar\";\"D:\\Finance\\lib\\ext.jar\" com.zor.ledgrix.Tabex";
  WString own = BuildJavaCommandLine(Prepared(u"D:\\Finance\\jre", u"-Xms32m", 1073741824));
  EXPECT_EQ(own, u"D:\\Finance\\jre\\bin\\javaw -Xms32m -Xmx128m " + class_path);
  EXPECT_EQ(own.size(), 124u);
  WString found = BuildJavaCommandLine(Prepared(u"", u"", 268435456));
  EXPECT_EQ(found, u"javaw  -Xmx96m " + class_path);
  EXPECT_EQ(found.size(), 97u);
}

TEST(JavaCommandLine, TheProgramIsQuotedOnlyWhenItHoldsABlank) {
  struct Case {
    const char16_t* java_home;
    const char16_t* program;
  } cases[] = {
      {u"D:\\jre\\", u"D:\\jre\\\\bin\\javaw"},
      {u"C:\\Program Files\\jre\\", u"\"C:\\Program Files\\jre\\\\bin\\javaw\""},
      {u"C:\\Tab\there\\jre", u"\"C:\\Tab\there\\jre\\bin\\javaw\""},
      {u" C:\\jre", u"\" C:\\jre\\bin\\javaw\""},
  };
  for (const Case& c : cases) {
    LaunchSettings settings;
    settings.java_home = c.java_home;
    settings.use_jrehome = true;
    settings.default_options = u"-Xmx100m";
    settings.class_path = u"\"C:\\a b\\a.jar\"";
    EXPECT_EQ(BuildJavaCommandLine(settings), WString(c.program) + u" -Xmx100m -classpath \"C:\\a b\\a.jar\" com.zor.ledgrix.Tabex")
        << ToUtf8(c.java_home);
  }
}

}  // namespace
