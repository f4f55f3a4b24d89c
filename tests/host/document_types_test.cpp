#include "filetypes/document_types.h"

#include <algorithm>
#include <optional>

#include "launcher/instance_mutex.h"
#include "platform/emulated_machine.h"
#include "support/emulated_start.h"
#include "support/registry_test_support.h"
#include "support/test_support.h"

namespace {

const WString kExecutable = u"C:\\Program Files\\Example\\bin\\launcher.exe";

std::vector<std::string> WritesAndDeletions(const EmulatedPlatform& os) {
  std::vector<std::string> calls;
  for (const std::string& call : RegistryCalls(os))
    if (call.rfind("RegSetValueEx", 0) == 0 || call.rfind("RegDeleteValue", 0) == 0) calls.push_back(call);
  return calls;
}

TEST(DocumentTypes, WritesTwentyValuesAndDeletesFourInOrder) {
  EmulatedPlatform os;
  ScopedPlatform installed(os);
  os.set_module_file_name(kExecutable);
  RegisterDocumentTypes();

  const std::string command = R"(REG_SZ 104 ""C:\Program Files\Example\bin\launcher.exe" -I "%1"\0")";
  const std::string icon = R"(REG_SZ 88 "C:\Program Files\Example\bin\launcher.exe,0\0")";
  std::vector<std::string> expected;
  for (std::string type : {"OFX", "OFC", "QIF", "OFF"}) {
    std::string ext = "HKCR\\." + type;
    std::string doc = "HKCR\\" + type + ".Document";
    std::vector<std::string> rows = {
        "RegSetValueEx " + ext + R"( [] REG_SZ 26 ")" + type + R"(.Document\0")",
        "RegSetValueEx " + ext + R"(\shell\open\command [] )" + command,
        "RegSetValueEx " + doc + R"( [] REG_SZ 2 "\0")",
        "RegSetValueEx " + doc + R"(\DefaultIcon [] )" + icon,
        "RegSetValueEx " + doc + R"(\shell\open\command [] )" + command,
        "RegDeleteValue " + doc + R"(\shell\open\command [command])",
    };
    expected.insert(expected.end(), rows.begin(), rows.end());
  }
  EXPECT_EQ(WritesAndDeletions(os), expected);

  // Each value is set in a key opened just before it and closed right after.
  std::vector<std::string> calls = RegistryCalls(os);
  EXPECT_EQ(calls.size(), 20u * 3 + 4);
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].rfind("RegSetValueEx", 0) != 0) continue;
    std::string key = calls[i].substr(14, calls[i].find(" [") - 14);
    EXPECT_EQ(calls[i - 1], "RegCreateKeyEx " + key);
    bool deletes = calls[i + 1].rfind("RegDeleteValue", 0) == 0;
    EXPECT_EQ(calls[i + 1 + deletes], "RegCloseKey " + key);
  }
  EXPECT_EQ(os.open_key_count(), 0u);
  EXPECT_TRUE(os.boxes().empty());
}

TEST(DocumentTypes, ALaterStartFromElsewhereRepointsEveryType) {
  EmulatedPlatform os;
  ScopedPlatform installed(os);
  os.set_module_file_name(u"C:\\Old\\ledgrix.exe");
  RegisterDocumentTypes();
  os.registry().PutString(u"HKCR\\QIF.Document\\shell\\open\\command", u"command", u"descriptor");
  os.set_module_file_name(u"C:\\New\\ledgrix.exe");
  RegisterDocumentTypes();

  EmulatedPlatform fresh;
  {
    ScopedPlatform fresh_installed(fresh);
    fresh.set_module_file_name(u"C:\\New\\ledgrix.exe");
    RegisterDocumentTypes();
  }
  EXPECT_EQ(RegistryTree(os.registry(), u"HKCR"), RegistryTree(fresh.registry(), u"HKCR"));
}

