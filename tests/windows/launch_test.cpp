// The real ledgrix.exe under Wine launching the Java stand-in: the command
// line and working directory it receives, the wait that keeps a second
// launcher from launching, and every way a launch ends.
#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using e2e::Box;
using e2e::BoxWatch;
using e2e::Process;
using e2e::Quote;
using e2e::RunToEnd;
using e2e::Scenario;
using e2e::StandInRecord;
using e2e::Utf8;

// The heap limit the launcher adds on this machine.
std::string DefaultHeapOption() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  unsigned long long mib = status.ullTotalPhys / (4ull * 1024 * 1024);
  return "-Xmx" + std::to_string(mib < 96 ? 96 : mib > 128 ? 128 : mib) + "m";
}

// An installation in the scenario's folder (or in a folder below it): the
// launcher in bin, the boot file, and the stand-in as the Java runtime.
struct Installation {
  explicit Installation(const wchar_t* name, const std::wstring& below = L"") : scenario(name) {
    dir = below.empty() ? scenario.root() : scenario.Path(below);
    prefix = below.empty() ? L"" : below + L"\\";
    exe = scenario.InstallLauncher(prefix + L"bin\\ledgrix.exe");
  }
  ~Installation() { Release(); }  // a stand-in left waiting by a failed test ends too

  void WriteBoot(const std::string& lines) { scenario.WriteFile(prefix + L"ledgrix.boot", lines); }
  std::string Boot(const std::string& key, const std::wstring& value) { return key + "=" + Utf8(value) + "\n"; }
  void InstallJava(int exit_code = 0) {
    Scenario::StandInOptions options;
    options.exit_code = exit_code;
    scenario.InstallStandIn(prefix + L"jre\\bin", options);
  }
  void Release() { e2e::WriteWholeFile(scenario.StandInRelease(), ""); }
  std::vector<StandInRecord> Records() { return e2e::ReadStandInLog(scenario.StandInLog()); }

  Scenario scenario;
  std::wstring dir, prefix, exe;
};

TEST(Launch, AFirstStartRunsTheApplicationAndWaitsUntilItEnds) {
  Installation at(L"first-launch");
  at.WriteBoot(at.Boot("install_dir", at.dir) + at.Boot("jrehome", at.dir + L"\\jre") +
               "default_options=-Xms32m\nlib-classpath=lib\\app.jar;lib\\ext.jar\n");
  at.InstallJava(7);

  Process launcher;
  ASSERT_TRUE(launcher.Start(Quote(at.exe)));
  std::vector<StandInRecord> records = e2e::WaitForStandIn(at.scenario.StandInLog(), 1);
  ASSERT_EQ(records.size(), 1u);
  const StandInRecord& java = records[0];
  const std::string root = Utf8(at.dir);
  EXPECT_EQ(java.Get("command_line"), root + "\\jre\\bin\\javaw -Xms32m " + DefaultHeapOption() + " -classpath \"" +
                                          root + "\\lib\\app.jar\";\"" + root + "\\lib\\ext.jar\" com.zor.ledgrix.Tabex");
  EXPECT_EQ(java.Get("argc"), "6");
  EXPECT_EQ(java.Get("argv[0]"), root + "\\jre\\bin\\javaw");
  EXPECT_EQ(java.Get("argv[1]"), "-Xms32m");
  EXPECT_EQ(java.Get("argv[2]"), DefaultHeapOption());
  EXPECT_EQ(java.Get("argv[3]"), "-classpath");
  EXPECT_EQ(java.Get("argv[4]"), root + "\\lib\\app.jar;" + root + "\\lib\\ext.jar");
  EXPECT_EQ(java.Get("argv[5]"), "com.zor.ledgrix.Tabex");
  EXPECT_EQ(java.Get("cwd"), root);
  EXPECT_EQ(java.Get("console"), "no");
  EXPECT_EQ(java.Get("module"), root + "\\jre\\bin\\javaw.exe");

  HANDLE stand_in = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                static_cast<DWORD>(std::stoul(java.Get("pid"))));
  ASSERT_NE(stand_in, nullptr);
  EXPECT_TRUE(launcher.Running()) << "the launcher waits for the application";

  at.Release();
  EXPECT_EQ(launcher.Wait(), std::optional<DWORD>(0)) << "whatever the application's exit code";
  EXPECT_EQ(WaitForSingleObject(stand_in, 0), WAIT_OBJECT_0) << "the application ended first";
  DWORD java_exit = 0;
  GetExitCodeProcess(stand_in, &java_exit);
  EXPECT_EQ(java_exit, 7u);
  CloseHandle(stand_in);
  EXPECT_EQ(at.Records().size(), 1u);
}

TEST(Launch, ALauncherStartedMeanwhileEndsAtOnceAndTheNextStartLaunchesAgain) {
  Installation at(L"second-launcher");
  at.WriteBoot(at.Boot("install_dir", at.dir) + at.Boot("jrehome", at.dir + L"\\jre") +
               "lib-classpath=lib\\app.jar;\n");
  at.InstallJava();

  Process first;
  ASSERT_TRUE(first.Start(Quote(at.exe)));
  ASSERT_EQ(e2e::WaitForStandIn(at.scenario.StandInLog(), 1).size(), 1u);

  EXPECT_EQ(RunToEnd(at.exe, L""), std::optional<DWORD>(0));
  EXPECT_EQ(at.Records().size(), 1u) << "no second application";
  EXPECT_TRUE(first.Running());

  at.Release();
  ASSERT_EQ(first.Wait(), std::optional<DWORD>(0));

  DeleteFileW(at.scenario.StandInRelease().c_str());
  Process next;
  ASSERT_TRUE(next.Start(Quote(at.exe)));
  EXPECT_EQ(e2e::WaitForStandIn(at.scenario.StandInLog(), 2).size(), 2u);
  EXPECT_TRUE(next.Running());
  at.Release();
  EXPECT_EQ(next.Wait(), std::optional<DWORD>(0));
}

