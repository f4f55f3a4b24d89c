// The order of a start's calls: the guard comes before anything else, the
// boot file before the registration, the documents before the instance test,
// and only a first start launches.
#include <functional>

#include "fake_system.h"
#include "launcher/launcher.h"

namespace {

TEST(Start, AsksTheSystemInItsOrder) {
  const std::string kHandOff = " AppDataFolder EnterDirectory EnterDirectory EnterDirectory CopyFile MoveFile";
  const std::string kLaunch = " PhysicalMemory EnterDirectory SearchFolders SearchPath RunAndWait";
  struct Case {
    bool boot_file, another_launcher;
    const char16_t* arguments;
    std::string calls;
  } cases[] = {
      {true, false, u"-I C:\\d\\a.qif", kHandOff + kLaunch},
      {true, true, u"-I C:\\d\\a.qif", kHandOff},
      {true, false, u"-I", kLaunch},
      {false, true, u"-I C:\\d\\a.qif", " SystemText ShowBox Exit"},
  };
  for (const Case& c : cases) {
    fake = FakeSystem{{}, c.boot_file, c.another_launcher, ""};
    try {
      LauncherProcess process;
      EXPECT_EQ(RunLauncher(process, u"\"C:\\App\\bin\\ledgrix.exe\" " + WString(c.arguments)), 0);
    } catch (const FakeExit& exit) {
      EXPECT_EQ(exit.code, 2u);
    }
    std::string calls;
    for (const std::string& call : fake.calls)
      if (call != "CreateDirectory") calls += " " + call;
    const std::string registration = c.boot_file ? " WriteRegistry WriteRegistry WriteRegistry WriteRegistry" : "";
    EXPECT_EQ(calls, " CreateMutex ModulePath ReadFile" + registration + c.calls + " CloseHandle") << Narrow(c.arguments);
  }
}

TEST(Start, AFatalEndIsNeverAnExitWithZero) {
  EXPECT_EQ(std::invoke([] {
              try {
                reportFatalError(u"m", u"c", 0);
              } catch (const FakeExit& exit) {
                return exit.code;
              }
            }),
            1u);
}

}  // namespace