TEST(DocumentTypes, AnExecutablePathThatCannotBeHadWholeRegistersNothing) {
  struct Case {
    const char* name;
    size_t path_length;
    bool query_fails;
    bool registers;
  } cases[] = {
      {"longest path that fits", 519, false, true},
      {"one character too long", 520, false, false},
      {"far too long", 2000, false, false},
      {"query fails", 20, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedPlatform os;
    ScopedPlatform installed(os);
    WString path = u"C:\\" + WString(c.path_length - 15, u'p') + u"\\ledgrix.exe";
    ASSERT_EQ(path.size(), c.path_length);
    os.set_module_file_name(path);
    if (c.query_fails) os.FailNext(Op::GetModuleFileName, err::kNotEnoughMemory);
    RegisterDocumentTypes();
    EXPECT_EQ(WritesAndDeletions(os).size(), c.registers ? 24u : 0u);
    if (c.registers) {
      EXPECT_EQ(os.registry().GetValue(u"HKCR\\OFF.Document\\DefaultIcon", u"")->data, StringBytes(path + u",0"));
    }
  }
}

TEST(DocumentTypes, ARegistryThatRefusesWritesOnlyLosesThoseValues) {
  struct Case {
    const char* name;
    std::vector<WString> refusing;
    size_t values_written;
  } cases[] = {
      {"whole root", {u"HKCR"}, 0},
      {"one type key", {u"HKCR\\OFC.Document"}, 17},
      {"an extension key and a command key", {u"HKCR\\.QIF", u"HKCR\\OFX.Document\\shell\\open\\command"}, 17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EmulatedPlatform os;
    ScopedPlatform installed(os);
    for (const WString& key : c.refusing) os.registry().DenyWrite(key);
    auto before = RegistryTree(os.registry(), u"HKCR");
    RegisterDocumentTypes();

    size_t values = 0;
    for (auto& [where, value] : RegistryTree(os.registry(), u"HKCR")) {
      if (where.find(" [") == std::string::npos) continue;
      ++values;
      for (const WString& key : c.refusing)
        EXPECT_NE(where.rfind(ToUtf8(key) + " [", 0), 0u) << "written into a refusing key: " << where;
    }
    EXPECT_EQ(values, c.values_written);
    // Every one of the twenty was still attempted.
    size_t attempts = 0;
    for (const std::string& call : RegistryCalls(os)) attempts += call.rfind("RegCreateKeyEx", 0) == 0;
    EXPECT_EQ(attempts, 20u);
    EXPECT_EQ(os.open_key_count(), 0u);
    EXPECT_TRUE(os.boxes().empty());
    if (c.values_written == 0) {
      EXPECT_EQ(RegistryTree(os.registry(), u"HKCR"), before);
    }
  }
}

class DocumentTypesAtStart : public ::testing::Test {
 protected:
  void SetUp() override { Install(os_); }
  // A whole installation, so that a first launcher launches and ends normally.
  static void Install(EmulatedPlatform& os) {
    os.fs().WriteFile(u"C:\\Program Files\\Ledgrix\\ledgrix.boot",
                      "install_dir=C:\\Program Files\\Ledgrix\r\n"
                      "jrehome=C:\\Program Files\\Ledgrix\\jre\r\n"
                      "lib-classpath=lib\\app.jar;\r\n");
    os.fs().WriteFile(u"C:\\Program Files\\Ledgrix\\jre\\bin\\javaw.exe", "MZ");
  }
  EmulatedPlatform os_;
};

TEST_F(DocumentTypesAtStart, EveryStartRegistersRightAfterReadingTheBootFile) {
  for (bool another_runs : {false, true}) {
    SCOPED_TRACE(another_runs ? "another launcher runs" : "first launcher");
    EmulatedPlatform os(os_.shared_machine());
    std::optional<EmulatedPlatform> first;
    if (another_runs) {
      first.emplace(os_.shared_machine());
      first->CreateMutex(kInstanceMutexName);
    }
    StartResult result = RunEmulatedStart(os, u"ledgrix.exe -I C:\\statement.qif");
    EXPECT_EQ(result.exit_code, 0u);
    EXPECT_FALSE(result.exited_through_exit_process);

    const std::vector<std::string>& log = os.log();
    auto boot_read = std::find_if(log.begin(), log.end(),
                                  [](const std::string& line) { return line.rfind("OpenFileForReading", 0) == 0; });
    auto first_registry =
        std::find_if(log.begin(), log.end(), [](const std::string& line) { return line.rfind("Reg", 0) == 0; });
    ASSERT_NE(first_registry, log.end());
    EXPECT_LT(boot_read, first_registry);
    EXPECT_EQ(WritesAndDeletions(os).size(), 24u);
    EXPECT_EQ(os.registry().GetValue(u"HKCR\\QIF.Document\\shell\\open\\command", u"")->data,
              StringBytes(u"\"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe\" -I \"%1\""));
  }
}

TEST_F(DocumentTypesAtStart, ARefusingRegistryChangesNothingElseInTheStart) {
  EmulatedPlatform normal(std::make_shared<EmulatedMachine>());
  Install(normal);
  StartResult normal_result = RunEmulatedStart(normal, u"ledgrix.exe -I C:\\statement.qif");

  os_.registry().DenyWrite(u"HKCR");
  StartResult refused_result = RunEmulatedStart(os_, u"ledgrix.exe -I C:\\statement.qif");

  EXPECT_EQ(refused_result.exit_code, normal_result.exit_code);
  EXPECT_EQ(refused_result.exited_through_exit_process, normal_result.exited_through_exit_process);
  EXPECT_EQ(os_.boxes().size(), normal.boxes().size());
  EXPECT_EQ(os_.processes().size(), normal.processes().size());
  auto without_registry = [](const EmulatedPlatform& os) {
    std::vector<std::string> rest;
    for (const std::string& line : os.log())
      if (line.rfind("Reg", 0) != 0) rest.push_back(line);
    return rest;
  };
  EXPECT_EQ(without_registry(os_), without_registry(normal));
  EXPECT_TRUE(os_.registry().SubKeys(u"HKCR").empty());
}

TEST_F(DocumentTypesAtStart, NothingIsRegisteredWithoutABootFile) {
  EmulatedPlatform os;
  StartResult result = RunEmulatedStart(os, u"ledgrix.exe");
  EXPECT_TRUE(result.exited_through_exit_process);
  EXPECT_EQ(RegistryCalls(os), std::vector<std::string>{});
}

}  // namespace
