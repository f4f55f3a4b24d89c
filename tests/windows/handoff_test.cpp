// The real ledgrix.exe under Wine handing documents to the application
// through the incoming folder: from the command line, from the shell's
// open command, and from several launchers at once.
#include "support/e2e.h"

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

using e2e::Process;
using e2e::Quote;
using e2e::Scenario;

std::wstring ApplicationData() {
  wchar_t folder[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, folder, CSIDL_APPDATA, FALSE);
  return folder;
}

std::wstring IncomingFolder() { return ApplicationData() + L"\\.ledgrix\\system\\incoming"; }

// UTF-8 names of what the incoming folder holds, sorted.
std::vector<std::string> IncomingNames() {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((IncomingFolder() + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(e2e::Utf8(name));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> IncomingFile(const std::wstring& name) {
  return e2e::ReadWholeFile(IncomingFolder() + L"\\" + name);
}

// An installation whose Java runtime is the stand-in, which records what the
// incoming folder holds when it starts.
class Installation {
 public:
  explicit Installation(const std::wstring& name) : scenario_(name) {
    exe_ = scenario_.InstallLauncher(L"bin\\ledgrix.exe");
    scenario_.WriteFile(L"ledgrix.boot", e2e::Utf8(L"install_dir=" + scenario_.root() + L"\njrehome=" +
                                                   scenario_.Path(L"jre") + L"\nlib-classpath=lib\\app.jar;\n"));
    Scenario::StandInOptions options;
    options.list_dir = IncomingFolder();
    scenario_.InstallStandIn(L"jre\\bin", options);
  }
  ~Installation() { ReleaseApplication(); }

  const std::wstring& exe() const { return exe_; }
  std::wstring Document(const std::wstring& name, const std::string& content) const {
    scenario_.WriteFile(L"documents\\" + name, content);
    return scenario_.Path(L"documents\\" + name);
  }
  std::vector<e2e::StandInRecord> StandIns() const { return e2e::ReadStandInLog(scenario_.StandInLog()); }
  std::vector<e2e::StandInRecord> WaitForStandIn() const { return e2e::WaitForStandIn(scenario_.StandInLog(), 1); }
  void ReleaseApplication() const { e2e::WriteWholeFile(scenario_.StandInRelease(), ""); }

 private:
  Scenario scenario_;
  std::wstring exe_;
};

// A first launcher whose application (the stand-in) is running.
class RunningApplication {
 public:
  explicit RunningApplication(const Installation& installation) : installation_(installation) {
    started_ = launcher_.Start(Quote(installation.exe())) && installation.WaitForStandIn().size() == 1;
  }
  ~RunningApplication() {
    if (launcher_.Running()) End();
  }
  bool started() const { return started_; }
  // Lets the application end; the first launcher's exit code.
  std::optional<DWORD> End() {
    installation_.ReleaseApplication();
    return launcher_.Wait();
  }

 private:
  const Installation& installation_;
  Process launcher_;
  bool started_ = false;
};

// Double-click equivalent: the shell's open verb on a document.
std::optional<DWORD> OpenThroughShell(const std::wstring& document) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = document.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info) || !info.hProcess) return std::nullopt;
  std::optional<DWORD> code;
  if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0) {
    DWORD exit_code = 0;
    GetExitCodeProcess(info.hProcess, &exit_code);
    code = exit_code;
  }
  CloseHandle(info.hProcess);
  return code;
}

class HandOffEndToEnd : public ::testing::Test {
 protected:
  // Every scenario starts without the folder, as on a new user's machine.
  void SetUp() override {
    ASSERT_FALSE(ApplicationData().empty());
    e2e::RemoveTree(IncomingFolder());
    e2e::RemoveTree(ApplicationData() + L"\\.ledgrix\\system");
    e2e::RemoveTree(ApplicationData() + L"\\.ledgrix");
    ASSERT_EQ(GetFileAttributesW((ApplicationData() + L"\\.ledgrix").c_str()), INVALID_FILE_ATTRIBUTES);
  }
};

TEST_F(HandOffEndToEnd, AFirstStartHandsItsDocumentsOverBeforeTheApplicationStarts) {
  Installation installation(L"first-start");
  std::wstring a = installation.Document(L"january.qif", "january");
  std::wstring b = installation.Document(L"february.ofx", "february");
  Process launcher;
  ASSERT_TRUE(launcher.Start(Quote(installation.exe()) + L" -I " + Quote(a) + L" -I " + Quote(b)));

  std::vector<e2e::StandInRecord> records = installation.WaitForStandIn();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Get("list_dir_exists"), "yes");
  EXPECT_EQ(records[0].incoming, (std::vector<std::string>{"february.ofx", "january.qif"}))
      << "in the folder when the application started";
  EXPECT_EQ(IncomingFile(L"january.qif"), std::optional<std::string>("january"));
  EXPECT_EQ(IncomingFile(L"february.ofx"), std::optional<std::string>("february"));

  installation.ReleaseApplication();
  EXPECT_EQ(launcher.Wait(), std::optional<DWORD>(0));
}

