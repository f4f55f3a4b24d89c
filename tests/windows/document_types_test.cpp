// The real ledgrix.exe under Wine: what one start leaves in the registry, and
// what the shell runs when a document is opened through that registration.
// Every start here runs while another launcher seems to run, so that it only
// reads its boot file and registers.
#include <gtest/gtest.h>

#include "support/e2e.h"
#include "support/registry_support.h"
#include "support/shell_open.h"

namespace {

using e2e::MutexHolder;
using e2e::ReadRegistryTree;
using e2e::RegistryTree;
using e2e::RegistryValue;
using e2e::RunToEnd;
using e2e::Scenario;
using e2e::StringValue;

const wchar_t* const kTypes[] = {L"OFX", L"OFC", L"QIF", L"OFF"};

class DocumentTypeRegistration : public ::testing::Test {
 protected:
  void SetUp() override { e2e::RemoveDocumentTypeKeys(); }
  void TearDown() override { e2e::RemoveDocumentTypeKeys(); }

  // Installs the launcher at relative with its boot file in the folder above
  // bin, and starts it once.
  std::wstring InstallAndStart(const Scenario& scenario, const std::wstring& relative) {
    std::wstring exe = scenario.InstallLauncher(relative);
    std::wstring root = relative.substr(0, relative.rfind(L"bin\\"));
    scenario.WriteFile(root + L"ledgrix.boot", "install_dir=C:\\\n");
    EXPECT_EQ(RunToEnd(exe, L""), std::optional<DWORD>(0));
    return exe;
  }

  static RegistryValue DefaultValue(const std::wstring& key) {
    RegistryTree tree = ReadRegistryTree(HKEY_CLASSES_ROOT, key);
    auto it = tree.find(key + L" []");
    return it == tree.end() ? RegistryValue{} : it->second;
  }

