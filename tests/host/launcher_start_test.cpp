// The start up to the boot file, and the single-instance mutex.
#include <algorithm>

#include "launcher/instance_mutex.h"
#include "launcher/module_path.h"
#include "support/emulated_start.h"
#include "support/test_support.h"

namespace {

constexpr const char16_t* kExe = u"C:\\Apps\\Finance\\bin\\ledgrix.exe";

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
  StartResult Start(const WString& tail = u"") { return RunEmulatedStart(os_, u"\"" + WString(kExe) + u"\" " + tail); }
  EmulatedPlatform os_;
};

TEST_F(LauncherStart, CreatesTheMutexBeforeReadingTheBootFile) {
  os_.fs().WriteFile(u"C:\\Apps\\Finance\\ledgrix.boot", "install_dir=C:\\Apps\\Finance\n");
  Start();
  size_t mutex = IndexOf(os_.log(), "CreateMutex Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}");
  ASSERT_LT(mutex, os_.log().size());
  EXPECT_LT(mutex, IndexOf(os_.log(), "OpenFileForReading C:\\Apps\\Finance\\ledgrix.boot"));
}

TEST_F(LauncherStart, AMissingBootFileIsFatalAlsoForASecondLauncher) {
  EmulatedPlatform first(os_.shared_machine());
  ScopedPlatform installed(first);
  InstanceMutex running;  // the first launcher, waiting for its application
  StartResult result = Start(u"-I C:\\doc.qif");
  EXPECT_TRUE(result.exited_through_exit_process);
  EXPECT_EQ(result.exit_code, 2u);
  EXPECT_EQ(os_.boxes().size(), 1u);
}

TEST_F(LauncherStart, WithoutItsOwnPathTheLauncherGuessesNoBootFile) {
  os_.FailNext(Op::GetModuleFileName, err::kNotEnoughMemory);
  os_.fs().WriteFile(u"C:\\ledgrix.boot", "install_dir=C:\\\n");
  EXPECT_EQ(Start().exit_code, err::kNotEnoughMemory);
  EXPECT_EQ(os_.boxes().size(), 1u);
  EXPECT_EQ(IndexOf(os_.log(), "OpenFileForReading"), os_.log().size());
}

TEST(OwnExecutablePath, KeepsAPathLongerThanTheUsualBuffer) {
  EmulatedPlatform os;
  ScopedPlatform installed(os);
  WString long_path = u"C:\\" + WString(3000, u'x') + u"\\bin\\ledgrix.exe";
  os.set_module_file_name(long_path);
  uint32_t error = 0;
  EXPECT_EQ(OwnExecutablePath(&error), long_path);
}

// A second launcher seeing the first, and the mutex gone with the first's
// last handle, are whole starts in first_launch_test.cpp.
TEST(InstanceMutex, AFailedCreationCountsAsFirst) {
  EmulatedPlatform denied;
  denied.machine().DenyMutex(kInstanceMutexName);
  ScopedPlatform installed(denied);
  InstanceMutex guard;
  EXPECT_EQ(guard.mutex_error, err::kAccessDenied);
  EXPECT_FALSE(guard.AnotherInstanceRuns());
}

}  // namespace
