// Whole starts on the emulated machine that launch the application, and the
// wait that keeps the single-instance guard alive.
#include "launcher/instance_mutex.h"
#include "support/emulated_start.h"
#include "support/test_support.h"

namespace {

constexpr const char16_t* kExe = u"C:\\Apps\\Finance\\bin\\ledgrix.exe";

void Prepare(EmulatedPlatform& os) {
  os.set_module_file_name(kExe);
  os.set_current_directory(u"C:\\");
}

StartResult Start(EmulatedPlatform& os) { return RunEmulatedStart(os, u"\"" + WString(kExe) + u"\""); }

TEST(FirstLaunch, StartsTheApplicationOnceAndASecondLauncherMeanwhileStartsNothing) {
  EmulatedPlatform os;
  Prepare(os);
  os.fs().MakeDirectories(u"C:\\Apps\\Finance\\lib");
  os.fs().WriteFile(u"C:\\Apps\\Finance\\ledgrix.boot",
                    "install_dir=C:\\Apps\\Finance\njrehome=C:\\Apps\\Finance\\jre\n"
                    "default_options=-Xms32m\nlib-classpath=lib\\app.jar;lib\\ext.jar\n");
  os.fs().WriteFile(u"C:\\Apps\\Finance\\jre\\bin\\javaw.exe", "MZ");
  EmulatedPlatform second(os.shared_machine());
  Prepare(second);
  std::optional<StartResult> second_result;
  os.set_on_wait([&](const RecordedProcess&) { second_result = Start(second); });

  StartResult result = Start(os);
  EXPECT_FALSE(result.exited_through_exit_process);
  EXPECT_EQ(result.exit_code, 0u);
  ASSERT_EQ(os.processes().size(), 1u);
  EXPECT_EQ(os.processes()[0].command_line,
            u"C:\\Apps\\Finance\\jre\\bin\\javaw -Xms32m -Xmx128m -classpath "
            u"\"C:\\Apps\\Finance\\lib\\app.jar\";\"C:\\Apps\\Finance\\lib\\ext.jar\" com.zor.ledgrix.Tabex");
  EXPECT_EQ(os.processes()[0].current_directory, u"C:\\Apps\\Finance");
  EXPECT_TRUE(os.boxes().empty());
  EXPECT_EQ(os.open_handle_count(), 0u);

  ASSERT_TRUE(second_result.has_value()) << "the second start ran while the first waited";
  EXPECT_EQ(second_result->exit_code, 0u);
  EXPECT_FALSE(second_result->exited_through_exit_process);
  EXPECT_TRUE(second.processes().empty());
  EXPECT_TRUE(second.boxes().empty());

  // The first launcher has ended: the next start launches again.
  EmulatedPlatform third(os.shared_machine());
  Prepare(third);
  EXPECT_EQ(Start(third).exit_code, 0u);
  EXPECT_EQ(third.processes().size(), 1u);
}

}  // namespace
