// Whole starts against the recording fake: what a start asks of the system,
// in which order, and how it ends.
#include "fake_system.h"
#include "launcher/launcher.h"

namespace {

const WString kBootPath = u"C:\\App\\ledgrix.boot";
const std::string kBoot = "install_dir=C:\\App\njrehome=C:\\App\\jre\ndefault_options=-Xmx9m\nlib-classpath=lib\\a.jar;\n";

class Start : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = FakeSystem();
    fake.files[kBootPath] = kBoot;
  }
  // The exit code of one start with the given arguments.
  uint32_t Run(const WString& arguments = u"") {
    try {
      LauncherProcess process;
      return RunLauncher(process, u"\"C:\\App\\bin\\ledgrix.exe\" " + arguments);
    } catch (const FakeExit& exit) {
      return exit.code;
    }
  }
  // The calls whose names are among names, without their arguments.
  std::string Calls(std::initializer_list<std::string> names) const {
    std::string kept;
    for (const std::string& call : fake.calls)
      for (const std::string& name : names)
        if (call.starts_with(name)) kept += (kept.empty() ? "" : " ") + call.substr(0, call.find(' '));
    return kept;
  }
};

// The guard comes first of all, the documents go before the instance test.
TEST_F(Start, AsksTheSystemInItsOrder) {
  struct Case {
    uint32_t mutex_error;
    const char16_t* arguments;
    bool boot_file;
    const char* calls;
  } cases[] = {
      {0, u"-I C:\\d\\a.qif", true, "CreateMutex ReadFile WriteRegistry WriteRegistry WriteRegistry WriteRegistry "
                                    "CopyFile MoveFile RunAndWait"},
      {183, u"-I C:\\d\\a.qif", true, "CreateMutex ReadFile WriteRegistry WriteRegistry WriteRegistry WriteRegistry "
                                      "CopyFile MoveFile"},
      {0, u"", true, "CreateMutex ReadFile WriteRegistry WriteRegistry WriteRegistry WriteRegistry RunAndWait"},
      {183, u"-I C:\\d\\a.qif", false, "CreateMutex ReadFile ShowBox Exit"},
  };
  for (const Case& c : cases) {
    SetUp();
    fake.mutex_error = c.mutex_error;
    if (!c.boot_file) fake.files.clear();
    EXPECT_EQ(Run(c.arguments), c.boot_file ? 0u : 2u);
    EXPECT_EQ(Calls({"CreateMutex", "ReadFile", "WriteRegistry", "CopyFile", "MoveFile", "RunAndWait", "ShowBox",
                     "Exit"}),
              c.calls)
        << Narrow(c.arguments);
  }
}

TEST_F(Start, AFailedStepShowsTheFatalBoxAndEndsWithItsCode) {
  const std::string kRest = "\nlib-classpath=lib\\a.jar;\n";
  struct Case {
    std::string boot;
    std::map<WString, uint32_t> folder_errors;
    uint32_t module_error;
    const char16_t* box_start;
    uint32_t exit_code;
  } cases[] = {
      {kBoot, {}, 8, u"Unable to find the launcher's own executable\nGetModuleFileName failed with error 8: text of 8\r\n\nPlease reinstall the application", 8},
      {kBoot, {}, 317, u"Unable to find the launcher's own executable\nGetModuleFileName failed with error 317: (the system has no description for this error)\r\n\n", 317},
      {kBoot, {}, 0x80070057, u"Unable to find the launcher's own executable\nGetModuleFileName failed with error -2147024809: ", 0x80070057},
      {"", {}, 0, u"Could not find installation directory at:\n\nledgrix launcher failed with error 123: text of 123", 123},
      {"install_dir=C:\\App" + kRest, {{u"C:\\App\\", 3}}, 0, u"Could not find installation directory at:\nC:\\App\nledgrix launcher failed with error 3:", 3},
      {"install_dir=C:\\A*p" + kRest, {}, 0, u"Could not find installation directory at:\nC:\\A*p\nledgrix launcher failed with error 123:", 123},
      {"install_dir=C:\\" + std::string(254, 'x') + kRest, {}, 0, u"Could not find installation directory at:\nC:\\xxx", 206},
      {"install_dir=C:\\App\njrehome=C:\\App\\jre" + kRest, {{u"C:\\App\\jre\\", 2}}, 0, u"Could not find JRE at:\n\nC:\\App\\jre\nledgrix launcher failed with error 2:", 2},
      {"install_dir=C:\\App\nlib-classpath=lib\\a.jar", {}, 0, u"Application classpath is missing\n\nledgrix launcher failed with error 123:", 123},
  };
  for (const Case& c : cases) {
    SetUp();
    fake.files[kBootPath] = c.boot;
    fake.folder_errors = c.folder_errors;
    fake.module_error = c.module_error;
    EXPECT_EQ(Run(), c.exit_code) << c.boot;
    ASSERT_EQ(fake.boxes.size(), 1u) << c.boot;
    EXPECT_EQ(Narrow(fake.boxes[0].substr(0, WStringView(c.box_start).size())), Narrow(c.box_start));
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "ShowBox 16"), 1) << "with the stop sign";
  }
  SetUp();
  EXPECT_THROW(reportFatalError(u"m", u"c", 0), FakeExit);
  EXPECT_EQ(fake.calls.back(), "Exit 1") << "never ends with 0";
}