TEST_F(HandOffEndToEnd, WhileTheApplicationRunsADocumentIsHandedOverAndNoSecondOneStarts) {
  Installation installation(L"second-start");
  RunningApplication application(installation);
  ASSERT_TRUE(application.started());
  std::wstring document = installation.Document(L"march.qif", "march");

  // The application is still running: a launcher that waited for a second
  // one would not end here.
  EXPECT_EQ(e2e::RunToEnd(installation.exe(), L"-I " + Quote(document)), std::optional<DWORD>(0));
  EXPECT_EQ(IncomingFile(L"march.qif"), std::optional<std::string>("march"));
  EXPECT_EQ(installation.StandIns().size(), 1u);

  EXPECT_EQ(application.End(), std::optional<DWORD>(0));
  EXPECT_EQ(installation.StandIns().size(), 1u);
}

TEST_F(HandOffEndToEnd, ADocumentOpenedThroughTheShellArrivesWhileTheApplicationRuns) {
  Installation installation(L"shell-open");
  RunningApplication application(installation);  // its start registers this launcher
  ASSERT_TRUE(application.started());
  std::wstring document = installation.Document(L"statement april.qif", "april");

  EXPECT_EQ(OpenThroughShell(document), std::optional<DWORD>(0));
  EXPECT_EQ(IncomingNames(), std::vector<std::string>{"statement april.qif"});
  EXPECT_EQ(IncomingFile(L"statement april.qif"), std::optional<std::string>("april"));
  EXPECT_EQ(installation.StandIns().size(), 1u);
  EXPECT_EQ(application.End(), std::optional<DWORD>(0));
}

TEST_F(HandOffEndToEnd, DocumentsNamedInCyrillicAndChineseArriveUnderTheirOwnNames) {
  Installation installation(L"foreign-names");
  RunningApplication application(installation);
  ASSERT_TRUE(application.started());
  const std::wstring names[] = {L"\u0441\u0447\u0451\u0442.qif", L"\u8d26\u672c.ofx"};
  for (const std::wstring& name : names) {
    SCOPED_TRACE(e2e::Utf8(name));
    std::wstring document = installation.Document(name, e2e::Utf8(name));
    EXPECT_EQ(OpenThroughShell(document), std::optional<DWORD>(0));
    EXPECT_EQ(IncomingFile(name), std::optional<std::string>(e2e::Utf8(name)));
  }
  std::vector<std::string> expected = {e2e::Utf8(names[0]), e2e::Utf8(names[1])};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(IncomingNames(), expected);
  EXPECT_EQ(application.End(), std::optional<DWORD>(0));
}

TEST_F(HandOffEndToEnd, EightLaunchersAtOnceStartOneApplicationAndHandOverEveryDocument) {
  Installation installation(L"eight-at-once");
  constexpr int kLaunchers = 8;
  std::vector<std::wstring> documents;
  std::vector<std::string> expected;
  for (int i = 0; i < kLaunchers; ++i) {
    std::wstring name = L"statement-" + std::to_wstring(i) + L".qif";
    documents.push_back(installation.Document(name, "statement " + std::to_string(i)));
    expected.push_back(e2e::Utf8(name));
  }
  std::array<Process, kLaunchers> launchers;
  for (int i = 0; i < kLaunchers; ++i)
    ASSERT_TRUE(launchers[i].Start(Quote(installation.exe()) + L" -I " + Quote(documents[i])));

  ASSERT_EQ(installation.WaitForStandIn().size(), 1u);
  auto ended = [&] {
    return std::count_if(launchers.begin(), launchers.end(), [](const Process& p) { return !p.Running(); });
  };
  // All but the one waiting for the application end by themselves.
  ASSERT_TRUE(e2e::WaitUntil([&] { return ended() == kLaunchers - 1; }, 90000)) << ended() << " ended";
  EXPECT_EQ(IncomingNames(), expected);
  for (int i = 0; i < kLaunchers; ++i)
    EXPECT_EQ(IncomingFile(L"statement-" + std::to_wstring(i) + L".qif"),
              std::optional<std::string>("statement " + std::to_string(i)));
  EXPECT_EQ(installation.StandIns().size(), 1u);

  installation.ReleaseApplication();
  for (int i = 0; i < kLaunchers; ++i) EXPECT_EQ(launchers[i].Wait(), std::optional<DWORD>(0)) << i;
  EXPECT_EQ(installation.StandIns().size(), 1u) << "exactly one application ran";
}

}  // namespace
