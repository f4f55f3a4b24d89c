// The real ledgrix.exe under Wine handing documents to the application
// through the incoming folder: from the command line, from the shell's open
// command, and from several launchers at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/e2e.h"

namespace {

using e2e::Installation;
using e2e::Process;
using e2e::Quote;

// An installation whose Java stand-in records what the incoming folder holds
// when it starts; every test starts without that folder.
class HandOff : public ::testing::Test {
 protected:
  HandOff() {
    e2e::RemoveIncomingFolder();
    exe_ = at_.InstallLauncher();
    at_.InstallStandIn(L"jre\\bin", 0, e2e::IncomingFolder());
    at_.WriteFile(L"ledgrix.boot", e2e::Utf8(L"install_dir=" + at_.root() + L"\njrehome=" + at_.Path(L"jre") +
                                             L"\nlib-classpath=lib\\app.jar;\n"));
  }
  ~HandOff() override { e2e::RemoveIncomingFolder(); }

  std::wstring Document(const std::wstring& name) const {
    return at_.WriteFile(L"documents\\" + name, "content of " + e2e::Utf8(name));
  }
  void ExpectArrived(const std::wstring& name) const {
    EXPECT_EQ(e2e::IncomingFile(name), std::optional<std::string>("content of " + e2e::Utf8(name)));
  }

  Installation at_{L"handoff"};
  std::wstring exe_;
};

TEST_F(HandOff, AFirstStartHandsItsDocumentsOverBeforeTheApplicationStarts) {
  Process launcher;
  ASSERT_TRUE(launcher.Start(Quote(exe_) + L" -I " + Quote(Document(L"january.qif")) + L" -I " +
                             Quote(Document(L"february.ofx"))));
  std::vector<e2e::StandInRecord> records = at_.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].incoming, (std::vector<std::string>{"february.ofx", "january.qif"}));
  ExpectArrived(L"january.qif");
  ExpectArrived(L"february.ofx");
  at_.Release();
  EXPECT_EQ(launcher.Wait(), std::optional<DWORD>(0));
}

// The first start registers this launcher as the opener of documents.
TEST_F(HandOff, WhileTheApplicationRunsDocumentsFromTheCommandLineAndTheShellArriveAndNoSecondOneStarts) {
  Process first;
  ASSERT_TRUE(first.Start(Quote(exe_)));
  ASSERT_EQ(at_.WaitForRecords(1).size(), 1u);

  EXPECT_EQ(e2e::RunToEnd(exe_, L"-I " + Quote(Document(L"march.qif"))), std::optional<DWORD>(0));
  const std::wstring opened[] = {L"statement april.qif", L"\u0441\u0447\u0451\u0442.qif", L"\u8d26\u672c.ofx"};
  for (const std::wstring& name : opened)
    EXPECT_EQ(e2e::OpenThroughShell(Document(name)), std::optional<DWORD>(0)) << e2e::Utf8(name);
  for (const std::wstring& name : {std::wstring(L"march.qif"), opened[0], opened[1], opened[2]}) ExpectArrived(name);
  EXPECT_EQ(e2e::IncomingNames().size(), 4u);

  EXPECT_TRUE(first.Running());
  at_.Release();
  EXPECT_EQ(first.Wait(), std::optional<DWORD>(0));
  EXPECT_EQ(at_.Records().size(), 1u) << "exactly one application ran";
}

TEST_F(HandOff, EightLaunchersAtOnceStartOneApplicationAndHandOverEveryDocument) {
  constexpr int kLaunchers = 8;
  Process launchers[kLaunchers];
  for (int i = 0; i < kLaunchers; ++i)
    ASSERT_TRUE(launchers[i].Start(Quote(exe_) + L" -I " + Quote(Document(L"s" + std::to_wstring(i) + L".qif"))));
  ASSERT_EQ(at_.WaitForRecords(1).size(), 1u);
  auto ended = [&] { return std::count_if(launchers, launchers + kLaunchers, [](auto& p) { return !p.Running(); }); };
  // All but the one waiting for the application end by themselves.
  ASSERT_TRUE(e2e::WaitUntil([&] { return ended() == kLaunchers - 1; }, 90000)) << ended() << " ended";
  for (int i = 0; i < kLaunchers; ++i) ExpectArrived(L"s" + std::to_wstring(i) + L".qif");
  EXPECT_EQ(e2e::IncomingNames().size(), 8u);

  at_.Release();
  for (Process& launcher : launchers) EXPECT_EQ(launcher.Wait(), std::optional<DWORD>(0));
  EXPECT_EQ(at_.Records().size(), 1u) << "exactly one application ran";
}

}  // namespace

namespace {

// The application reads the incoming folder at any moment: it must only ever
// see a document whole, under its own name.
TEST_F(HandOff, ADocumentAppearsInTheIncomingFolderOnlyWhole) {
  const std::wstring name = L"large statement.ofx";
  const std::string content(48 << 20, 'x');
  const std::wstring document = at_.WriteFile(L"documents\\" + name, content);
  e2e::MutexHolder running_application;
  Process launcher;
  ASSERT_TRUE(launcher.Start(Quote(exe_) + L" -I " + Quote(document)));
  std::set<std::pair<std::wstring, ULONGLONG>> seen;
  const std::wstring folder = e2e::IncomingFolder();
  for (bool running = true; running;) {
    running = launcher.Running();
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data))
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        seen.emplace(data.cFileName, (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
  }
  EXPECT_EQ(launcher.Wait(), std::optional<DWORD>(0));
  const std::set<std::pair<std::wstring, ULONGLONG>> whole{{name, content.size()}};
  EXPECT_EQ(seen, whole) << seen.size() << " names or sizes seen";
  EXPECT_EQ(e2e::IncomingFile(name), std::optional<std::string>(content));
}

// The application holds its older copy open: that document cannot be
// replaced, the hand-off stops there and leaves nothing behind.
TEST_F(HandOff, ADocumentThatCannotBeMovedInStopsTheHandOffAndLeavesTheOlderCopyAndNoStagedFile) {
  e2e::MutexHolder running_application;
  ASSERT_EQ(e2e::RunToEnd(exe_, L"-I " + Quote(Document(L"a.qif"))), std::optional<DWORD>(0));
  at_.WriteFile(L"documents\\a.qif", "newer a");
  HANDLE held = CreateFileW((e2e::IncomingFolder() + L"\\a.qif").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(e2e::RunToEnd(exe_, L"-I " + Quote(at_.Path(L"documents\\a.qif")) + L" -I " + Quote(Document(L"b.qif"))),
            std::optional<DWORD>(0));
  CloseHandle(held);
  ExpectArrived(L"a.qif");
  EXPECT_EQ(e2e::IncomingNames(), std::vector<std::string>{"a.qif"}) << "b.qif comes after the failure";
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((e2e::StagingFolder() + L"\\*.*").c_str(), &data);
  int staged = 0;
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data))
    staged += !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  EXPECT_EQ(staged, 0);
}

}  // namespace
