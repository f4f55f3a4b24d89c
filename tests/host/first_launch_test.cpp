// Whole starts on the emulated machine that launch the application: the
// launch steps in their order, the wait that keeps the single-instance guard
// alive, and every way a launch ends.
#include <algorithm>

#include "launcher/instance_mutex.h"
#include "support/emulated_start.h"
#include "support/test_support.h"

namespace {

constexpr const char16_t* kExe = u"C:\\Apps\\Finance\\bin\\ledgrix.exe";
constexpr const char16_t* kBoot = u"C:\\Apps\\Finance\\ledgrix.boot";
constexpr const char16_t* kJava = u"C:\\Apps\\Finance\\jre\\bin\\javaw.exe";
constexpr const char* kBootText =
    "install_dir=C:\\Apps\\Finance\n"
    "jrehome=C:\\Apps\\Finance\\jre\n"
    "default_options=-Xms32m\n"
    "lib-classpath=lib\\app.jar;lib\\ext.jar\n";
constexpr const char16_t* kJavaCommandLine =
    u"C:\\Apps\\Finance\\jre\\bin\\javaw -Xms32m -Xmx128m -classpath "
    u"\"C:\\Apps\\Finance\\lib\\app.jar\";\"C:\\Apps\\Finance\\lib\\ext.jar\" com.zor.ledgrix.Tabex";

size_t IndexOf(const std::vector<std::string>& log, const std::string& prefix) {
  auto it = std::find_if(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
  return static_cast<size_t>(it - log.begin());
}

class FirstLaunch : public ::testing::Test {
 protected:
  FirstLaunch() {
    Prepare(os_);
    os_.fs().MakeDirectories(u"C:\\Apps\\Finance\\lib");
    os_.fs().WriteFile(kBoot, kBootText);
    os_.fs().WriteFile(kJava, "MZ");
  }
  static void Prepare(EmulatedPlatform& os) {
    os.set_module_file_name(kExe);
    os.set_current_directory(u"C:\\");
  }
  static StartResult Start(EmulatedPlatform& os) { return RunEmulatedStart(os, u"\"" + WString(kExe) + u"\""); }
  void ExpectFatalBox(const StartResult& result, const WString& message) {
    EXPECT_TRUE(result.exited_through_exit_process);
    ASSERT_EQ(os_.boxes().size(), 1u);
    const WString head = message + u"\nledgrix launcher failed with error ";
    EXPECT_EQ(os_.boxes()[0].text.substr(0, head.size()), head);
    EXPECT_EQ(os_.boxes()[0].style, kMbOk | kMbIconError);
    EXPECT_NE(result.exit_code, 0u);
    EXPECT_TRUE(os_.processes().empty());
  }
  EmulatedPlatform os_;
};

TEST_F(FirstLaunch, StartsTheApplicationOnceAndEndsWithZeroAfterIt) {
  StartResult result = Start(os_);
  EXPECT_FALSE(result.exited_through_exit_process);
  EXPECT_EQ(result.exit_code, 0u);
  ASSERT_EQ(os_.processes().size(), 1u);
  EXPECT_EQ(os_.processes()[0].command_line, kJavaCommandLine);
  EXPECT_EQ(os_.processes()[0].current_directory, u"C:\\Apps\\Finance");
  EXPECT_TRUE(os_.processes()[0].waited);
  EXPECT_TRUE(os_.boxes().empty());
  EXPECT_EQ(os_.open_handle_count(), 0u);
}

TEST_F(FirstLaunch, HeapSizeThenChecksThenTheJavaProcess) {
  Start(os_);
  const auto& log = os_.log();
  size_t heap = IndexOf(log, "GetTotalPhysicalMemory");
  size_t check = IndexOf(log, "SetCurrentDirectory");
  size_t create = IndexOf(log, "CreateProcess");
  EXPECT_LT(IndexOf(log, "OpenFileForReading"), heap);
  EXPECT_LT(heap, check);
  EXPECT_LT(check, create);
  ASSERT_LT(create, log.size());
}

TEST_F(FirstLaunch, ALauncherStartedWhileTheApplicationRunsLaunchesNothing) {
  EmulatedPlatform second(os_.shared_machine());
  Prepare(second);
  std::optional<StartResult> second_result;
  os_.set_on_wait([&](const RecordedProcess&) { second_result = Start(second); });
  EXPECT_EQ(Start(os_).exit_code, 0u);

  ASSERT_TRUE(second_result.has_value()) << "the second start ran while the first waited";
  EXPECT_EQ(second_result->exit_code, 0u);
  EXPECT_FALSE(second_result->exited_through_exit_process);
  EXPECT_TRUE(second.processes().empty());
  EXPECT_EQ(IndexOf(second.log(), "GetTotalPhysicalMemory"), second.log().size()) << "no launch step ran";
  EXPECT_EQ(IndexOf(second.log(), "SetCurrentDirectory"), second.log().size());
  EXPECT_EQ(os_.processes().size(), 1u);

  // The first launcher has ended: the next start launches again.
  EmulatedPlatform third(os_.shared_machine());
  Prepare(third);
  EXPECT_EQ(Start(third).exit_code, 0u);
  EXPECT_EQ(third.processes().size(), 1u);
}

TEST_F(FirstLaunch, AMissingInstallationDirectoryEndsTheStart) {
  os_.fs().WriteFile(kBoot, "install_dir=C:\\Apps\\Gone\nlib-classpath=lib\\app.jar;\n");
  ExpectFatalBox(Start(os_), u"Could not find installation directory at:\nC:\\Apps\\Gone");
}

TEST_F(FirstLaunch, AMissingJreEndsTheStart) {
  os_.fs().WriteFile(kBoot, "install_dir=C:\\Apps\\Finance\njrehome=C:\\Apps\\jre\nlib-classpath=lib\\app.jar;\n");
  ExpectFatalBox(Start(os_), u"Could not find JRE at:\n\nC:\\Apps\\jre");
}

TEST_F(FirstLaunch, AClassPathWithoutSeparatorEndsTheStart) {
  os_.fs().WriteFile(kBoot, "install_dir=C:\\Apps\\Finance\nlib-classpath=lib\\app.jar\n");
  ExpectFatalBox(Start(os_), u"Application classpath is missing\n");
}

TEST_F(FirstLaunch, ARuntimeFolderWithoutJavawIsToldAndTheStartEndsWithZero) {
  os_.fs().MakeDirectories(u"C:\\Apps\\Empty");
  os_.fs().WriteFile(kBoot, "install_dir=C:\\Apps\\Finance\njrehome=C:\\Apps\\Empty\nlib-classpath=lib\\app.jar;\n");
  StartResult result = Start(os_);
  EXPECT_FALSE(result.exited_through_exit_process);
  EXPECT_EQ(result.exit_code, 0u);
  ASSERT_EQ(os_.boxes().size(), 1u);
  EXPECT_EQ(os_.boxes()[0].text, u"CreateProcess failed (2)\n");
  EXPECT_EQ(os_.boxes()[0].style, kMbOk);
}

TEST_F(FirstLaunch, WithoutAJreTheSystemFindsJavaw) {
  os_.fs().WriteFile(kBoot, "install_dir=C:\\Apps\\Finance\nlib-classpath=lib\\app.jar;\n");
  os_.fs().WriteFile(u"C:\\windows\\system32\\javaw.exe", "MZ");
  os_.set_total_physical_memory(268435456);
  Start(os_);
  ASSERT_EQ(os_.processes().size(), 1u);
  EXPECT_EQ(os_.processes()[0].command_line,
            u"javaw  -Xmx96m -classpath \"C:\\Apps\\Finance\\lib\\app.jar\" com.zor.ledgrix.Tabex");
  EXPECT_EQ(os_.processes()[0].program, u"C:\\windows\\system32\\javaw.exe");
}

TEST_F(FirstLaunch, AnInstallationUnderAFolderWithABlankRunsNoDecoy) {
  os_.set_module_file_name(u"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe");
  os_.fs().MakeDirectories(u"C:\\Program Files\\Ledgrix\\lib");
  os_.fs().WriteFile(u"C:\\Program Files\\Ledgrix\\ledgrix.boot",
                     "install_dir=\"C:\\Program Files\\Ledgrix\"\n"
                     "jrehome=C:\\Program Files\\Ledgrix\\jre\n"
                     "lib-classpath=lib\\app.jar;\n");
  os_.fs().WriteFile(u"C:\\Program Files\\Ledgrix\\jre\\bin\\javaw.exe", "MZ");
  os_.fs().WriteFile(u"C:\\Program.exe", "MZ");
  EXPECT_EQ(RunEmulatedStart(os_, u"\"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe\"").exit_code, 0u);
  ASSERT_EQ(os_.processes().size(), 1u);
  EXPECT_EQ(os_.processes()[0].program, u"C:\\Program Files\\Ledgrix\\jre\\bin\\javaw.exe");
  EXPECT_EQ(os_.processes()[0].command_line,
            u"\"C:\\Program Files\\Ledgrix\\jre\\bin\\javaw\"  -Xmx128m -classpath "
            u"\"C:\\Program Files\\Ledgrix\\lib\\app.jar\" com.zor.ledgrix.Tabex");
  EXPECT_EQ(os_.processes()[0].current_directory, u"C:\\Program Files\\Ledgrix");
}

}  // namespace
