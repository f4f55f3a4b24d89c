// The real ledgrix.exe under Wine: the boot file, its folder rule and the
// fatal box a user sees when it is missing.
#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using e2e::Box;
using e2e::BoxWatch;
using e2e::MutexHolder;
using e2e::RunToEnd;
using e2e::Scenario;

std::wstring MissingBootFileText(const std::wstring& boot_path) {
  return L"Unable to open file: " + boot_path + L"\nparseConfigFile failed with error 2: " + e2e::SystemText(2) +
         L"\nPlease reinstall the application";
}

TEST(LauncherStart, MissingBootFileShowsTheFatalBoxAndExitsWithTwo) {
  Scenario scenario(L"missing-boot");
  std::wstring exe = scenario.InstallLauncher(L"bin\\ledgrix.exe");
  e2e::Outcome outcome = e2e::RunWatchingBoxes(exe);
  ASSERT_EQ(outcome.exit_code, std::optional<DWORD>(2));
  ASSERT_EQ(outcome.boxes.size(), 1u);
  const Box& box = outcome.boxes[0];
  EXPECT_EQ(box.title, "Error");
  EXPECT_TRUE(box.icon) << "the stop-sign icon";
  EXPECT_EQ(box.buttons, "OK");
  EXPECT_EQ(e2e::Utf8(box.text), e2e::Utf8(MissingBootFileText(scenario.Path(L"ledgrix.boot"))));
  ASSERT_GE(e2e::SystemText(2).size(), 2u);
  EXPECT_EQ(e2e::SystemText(2).substr(e2e::SystemText(2).size() - 2), L"\r\n") << "so line 3 of the box is empty";
}

TEST(LauncherStart, MissingBootFileIsFatalAlsoWhileAnotherLauncherRuns) {
  Scenario scenario(L"missing-boot-second");
  std::wstring exe = scenario.InstallLauncher(L"bin\\ledgrix.exe");
  MutexHolder running_launcher;
  e2e::Outcome outcome = e2e::RunWatchingBoxes(exe);
  ASSERT_EQ(outcome.exit_code, std::optional<DWORD>(2));
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(e2e::Utf8(outcome.boxes[0].text), e2e::Utf8(MissingBootFileText(scenario.Path(L"ledgrix.boot"))));
}

// While another launcher runs, a readable boot file is all a start needs.
TEST(LauncherStart, BootFileIsReadFromTheParentOfABinFolderInAnyCase) {
  struct Case {
    const wchar_t* exe;
    const wchar_t* boot;        // where the boot file must be
    const wchar_t* not_there;   // where it must not be looked for
  } cases[] = {
      {L"BIN\\ledgrix.exe", L"ledgrix.boot", L"BIN\\ledgrix.boot"},
      {L"bin\\ledgrix.exe", L"ledgrix.boot", L"bin\\ledgrix.boot"},
      {L"binaries\\ledgrix.exe", L"binaries\\ledgrix.boot", L"ledgrix.boot"},
  };
  MutexHolder running_launcher;
  for (const Case& c : cases) {
    SCOPED_TRACE(e2e::Utf8(c.exe));
    Scenario scenario(L"root-folder");
    std::wstring exe = scenario.InstallLauncher(c.exe);

    scenario.WriteFile(c.not_there, "install_dir=C:\\\n");
    e2e::Outcome wrong = e2e::RunWatchingBoxes(exe);
    EXPECT_EQ(wrong.exit_code, std::optional<DWORD>(2));
    ASSERT_EQ(wrong.boxes.size(), 1u);
    EXPECT_EQ(e2e::Utf8(wrong.boxes[0].text), e2e::Utf8(MissingBootFileText(scenario.Path(c.boot))));

    scenario.WriteFile(c.boot, "install_dir=C:\\\n");
    EXPECT_EQ(RunToEnd(exe, L""), std::optional<DWORD>(0));
  }
}

TEST(LauncherStart, ABootFileInAFolderWithForeignCharactersIsRead) {
  Scenario scenario(L"\u0441\u0447\u0451\u0442-\u8d26\u672c-\U0001F4B0");
  std::wstring exe = scenario.InstallLauncher(L"bin\\ledgrix.exe");
  scenario.WriteFile(L"ledgrix.boot", "install_dir=C:\\\n");
  MutexHolder running_launcher;
  EXPECT_EQ(RunToEnd(exe, L""), std::optional<DWORD>(0));
}

}  // namespace
