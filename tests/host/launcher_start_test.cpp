// Whole starts of the launcher on the emulated machine.
#include <algorithm>

#include "launcher/instance_mutex.h"
#include "launcher/module_path.h"
#include "support/emulated_start.h"
#include "support/test_support.h"

namespace {

constexpr const char16_t* kExe = u"C:\\Apps\\Finance\\bin\\ledgrix.exe";
constexpr const char16_t* kBoot = u"C:\\Apps\\Finance\\ledgrix.boot";

size_t IndexOf(const std::vector<std::string>& log, const std::string& prefix) {
  auto it = std::find_if(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
  return static_cast<size_t>(it - log.begin());
}

class LauncherStart : public ::testing::Test {
 protected:
  LauncherStart() {
    os_.set_module_file_name(kExe);
    os_.fs().MakeDirectories(u"C:\\Apps\\Finance\\bin");
  }
  StartResult Start(EmulatedPlatform& os, const WString& arguments = u"") {
    return RunEmulatedStart(os, u"\"" + WString(kExe) + u"\"" + (arguments.empty() ? u"" : u" " + arguments));
  }
  EmulatedPlatform os_;
};

TEST_F(LauncherStart, CreatesTheMutexBeforeAnythingElse) {
  os_.fs().WriteFile(kBoot, "install_dir=C:\\Apps\\Finance\n");
  Start(os_);
  const auto& log = os_.log();
  size_t mutex = IndexOf(log, "CreateMutex Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}");
  ASSERT_LT(mutex, log.size());
  EXPECT_LT(mutex, IndexOf(log, "GetModuleFileName"));
  EXPECT_LT(IndexOf(log, "GetModuleFileName"), IndexOf(log, "OpenFileForReading C:\\Apps\\Finance\\ledgrix.boot"));
}

TEST_F(LauncherStart, AMissingBootFileEndsTheStartWithItsBox) {
  StartResult result = Start(os_);
  EXPECT_TRUE(result.exited_through_exit_process);
  EXPECT_EQ(result.exit_code, 2u);
  ASSERT_EQ(os_.boxes().size(), 1u);
  EXPECT_EQ(os_.boxes()[0].text, u"Unable to open file: C:\\Apps\\Finance\\ledgrix.boot\n"
                                 u"parseConfigFile failed with error 2: The system cannot find the file specified.\r\n"
                                 u"\nPlease reinstall the application");
}

TEST_F(LauncherStart, AMissingBootFileIsFatalAlsoForASecondLauncher) {
  EmulatedPlatform first(os_.shared_machine());
  ScopedPlatform installed(first);
  InstanceMutex running;  // the first launcher, waiting for its application
  ASSERT_EQ(running.mutex_error, 0u);

  StartResult result = Start(os_, u"-I C:\\doc.qif");
  EXPECT_EQ(result.exit_code, 2u);
  EXPECT_EQ(os_.boxes().size(), 1u);
}

TEST_F(LauncherStart, AReadableBootFileEndsNormally) {
  os_.fs().WriteFile(kBoot, "install_dir=C:\\Apps\\Finance\njrehome=C:\\Apps\\Finance\\jre\n"
                            "lib-classpath=lib\\app.jar;\n");
  os_.fs().WriteFile(u"C:\\Apps\\Finance\\jre\\bin\\javaw.exe", "MZ");
  StartResult result = Start(os_);
  EXPECT_FALSE(result.exited_through_exit_process);
  EXPECT_EQ(result.exit_code, 0u);
  EXPECT_TRUE(os_.boxes().empty());
  EXPECT_EQ(os_.open_handle_count(), 0u) << "the mutex handle is closed at the normal end";
  EXPECT_FALSE(os_.machine().MutexExists(kInstanceMutexName));
}

TEST_F(LauncherStart, WithoutItsOwnPathTheLauncherGuessesNoBootFile) {
  os_.FailNext(Op::GetModuleFileName, err::kNotEnoughMemory);
  os_.fs().WriteFile(u"C:\\ledgrix.boot", "install_dir=C:\\\n");
  StartResult result = Start(os_);
  EXPECT_EQ(result.exit_code, err::kNotEnoughMemory);
  ASSERT_EQ(os_.boxes().size(), 1u);
  EXPECT_EQ(IndexOf(os_.log(), "OpenFileForReading"), os_.log().size()) << "no boot file was opened";
}

TEST(OwnExecutablePath, KeepsAPathLongerThanTheUsualBuffer) {
  EmulatedPlatform os;
  ScopedPlatform installed(os);
  WString long_path = u"C:\\" + WString(3000, u'x') + u"\\bin\\ledgrix.exe";
  os.set_module_file_name(long_path);
  EXPECT_EQ(OwnExecutablePath(), long_path);
}

TEST(InstanceMutex, RecordsWhetherAnotherLauncherRuns) {
  EmulatedPlatform first;
  EmulatedPlatform second(first.shared_machine());
  {
    ScopedPlatform installed(first);
    InstanceMutex guard;
    EXPECT_EQ(guard.mutex_error, 0u);
    EXPECT_NE(guard.mutex_handle, kNullHandle);
    EXPECT_FALSE(guard.AnotherInstanceRuns());
    {
      ScopedPlatform installed_second(second);
      InstanceMutex other;
      EXPECT_EQ(other.mutex_error, err::kAlreadyExists);
      EXPECT_TRUE(other.AnotherInstanceRuns());
    }
  }
  EXPECT_FALSE(first.machine().MutexExists(kInstanceMutexName)) << "the last handle closed removes it";
}

TEST(InstanceMutex, AFailedCreationCountsAsNoOtherLauncher) {
  EmulatedPlatform os;
  os.machine().DenyMutex(kInstanceMutexName);
  ScopedPlatform installed(os);
  InstanceMutex guard;
  EXPECT_EQ(guard.mutex_error, err::kAccessDenied);
  EXPECT_EQ(guard.mutex_handle, kNullHandle);
  EXPECT_FALSE(guard.AnotherInstanceRuns());
}

}  // namespace
