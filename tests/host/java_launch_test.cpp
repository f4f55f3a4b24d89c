// Starting the Java process, waiting for it, and a start that fails.
#include <algorithm>

#include "launcher/java_launch.h"
#include "platform/emulated_platform.h"
#include "support/test_support.h"

namespace {

class LaunchJava : public ::testing::Test {
 protected:
  LaunchJava() : installed_(os_) {
    os_.set_current_directory(u"C:\\");
    os_.fs().MakeDirectories(u"D:\\Finance\\lib");
    os_.fs().WriteFile(u"D:\\Finance\\jre\\bin\\javaw.exe", "MZ");
    settings_.install_dir = u"D:\\Finance";
    settings_.java_home = u"D:\\Finance\\jre";
    settings_.use_jrehome = true;
    settings_.default_options = u"-Xmx128m";
    settings_.class_path = u"\"D:\\Finance\\lib\\app.jar\"";
  }
  EmulatedPlatform os_;
  ScopedPlatform installed_;
  LaunchSettings settings_;
};

TEST_F(LaunchJava, StartsTheRuntimeWithoutAWindowInTheInstallationAndWaits) {
  launchJava(settings_, u"C:\\Program Files\\Ledgrix\\bin");
  ASSERT_EQ(os_.processes().size(), 1u);
  const RecordedProcess& java = os_.processes()[0];
  EXPECT_EQ(java.command_line,
            u"D:\\Finance\\jre\\bin\\javaw -Xmx128m -classpath \"D:\\Finance\\lib\\app.jar\" com.zor.ledgrix.Tabex");
  EXPECT_EQ(java.program, u"D:\\Finance\\jre\\bin\\javaw.exe");
  EXPECT_EQ(java.current_directory, u"D:\\Finance");
  EXPECT_EQ(java.creation_flags, 0x08000020u);
  EXPECT_TRUE(java.inherit_handles);
  EXPECT_TRUE(java.waited);
  EXPECT_TRUE(java.process_handle_closed);
  EXPECT_TRUE(java.thread_handle_closed);
  EXPECT_EQ(os_.open_handle_count(), 0u);
  EXPECT_TRUE(os_.boxes().empty());
  const auto& log = os_.log();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.starts_with("WaitForSingleObject ") && line.ends_with(" 4294967295");
  })) << "waited without a time-out";
}

TEST_F(LaunchJava, AFailedStartIsToldInABoxOfItsOwnAndReturns) {
  struct Case {
    uint32_t fail;         // 0: the runtime folder lacks the program
    const char16_t* text;
  } cases[] = {
      {0, u"CreateProcess failed (2)\n"},
      {206, u"CreateProcess failed (206)\n"},
      {0x80000000u, u"CreateProcess failed (-2147483648)\n"},
  };
  for (const Case& c : cases) {
    EmulatedPlatform os;
    ScopedPlatform installed(os);
    os.fs().MakeDirectories(u"D:\\Finance\\lib");
    LaunchSettings settings = settings_;
    if (c.fail != 0) os.FailNext(Op::CreateProcess, c.fail);
    else settings.java_home = u"D:\\Finance\\lib";
    launchJava(settings, u"C:\\Program Files\\Ledgrix\\bin");
    EXPECT_TRUE(os.processes().empty());
    ASSERT_EQ(os.boxes().size(), 1u);
    EXPECT_EQ(os.boxes()[0].text, c.text);
    EXPECT_EQ(os.boxes()[0].caption, u"Error");
    EXPECT_EQ(os.boxes()[0].style, kMbOk) << "an OK button and no icon";
    EXPECT_FALSE(os.exit_code().has_value());
    EXPECT_EQ(os.open_handle_count(), 0u);
  }
}

TEST_F(LaunchJava, ARuntimeUnderAFolderWithABlankRunsNoDecoy) {
  os_.fs().WriteFile(u"C:\\Program Files\\Ledgrix\\jre\\bin\\javaw.exe", "MZ");
  os_.fs().WriteFile(u"C:\\Program.exe", "MZ");
  settings_.java_home = u"C:\\Program Files\\Ledgrix\\jre";
  launchJava(settings_, u"C:\\Program Files\\Ledgrix\\bin");
  ASSERT_EQ(os_.processes().size(), 1u);
  EXPECT_EQ(os_.processes()[0].program, u"C:\\Program Files\\Ledgrix\\jre\\bin\\javaw.exe");
}

}  // namespace
