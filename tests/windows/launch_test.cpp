// The real ledgrix.exe under Wine launching the Java stand-in: what it
// receives, the wait that keeps a second launcher from launching, and every
// way a launch ends.
#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using e2e::Installation;
using e2e::Process;
using e2e::Quote;
using e2e::Utf8;

// With a heap size in the options the launcher adds none of its own.
std::string Boot(const std::wstring& install_dir, const std::wstring& jrehome) {
  return "install_dir=" + Utf8(install_dir) + "\njrehome=" + Utf8(jrehome) +
         "\ndefault_options=-Xmx100m\nlib-classpath=lib\\app.jar;lib\\ext.jar\n";
}

TEST(Launch, AStartRunsTheApplicationOnceAndWaitsForItWhileOthersEndAtOnce) {
  Installation at(L"launch");
  const std::wstring exe = at.InstallLauncher();
  at.InstallStandIn(L"jre\\bin", 7);
  at.WriteFile(L"ledgrix.boot", Boot(at.root(), at.Path(L"jre")));

  Process first;
  ASSERT_TRUE(first.Start(Quote(exe)));
  std::vector<e2e::StandInRecord> records = at.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  const std::string root = Utf8(at.root());
  EXPECT_EQ(records[0].Get("command_line"), root + "\\jre\\bin\\javaw -Xmx100m -classpath \"" + root +
                                                "\\lib\\app.jar\";\"" + root + "\\lib\\ext.jar\" com.zor.ledgrix.Tabex");
  EXPECT_EQ(records[0].Get("argv[3]"), root + "\\lib\\app.jar;" + root + "\\lib\\ext.jar");
  EXPECT_EQ(records[0].Get("cwd"), root);
  EXPECT_EQ(records[0].Get("module"), root + "\\jre\\bin\\javaw.exe");

  EXPECT_EQ(e2e::RunToEnd(exe), std::optional<DWORD>(0)) << "a second launcher meanwhile";
  EXPECT_TRUE(first.Running()) << "the launcher waits for the application";
  at.Release();
  EXPECT_EQ(first.Wait(), std::optional<DWORD>(0)) << "whatever the application's exit code (7)";
  EXPECT_EQ(at.Records().size(), 1u) << "no second application";

  at.Reset();
  e2e::Outcome next = e2e::RunWatchingBoxes(exe, &at, 0);
  EXPECT_TRUE(next.java) << "the next start launches again";
  EXPECT_EQ(next.exit_code, std::optional<DWORD>(0));
}

TEST(Launch, AFailedCheckShowsItsBoxAndEndsWithTheSystemErrorCode) {
  struct Case {
    const char* boot;     // {} stands for the installation's folder
    const wchar_t* message;
  } cases[] = {
      {"install_dir={}\\gone\nlib-classpath=lib\\app.jar;\n", L"Could not find installation directory at:\n{}\\gone"},
      {"install_dir={}\njrehome={}\\jre\nlib-classpath=lib\\app.jar;\n", L"Could not find JRE at:\n\n{}\\jre"},
      {"install_dir={}\nlib-classpath=lib\\app.jar\n", L"Application classpath is missing\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.boot);
    Installation at(L"check");
    std::string boot = c.boot;
    std::wstring message = c.message;
    for (size_t at_brace; (at_brace = boot.find("{}")) != std::string::npos;) boot.replace(at_brace, 2, Utf8(at.root()));
    for (size_t at_brace; (at_brace = message.find(L"{}")) != std::wstring::npos;) message.replace(at_brace, 2, at.root());
    at.WriteFile(L"ledgrix.boot", boot);

    e2e::Outcome outcome = e2e::RunWatchingBoxes(at.InstallLauncher());
    ASSERT_EQ(outcome.boxes.size(), 1u);
    const std::wstring head = message + L"\nledgrix launcher failed with error ";
    const std::wstring& text = outcome.boxes[0].text;
    ASSERT_EQ(Utf8(text.substr(0, head.size())), Utf8(head));
    const DWORD code = std::stoul(text.substr(head.size()));
    EXPECT_EQ(Utf8(text), Utf8(e2e::FatalText(message, code)));
    EXPECT_TRUE(outcome.boxes[0].icon);
    EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(code == 0 ? 1 : code));
  }
}

TEST(Launch, ARuntimeFolderWithoutJavawIsToldWithoutAnIconAndTheLauncherEndsWithZero) {
  Installation at(L"no-javaw");
  at.MakeDir(L"jre");
  at.WriteFile(L"ledgrix.boot", Boot(at.root(), at.Path(L"jre")));
  e2e::Outcome outcome = e2e::RunWatchingBoxes(at.InstallLauncher());
  EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(0));
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].text, L"CreateProcess failed (2)\n");
  EXPECT_FALSE(outcome.boxes[0].icon);
}