TEST_F(Start, JavaRunsWithoutAWindowFromTheSearchPathOrTheJavaHome) {
  const WString kTail = u" -Xmx9m -classpath \"C:\\App\\lib\\a.jar\" com.zor.ledgrix.Tabex|C:\\App";
  struct Case {
    const char* jrehome;
    uint32_t search_error, run_error;
    WString calls;  // the search, the run, the box
  } cases[] = {
      {"", 0, 0, u"SearchPath C:\\App\\bin;C:\\windows\\system32;C:\\windows\\System;C:\\windows;C:\\jdk\\bin javaw|"
                 u"RunAndWait C:\\windows\\system32\\javaw.exe|javaw" + kTail},
      {"C:\\App\\jre", 0, 0, u"RunAndWait |C:\\App\\jre\\bin\\javaw" + kTail},
      {"C:\\App\\jre", 0, 5, u"RunAndWait |C:\\App\\jre\\bin\\javaw" + kTail + u"|ShowBox 0"},
      {"", 2, 0, u"SearchPath C:\\App\\bin;C:\\windows\\system32;C:\\windows\\System;C:\\windows;C:\\jdk\\bin javaw|"
                 u"ShowBox 0"},
  };
  for (const Case& c : cases) {
    SetUp();
    fake.files[kBootPath] = "install_dir=C:\\App\njrehome=" + std::string(c.jrehome) +
                            "\ndefault_options=-Xmx9m\nlib-classpath=lib\\a.jar;\n";
    fake.search_error = c.search_error;
    fake.run_error = c.run_error;
    EXPECT_EQ(Run(), 0u);
    std::string calls;
    for (const std::string& call : fake.calls)
      if (call.starts_with("SearchPath") || call.starts_with("RunAndWait") || call.starts_with("ShowBox"))
        calls += (calls.empty() ? "" : "|") + call;
    EXPECT_EQ(calls, Narrow(c.calls));
    const uint32_t code = c.search_error + c.run_error;
    EXPECT_EQ(fake.boxes, code ? std::vector<WString>{u"CreateProcess failed (" + DecimalText(code) + u")\n"}
                               : std::vector<WString>{});
  }
}

TEST_F(Start, RegistersTheFourTypesForThisExecutable) {
  fake.mutex_error = 183;
  fake.module_path = u"C:\\Program Files\\App\\bin\\ledgrix.exe";
  fake.files[u"C:\\Program Files\\App\\ledgrix.boot"] = "";
  EXPECT_EQ(Run(), 0u);
  const WString command = u"\"C:\\Program Files\\App\\bin\\ledgrix.exe\" -I \"%1\"";
  std::vector<RegistryWrite> expected;
  for (WString type : {u"OFX", u"OFC", u"QIF", u"OFF"}) {
    const WString document = type + u".Document";
    expected.insert(expected.end(), {{u"." + type, document},
                                     {u"." + type + u"\\shell\\open\\command", command},
                                     {document, u""},
                                     {document + u"\\DefaultIcon", u"C:\\Program Files\\App\\bin\\ledgrix.exe,0"},
                                     {document + u"\\shell\\open\\command", command, true}});
  }
  EXPECT_TRUE(fake.registry == expected);
}

// Each document is copied to a staged name of this process, then renamed;
// the first that fails stops the hand-off and leaves nothing staged.
TEST_F(Start, HandsDocumentsOverThroughStagingAndStopsAtTheFirstFailure) {
  const WString kSystem = u"C:\\Users\\u\\AppData\\Roaming\\.ledgrix\\system\\";
  struct Case {
    WString app_data;
    uint32_t current_error;
    std::string calls;
  } cases[] = {
      {fake.app_data, 0,
       "CurrentDirectory|CopyFile C:\\d\\a.qif -> S\\staging\\77-0.part|"
       "MoveFile S\\staging\\77-0.part -> S\\incoming\\a.qif|CopyFile C:\\work\\rel\\b.qif -> S\\staging\\77-2.part|"
       "MoveFile S\\staging\\77-2.part -> S\\incoming\\b.qif|DeleteFile S\\staging\\77-2.part"},
      {fake.app_data, 5, "CurrentDirectory"},
      {u"", 0, ""},
  };
  for (const Case& c : cases) {
    SetUp();
    fake.mutex_error = 183;
    fake.app_data = c.app_data;
    fake.current_error = c.current_error;
    fake.copy_errors[kSystem + u"incoming\\b.qif"] = 5;
    EXPECT_EQ(Run(u"-I C:\\d\\a.qif -I \"\" -I rel\\b.qif -I C:\\d\\c.qif"), 0u);
    std::string calls;
    for (std::string call : fake.calls) {
      for (size_t at; (at = call.find(Narrow(kSystem))) != std::string::npos;) call.replace(at, kSystem.size(), "S\\");
      if (call.starts_with("Copy") || call.starts_with("Move") || call.starts_with("Delete") || call.starts_with("Current"))
        calls += (calls.empty() ? "" : "|") + call;
    }
    EXPECT_EQ(calls, c.calls) << Narrow(c.app_data) << c.current_error;
  }
}

}  // namespace