TEST(Launch, AFailedCheckShowsItsBoxAndEndsWithTheSystemErrorCode) {
  struct Case {
    const wchar_t* name;
    const char* install_dir;  // below the scenario's folder
    const char* jrehome;      // the same; empty: none
    const char* lib_classpath;
    const char* message;      // the path, when there is one, follows
    const char* named;
  } cases[] = {
      {L"no-install-dir", "gone", "", "lib\\app.jar;", "Could not find installation directory at:\n", "gone"},
      {L"no-jre", "", "jre", "lib\\app.jar;", "Could not find JRE at:\n\n", "jre"},
      {L"no-class-path", "", "", "lib\\app.jar", "Application classpath is missing\n", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.name));
    Installation at(c.name);
    auto below = [&](const char* relative) {
      return *relative ? at.dir + L"\\" + e2e::Wide(relative) : at.dir;
    };
    std::string boot = at.Boot("install_dir", below(c.install_dir)) + "lib-classpath=" + c.lib_classpath + "\n";
    if (*c.jrehome) boot += at.Boot("jrehome", below(c.jrehome));
    at.WriteBoot(boot);

    e2e::Outcome outcome = e2e::RunWatchingBoxes(at.exe);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    const Box& box = outcome.boxes[0];
    std::string message = std::string(c.message) + (c.named ? Utf8(below(c.named)) : "");
    std::string head = message + "\nledgrix launcher failed with error ";
    std::string text = Utf8(box.text);
    ASSERT_EQ(text.substr(0, head.size()), head);
    long code = std::stol(text.substr(head.size()));
    EXPECT_EQ(text, head + std::to_string(code) + ": " + Utf8(e2e::SystemText(static_cast<DWORD>(code))) +
                        "\nPlease reinstall the application");
    EXPECT_EQ(box.title, "Error");
    EXPECT_TRUE(box.icon);
    EXPECT_EQ(box.buttons, "OK");
    EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(code == 0 ? 1 : static_cast<DWORD>(code)));
  }
}

TEST(Launch, ARuntimeFolderWithoutJavawIsToldAndTheLauncherEndsWithZero) {
  Installation at(L"no-javaw");
  at.scenario.MakeDir(L"jre");
  at.WriteBoot(at.Boot("install_dir", at.dir) + at.Boot("jrehome", at.dir + L"\\jre") +
               "lib-classpath=lib\\app.jar;\n");
  e2e::Outcome outcome = e2e::RunWatchingBoxes(at.exe);
  EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(0));
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].text, L"CreateProcess failed (2)\n");
  EXPECT_EQ(outcome.boxes[0].title, "Error");
  EXPECT_FALSE(outcome.boxes[0].icon);
  EXPECT_EQ(outcome.boxes[0].buttons, "OK");
}

// Unquoted, the runtime's path would start <scenario>\Program.exe.
TEST(Launch, ARuntimeUnderAFolderWithABlankRunsAndNoDecoyDoes) {
  Installation at(L"blank", L"Program Files\\Ledgrix");
  at.WriteBoot(at.Boot("install_dir", at.dir) + at.Boot("jrehome", at.dir + L"\\jre") +
               "lib-classpath=lib\\app.jar;\n");
  at.InstallJava();
  const std::wstring decoy_log = at.scenario.Path(L"decoy.log");
  ASSERT_TRUE(CopyFileW((e2e::HelpersDir() + L"\\javaw.exe").c_str(), at.scenario.Path(L"Program.exe").c_str(),
                        FALSE));
  at.scenario.WriteFile(L"javaw-standin.ini", "log=" + Utf8(decoy_log) + "\n");

  Process launcher;
  ASSERT_TRUE(launcher.Start(Quote(at.exe)));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return !at.Records().empty() || !e2e::ReadStandInLog(decoy_log).empty();
  }));
  EXPECT_TRUE(e2e::ReadStandInLog(decoy_log).empty()) << "the decoy ran";
  std::vector<StandInRecord> records = at.Records();
  ASSERT_EQ(records.size(), 1u);
  const std::string java = Utf8(at.dir) + "\\jre\\bin\\javaw";
  EXPECT_EQ(records[0].Get("module"), java + ".exe");
  EXPECT_EQ(records[0].Get("command_line"),
            "\"" + java + "\"  " + DefaultHeapOption() + " -classpath \"" + Utf8(at.dir) +
                "\\lib\\app.jar\" com.zor.ledgrix.Tabex");
  EXPECT_EQ(records[0].Get("argv[0]"), java);
  EXPECT_EQ(records[0].Get("cwd"), Utf8(at.dir));
  at.Release();
  EXPECT_EQ(launcher.Wait(), std::optional<DWORD>(0));
}

}  // namespace