// Unquoted, the runtime's path would start <root>\Program.exe.
TEST(Launch, ARuntimeUnderAFolderWithABlankRunsAndNoDecoyDoes) {
  Installation at(L"blank");
  const std::wstring dir = at.Path(L"Program Files\\Ledgrix");
  const std::wstring exe = at.InstallLauncher(L"Program Files\\Ledgrix\\bin\\ledgrix.exe");
  at.InstallStandIn(L"Program Files\\Ledgrix\\jre\\bin");
  at.InstallStandIn(L"", 0, L"", L"Program.exe", at.Path(L"decoy.log"), false);
  at.WriteFile(L"Program Files\\Ledgrix\\ledgrix.boot", Boot(dir, dir + L"\\jre"));

  e2e::Outcome outcome = e2e::RunWatchingBoxes(exe, &at, 0);
  ASSERT_TRUE(outcome.java);
  const std::string java = Utf8(dir) + "\\jre\\bin\\javaw";
  EXPECT_EQ(outcome.java->Get("command_line"), "\"" + java + "\" -Xmx100m -classpath \"" + Utf8(dir) +
                                                   "\\lib\\app.jar\";\"" + Utf8(dir) + "\\lib\\ext.jar\" com.zor.ledgrix.Tabex");
  EXPECT_EQ(outcome.java->Get("module"), java + ".exe");
  EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(0));
  EXPECT_FALSE(e2e::ReadWholeFile(at.Path(L"decoy.log"))) << "the decoy ran";
}

}  // namespace

namespace {

// A copy of the stand-in in the system folder, removed again at the end.
struct SystemStandIn {
  explicit SystemStandIn(const std::wstring& log) {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    dir = system;
    CopyFileW((std::wstring(_wgetenv(L"LEDGRIX_HELPERS")) + L"\\javaw.exe").c_str(), (dir + L"\\javaw.exe").c_str(),
              FALSE);
    const std::string ini = "log=" + Utf8(log) + "\n";
    HANDLE file = CreateFileW((dir + L"\\javaw-standin.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
    CloseHandle(file);
  }
  ~SystemStandIn() {
    DeleteFileW((dir + L"\\javaw.exe").c_str());
    DeleteFileW((dir + L"\\javaw-standin.ini").c_str());
  }
  std::wstring dir;
};

// The shell starts the launcher in the opened document's folder, where
// anybody may have put a javaw.exe.
TEST(Launch, ABareJavawIsNeverTakenFromTheCurrentFolder) {
  Installation at(L"planted");
  const std::wstring exe = at.InstallLauncher();
  at.WriteFile(L"ledgrix.boot", Boot(at.root(), L""));
  SystemStandIn system(at.Path(L"javaw.log"));
  at.InstallStandIn(L"Downloads", 0, L"", L"javaw.exe", at.Path(L"planted.log"), false);

  Process launcher;
  ASSERT_TRUE(launcher.Start(Quote(exe), at.Path(L"Downloads").c_str()));
  EXPECT_EQ(launcher.Wait(), std::optional<DWORD>(0));
  std::vector<e2e::StandInRecord> records = at.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Get("module"), Utf8(system.dir) + "\\javaw.exe");
  EXPECT_EQ(records[0].Get("argv[0]"), "javaw");
  EXPECT_FALSE(e2e::ReadWholeFile(at.Path(L"planted.log"))) << "the planted javaw ran";
}

// Unless doubled, a backslash before an entry's closing quote escapes it and
// the class path swallows the main class.
TEST(Launch, AClassPathEntryEndingInBackslashesReachesJavaWhole) {
  struct Case {
    const char* lib_classpath;
    const char* class_path;  // {} stands for the installation folder
  } cases[] = {
      {"classes\\;lib\\a.jar;", "{}\\classes\\;{}\\lib\\a.jar"},
      {"lib\\a.jar;classes\\\\;", "{}\\lib\\a.jar;{}\\classes\\\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lib_classpath);
    Installation at(L"backslash");
    at.InstallStandIn(L"jre\\bin");
    at.WriteFile(L"ledgrix.boot", "install_dir=" + Utf8(at.root()) + "\njrehome=" + Utf8(at.Path(L"jre")) +
                                      "\ndefault_options=-Xmx100m\nlib-classpath=" + c.lib_classpath + "\n");
    e2e::Outcome outcome = e2e::RunWatchingBoxes(at.InstallLauncher(), &at, 0);
    ASSERT_TRUE(outcome.java);
    std::string class_path = c.class_path;
    for (size_t brace; (brace = class_path.find("{}")) != std::string::npos;) class_path.replace(brace, 2, Utf8(at.root()));
    EXPECT_EQ(outcome.java->Get("argc"), "5");
    EXPECT_EQ(outcome.java->Get("argv[3]"), class_path);
    EXPECT_EQ(outcome.java->Get("argv[4]"), "com.zor.ledgrix.Tabex");
  }
}

// Without a system error of its own, a refused installation folder is an
// invalid name: the box never reads "error 0: The operation completed successfully".
TEST(Launch, AnInstallationFolderRefusedWithoutASystemErrorIsAnInvalidName) {
  for (const char* install_dir : {"", "C:\\Ledgrix*", "C:\\Led:grix", "C:\\Ledgrix?"}) {
    SCOPED_TRACE(install_dir);
    Installation at(L"invalid");
    at.WriteFile(L"ledgrix.boot", std::string("install_dir=") + install_dir + "\nlib-classpath=lib\\app.jar;\n");
    e2e::Outcome outcome = e2e::RunWatchingBoxes(at.InstallLauncher());
    ASSERT_EQ(outcome.boxes.size(), 1u);
    std::wstring message = L"Could not find installation directory at:\n";
    for (const char* c = install_dir; *c; ++c) message += static_cast<wchar_t>(*c);
    EXPECT_EQ(Utf8(outcome.boxes[0].text), Utf8(e2e::FatalText(message, ERROR_INVALID_NAME)));
    EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(ERROR_INVALID_NAME));
  }
}

}  // namespace
