// The real ledgrix.exe under Wine: what one start leaves in the registry, and
// what the shell runs when a document is opened through that registration.
// Every start here runs while another launcher seems to run, so that it only
// reads its boot file and registers.
#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/registry_support.h"

namespace {

using e2e::Installation;
using e2e::RegistryTree;

class DocumentTypes : public ::testing::Test {
 protected:
  void SetUp() override { e2e::RemoveDocumentTypeKeys(); }
  void TearDown() override { e2e::RemoveDocumentTypeKeys(); }

  // The launcher below a folder with a blank, started once.
  std::wstring InstallAndStart() {
    std::wstring exe = at_.InstallLauncher(L"Program Files\\Ledgrix\\bin\\ledgrix.exe");
    at_.WriteFile(L"Program Files\\Ledgrix\\ledgrix.boot", "install_dir=C:\\\n");
    EXPECT_EQ(e2e::RunToEnd(exe), std::optional<DWORD>(0));
    return exe;
  }

  e2e::MutexHolder running_launcher_;
  Installation at_{L"types"};
};

TEST_F(DocumentTypes, AStartWritesExactlyTheTwentyValues) {
  const std::wstring exe = InstallAndStart();
  const std::wstring command = L"\"" + exe + L"\" -I \"%1\"";
  RegistryTree expected;
  for (std::wstring type : {L"OFX", L"OFC", L"QIF", L"OFF"}) {
    const std::wstring extension = L"." + type, document = type + L".Document";
    expected[extension + L" []"] = document;
    expected[document + L" []"] = L"";
    expected[document + L"\\DefaultIcon []"] = exe + L",0";
    for (const std::wstring& key : {extension, document}) {
      expected[key + L"\\shell"] = expected[key + L"\\shell\\open"] = L"";
      expected[key + L"\\shell\\open\\command []"] = command;
    }
  }
  RegistryTree actual;
  for (const wchar_t* key : e2e::kDocumentTypeKeys) actual.merge(e2e::ReadClassesTree(key));
  EXPECT_EQ(actual, expected);
}

// A Windows Installer descriptor in "command" would take precedence over the
// default value: it goes under the type's key, where the shell looks first.
TEST_F(DocumentTypes, ACommandValueGoesUnderTheTypeKeyOnlyAndAnExtensionKeepsItsSpelling) {
  const BYTE descriptor[] = "d\0e\0s\0c\0\0\0";
  for (const wchar_t* key : {L".ofx\\shell\\open\\command", L"OFX.Document\\shell\\open\\command"})
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key, L"command", REG_MULTI_SZ, descriptor, sizeof descriptor), 0);
  InstallAndStart();
  EXPECT_EQ(e2e::SubKeySpelling(L".OFX"), std::optional<std::wstring>(L".ofx"));
  RegistryTree extension = e2e::ReadClassesTree(L".OFX"), type = e2e::ReadClassesTree(L"OFX.Document");
  EXPECT_EQ(extension.count(L".ofx\\shell\\open\\command [command]"), 1u);
  EXPECT_EQ(type.count(L"OFX.Document\\shell\\open\\command [command]"), 0u);
  EXPECT_EQ(type.count(L"OFX.Document\\shell\\open\\command []"), 1u);
}

// A recording program in the launcher's place shows the command the shell
// builds from the registration; one at a shorter prefix of the unquoted
// path would run in its stead.
TEST_F(DocumentTypes, OpeningADocumentRunsTheLauncherWithMinusIAndThePathAndNoDecoy) {
  const std::wstring exe = InstallAndStart();
  at_.InstallStandIn(L"Program Files\\Ledgrix\\bin", 0, L"", L"ledgrix.exe", L"", false);
  at_.InstallStandIn(L"", 0, L"", L"Program.exe", at_.Path(L"decoy.log"), false);
  const std::wstring document = at_.WriteFile(L"statements\\March 2024.qif", "!Type:Bank\n");

  EXPECT_EQ(e2e::OpenThroughShell(document), std::optional<DWORD>(0));
  std::vector<e2e::StandInRecord> records = at_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Get("module"), e2e::Utf8(exe));
  EXPECT_EQ(records[0].Get("argc"), "3");
  EXPECT_EQ(records[0].Get("argv[1]"), "-I");
  EXPECT_EQ(records[0].Get("argv[2]"), e2e::Utf8(document));
  EXPECT_FALSE(e2e::ReadWholeFile(at_.Path(L"decoy.log"))) << "the decoy ran";
}

}  // namespace