  MutexHolder running_launcher_;
};

TEST_F(DocumentTypeRegistration, AStartWritesExactlyTheTwentyDefaultValues) {
  struct Case {
    const wchar_t* scenario;
    const wchar_t* launcher;
    bool quoted;
  } cases[] = {
      {L"registration", L"Ledgrix\\bin\\ledgrix.exe", false},
      {L"registration", L"Program Files\\Ledgrix\\bin\\ledgrix.exe", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(e2e::Utf8(c.launcher));
    e2e::RemoveDocumentTypeKeys();
    Scenario scenario(c.scenario);
    std::wstring exe = InstallAndStart(scenario, c.launcher);

    std::wstring command = (c.quoted ? e2e::Quote(exe) : exe) + L" -I \"%1\"";
    RegistryTree expected;
    for (std::wstring type : kTypes) {
      std::wstring extension = L"." + type;
      std::wstring document = type + L".Document";
      expected[extension + L" []"] = StringValue(document);
      expected[document + L" []"] = StringValue(L"");
      expected[document + L"\\DefaultIcon []"] = StringValue(exe + L",0");
      for (const std::wstring& key : {extension, document}) {
        expected[key + L"\\shell"] = {};
        expected[key + L"\\shell\\open"] = {};
        expected[key + L"\\shell\\open\\command []"] = StringValue(command);
      }
    }
    RegistryTree actual;
    for (const wchar_t* key : e2e::kDocumentTypeKeys) actual.merge(ReadRegistryTree(HKEY_CLASSES_ROOT, key));
    EXPECT_EQ(actual, expected);
  }
}

TEST_F(DocumentTypeRegistration, ExistingKeysKeepTheirSpellingAndOtherContent) {
  // A Windows Installer descriptor, the kind of "command" value that would
  // take precedence over the default value.
  RegistryValue descriptor = StringValue(L"descriptor>ledgrix");
  descriptor.type = REG_MULTI_SZ;
  descriptor.data.insert(descriptor.data.end(), {0, 0});
  ASSERT_TRUE(e2e::PutRegistryString(HKEY_CLASSES_ROOT, L".ofx", L"Content Type", L"application/x-ofx"));
  ASSERT_TRUE(e2e::PutRegistryValue(HKEY_CLASSES_ROOT, L".ofx\\shell\\open\\command", L"command", descriptor));
  ASSERT_TRUE(e2e::PutRegistryString(HKEY_CLASSES_ROOT, L"OFX.Document\\shell\\open\\command", L"other", L"kept"));
  ASSERT_TRUE(e2e::PutRegistryString(HKEY_CLASSES_ROOT, L"OFX.Document\\shell\\print\\command", L"", L"printer"));
  for (std::wstring type : kTypes)
    ASSERT_TRUE(
        e2e::PutRegistryValue(HKEY_CLASSES_ROOT, type + L".Document\\shell\\open\\command", L"command", descriptor));

  Scenario scenario(L"existing-keys");
  std::wstring exe = InstallAndStart(scenario, L"bin\\ledgrix.exe");
  std::wstring command = exe + L" -I \"%1\"";

  EXPECT_EQ(e2e::SubKeySpelling(HKEY_CLASSES_ROOT, L"", L".OFX"), std::optional<std::wstring>(L".ofx"));
  EXPECT_EQ(ReadRegistryTree(HKEY_CLASSES_ROOT, L".OFX"),
            (RegistryTree{
                {L".ofx []", StringValue(L"OFX.Document")},
                {L".ofx [Content Type]", StringValue(L"application/x-ofx")},
                {L".ofx\\shell", {}},
                {L".ofx\\shell\\open", {}},
                {L".ofx\\shell\\open\\command []", StringValue(command)},
                {L".ofx\\shell\\open\\command [command]", descriptor},
            }));
  EXPECT_EQ(ReadRegistryTree(HKEY_CLASSES_ROOT, L"OFX.Document"),
            (RegistryTree{
                {L"OFX.Document []", StringValue(L"")},
                {L"OFX.Document\\DefaultIcon []", StringValue(exe + L",0")},
                {L"OFX.Document\\shell", {}},
                {L"OFX.Document\\shell\\open", {}},
                {L"OFX.Document\\shell\\open\\command []", StringValue(command)},
                {L"OFX.Document\\shell\\open\\command [other]", StringValue(L"kept")},
                {L"OFX.Document\\shell\\print", {}},
                {L"OFX.Document\\shell\\print\\command []", StringValue(L"printer")},
            }));
  for (std::wstring type : kTypes) {
    std::wstring key = type + L".Document\\shell\\open\\command";
    RegistryTree tree = ReadRegistryTree(HKEY_CLASSES_ROOT, key);
    EXPECT_EQ(tree.count(key + L" [command]"), 0u) << e2e::Utf8(key);
  }
}

TEST_F(DocumentTypeRegistration, OpeningADocumentRunsTheLauncherWithMinusIAndThePath) {
  Scenario scenario(L"shell-open");
  std::wstring exe = InstallAndStart(scenario, L"bin\\ledgrix.exe");
  std::wstring document = scenario.Path(L"statements\\March 2024.qif");
  scenario.WriteFile(L"statements\\March 2024.qif", "!Type:Bank\n");

  // Every start rewrites the registration: a value spoiled beforehand and
  // restored afterwards shows that the shell ran this launcher.
  ASSERT_TRUE(e2e::PutRegistryString(HKEY_CLASSES_ROOT, L"OFF.Document\\DefaultIcon", L"", L"spoiled"));
  e2e::ShellOpenResult opened = e2e::OpenThroughShell(document);
  ASSERT_TRUE(opened.started);
  EXPECT_EQ(opened.exit_code, std::optional<DWORD>(0));
  EXPECT_EQ(DefaultValue(L"OFF.Document\\DefaultIcon"), StringValue(exe + L",0"));

  // The same registration with a recording program in the launcher's place
  // shows the command line the shell builds from it.
  std::wstring log = scenario.Path(L"opened.log");
  ASSERT_TRUE(e2e::InstallRecorder(exe, log));
  opened = e2e::OpenThroughShell(document);
  ASSERT_TRUE(opened.started);
  EXPECT_EQ(opened.exit_code, std::optional<DWORD>(0));
  // And so does "wine start", the command-line way of opening a document.
  e2e::Process start;
  ASSERT_TRUE(start.Start(L"start.exe /wait " + e2e::Quote(document)));
  EXPECT_EQ(start.Wait(), std::optional<DWORD>(0));

  std::vector<e2e::StandInRecord> records = e2e::ReadStandInLog(log);
  ASSERT_EQ(records.size(), 2u);
  for (const e2e::StandInRecord& record : records) {
    EXPECT_EQ(record.Get("module"), e2e::Utf8(exe));
    EXPECT_EQ(record.Get("argc"), "3");
    EXPECT_EQ(record.Get("argv[1]"), "-I");
    EXPECT_EQ(record.Get("argv[2]"), e2e::Utf8(document));
    EXPECT_EQ(record.Get("command_line"), e2e::Utf8(exe + L" -I " + e2e::Quote(document)));
  }
}

TEST_F(DocumentTypeRegistration, AProgramAtAShorterPrefixOfTheInstallationIsNeverRun) {
  Scenario scenario(L"decoy");
  std::wstring exe = InstallAndStart(scenario, L"Program Files\\Ledgrix\\bin\\ledgrix.exe");
  std::wstring decoy_log = scenario.Path(L"decoy.log");
  ASSERT_TRUE(e2e::InstallRecorder(scenario.Path(L"Program.exe"), decoy_log));
  std::wstring document = scenario.Path(L"statement.qif");
  scenario.WriteFile(L"statement.qif", "!Type:Bank\n");

  ASSERT_TRUE(e2e::PutRegistryString(HKEY_CLASSES_ROOT, L"OFF.Document\\DefaultIcon", L"", L"spoiled"));
  e2e::ShellOpenResult opened = e2e::OpenThroughShell(document);
  ASSERT_TRUE(opened.started);
  EXPECT_EQ(opened.exit_code, std::optional<DWORD>(0));
  EXPECT_FALSE(scenario.Exists(L"decoy.log")) << "the decoy ran";
  EXPECT_EQ(DefaultValue(L"OFF.Document\\DefaultIcon"), StringValue(exe + L",0")) << "the launcher did not run";

  // The same command without the quotes does run the decoy: the set-up
  // would catch the fault.
  for (const wchar_t* key : {L".QIF\\shell\\open\\command", L"QIF.Document\\shell\\open\\command"})
    ASSERT_TRUE(e2e::PutRegistryString(HKEY_CLASSES_ROOT, key, L"", exe + L" -I \"%1\""));
  opened = e2e::OpenThroughShell(document);
  ASSERT_TRUE(opened.started);
  std::vector<e2e::StandInRecord> records = e2e::ReadStandInLog(decoy_log);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Get("module"), e2e::Utf8(scenario.Path(L"Program.exe")));
}

}  // namespace
