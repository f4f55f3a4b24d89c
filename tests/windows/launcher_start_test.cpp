// The real ledgrix.exe under Wine: where it looks for its boot file, and the
// fatal box a user sees when it is not there.
#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using e2e::Installation;
using e2e::Utf8;

// Four lines: the system's text for 2 ends in a line break of its own.
TEST(LauncherStart, MissingBootFileShowsTheFatalBoxAndExitsWithTwoAlsoWhileAnotherLauncherRuns) {
  const std::wstring system_text = e2e::SystemText(2);
  ASSERT_GE(system_text.size(), 2u);
  ASSERT_EQ(system_text.substr(system_text.size() - 2), L"\r\n");
  for (bool another_runs : {false, true}) {
    SCOPED_TRACE(another_runs);
    Installation at(L"missing-boot");
    std::wstring exe = at.InstallLauncher();
    std::optional<e2e::MutexHolder> running;
    if (another_runs) running.emplace();
    e2e::Outcome outcome = e2e::RunWatchingBoxes(exe);
    EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(2));
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(Utf8(outcome.boxes[0].text), Utf8(L"Unable to open file: " + at.Path(L"ledgrix.boot") +
                                                L"\nparseConfigFile failed with error 2: " + system_text +
                                                L"\nPlease reinstall the application"));
    EXPECT_TRUE(outcome.boxes[0].icon);
    EXPECT_EQ(outcome.boxes[0].buttons, "OK");
  }
}

// While another launcher runs, a readable boot file is all a start needs.
TEST(LauncherStart, BootFileIsReadFromTheParentOfABinFolderInAnyCase) {
  struct Case {
    const wchar_t* exe;
    const wchar_t* boot;       // where the boot file must be
    const wchar_t* not_there;  // where it must not be looked for
  } cases[] = {
      {L"BIN\\ledgrix.exe", L"ledgrix.boot", L"BIN\\ledgrix.boot"},
      {L"binaries\\ledgrix.exe", L"binaries\\ledgrix.boot", L"ledgrix.boot"},
  };
  e2e::MutexHolder running_launcher;
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.exe));
    Installation at(L"root-folder");
    std::wstring exe = at.InstallLauncher(c.exe);
    at.WriteFile(c.not_there, "install_dir=C:\\\n");
    e2e::Outcome wrong = e2e::RunWatchingBoxes(exe);
    EXPECT_EQ(wrong.exit_code, std::optional<DWORD>(2));
    ASSERT_EQ(wrong.boxes.size(), 1u);
    EXPECT_EQ(Utf8(wrong.boxes[0].text), Utf8(e2e::FatalText(L"Unable to open file: " + at.Path(c.boot), 2,
                                                             L"parseConfigFile")));
    at.WriteFile(c.boot, "install_dir=C:\\\n");
    EXPECT_EQ(e2e::RunToEnd(exe), std::optional<DWORD>(0));
  }
}

}  // namespace
