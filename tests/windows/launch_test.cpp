// The real launcher under Wine, from its boot file to the Java process: what
// Java receives, and every way a start ends.
#include <optional>

#include "support.h"

namespace {

std::wstring Fill(std::wstring text, const std::wstring& folder) {
  for (size_t at; (at = text.find(L"{}")) != std::wstring::npos;) text.replace(at, 2, folder);
  return text;
}

// Java's arguments joined by '|', as the C runtime split them.
std::wstring Arguments(const std::vector<std::wstring>& java) {
  std::wstring joined;
  for (const std::wstring& line : java)
    if (line.starts_with(L"argv=")) joined += (joined.empty() ? L"" : L"|") + line.substr(5);
  return joined;
}

TEST(Launch, EachBootFileEndsItsStartItsOwnWay) {
  const std::wstring kJava = L"{}\\jre\\bin\\javaw|-Xmx100m|-classpath|";
  const std::wstring kMain = L"|com.zor.ledgrix.Tabex";
  struct Case {
    std::wstring boot;  // {} stands for the installation
    DWORD exit_code;
    std::wstring box, java;
  } cases[] = {
      {L"install_dir={}\njrehome={}\\jre\ndefault_options=-Xmx100m\nlib-classpath=lib\\a.jar;lib\\b.jar\n", 0, L"",
       kJava + L"{}\\lib\\a.jar;{}\\lib\\b.jar" + kMain},
      {L"install_dir={}\njrehome={}\\jre\ndefault_options=-Xmx100m\nlib-classpath=classes\\;lib\\a.jar;", 0, L"",
       kJava + L"{}\\classes\\;{}\\lib\\a.jar" + kMain},
      {L"install_dir={}\njrehome={}\\jre\ndefault_options=-Xmx100m\nlib-classpath=a.jar;classes\\\\;", 0, L"",
       kJava + L"{}\\a.jar;{}\\classes\\\\" + kMain},
      {L"install_dir={}\njrehome={}\\jre\nlib-classpath=a.jar;", 0, L"",
       L"{}\\jre\\bin\\javaw|-Xmx128m|-classpath|{}\\a.jar" + kMain},
      {L"install_dir={}\\gone\nlib-classpath=a;", 2, Fatal(L"Could not find installation directory at:\n{}\\gone", 2), L""},
      {L"lib-classpath=a;", 123, Fatal(L"Could not find installation directory at:\n", 123), L""},
      {L"install_dir=C:\\Led*grix\nlib-classpath=a;", 123, Fatal(L"Could not find installation directory at:\nC:\\Led*grix", 123), L""},
      {L"install_dir={}\\" + std::wstring(300, L'x') + L"\nlib-classpath=a;", 206,
       Fatal(L"Could not find installation directory at:\n{}\\" + std::wstring(300, L'x'), 206), L""},
      {L"install_dir={}\\jre\\bin\\javaw.exe\nlib-classpath=a;", 123, Fatal(L"Could not find installation directory at:\n{}\\jre\\bin\\javaw.exe", 123), L""},
      {L"install_dir={}\njrehome={}\\nojre\nlib-classpath=a;", 2, Fatal(L"Could not find JRE at:\n\n{}\\nojre", 2), L""},
      {L"install_dir={}\njrehome={}\\jre\nlib-classpath=lib\\a.jar", 123, Fatal(L"Application classpath is missing\n", 123), L""},
      {L"install_dir={}\njrehome={}\\lib\nlib-classpath=a;", 0, L"CreateProcess failed (2)\n", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.boot));
    Folder at(L"launch");
    at.StandIn(L"jre\\bin");
    at.Put(L"lib\\a.jar", "");
    at.Put(L"ledgrix.boot", Utf8(Fill(c.boot, at.path)));
    const Outcome run = RunToEnd(Quote(at.Launcher()));
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(Utf8(run.boxes.empty() ? L"" : run.boxes[0]), Utf8(Fill(c.box, at.path)));
    EXPECT_LE(run.boxes.size(), 1u);
    const auto javas = Javas(at.path);
    EXPECT_EQ(Utf8(javas.empty() ? L"" : Arguments(javas[0])), Utf8(Fill(c.java, at.path)));
  }
}

// Also while another launcher runs: every start reads its boot file first.
TEST(Launch, TheBootFileIsBesideTheExecutableOrAboveItsBinFolder) {
  struct Case {
    const wchar_t *exe, *boot;
  } cases[] = {{L"BIN\\ledgrix.exe", L"ledgrix.boot"}, {L"binaries\\ledgrix.exe", L"binaries\\ledgrix.boot"}};
  for (bool another_runs : {false, true}) {
    std::optional<RunningLauncher> running;
    if (another_runs) running.emplace();
    for (const Case& c : cases) {
      Folder at(L"boot");
      const std::wstring exe = at.Launcher(c.exe);
      const Outcome missing = RunToEnd(Quote(exe));
      EXPECT_EQ(missing.exit_code, 2u);
      EXPECT_EQ(missing.boxes, std::vector<std::wstring>{Fatal(L"Unable to open file: " + at.path + L"\\" + c.boot, 2, L"parseConfigFile")});
      at.Put(c.boot, "install_dir=" + Utf8(at.path) + "\njrehome=" + Utf8(at.path) + "\\jre\nlib-classpath=a;\n");
      at.StandIn(L"jre\\bin");
      EXPECT_EQ(RunToEnd(Quote(exe)).exit_code, 0u);
      EXPECT_EQ(Javas(at.path).size(), another_runs ? 0u : 1u);
    }
  }
}

// Unquoted, the runtime's path would start <folder>\Program.exe (a file that
// is no program here); a javaw.exe in the current folder, the opened
// document's, must never run instead of the system's.
TEST(Launch, RunsOnlyTheIntendedJava) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring system_java = std::wstring(system) + L"\\javaw.exe";
  for (bool java_home : {true, false}) {
    Folder at(L"intended");
    const std::wstring dir = at.path + L"\\Program Files\\App";
    at.Put(L"Program.exe", "MZ");
    at.StandIn(L"Downloads");
    at.StandIn(L"Program Files\\App\\jre\\bin");
    CopyFileW((at.path + L"\\Downloads\\javaw.exe").c_str(), system_java.c_str(), FALSE);
    at.Put(L"Program Files\\App\\ledgrix.boot",
           Utf8(L"install_dir=" + dir + (java_home ? L"\njrehome=" + dir + L"\\jre" : L"") + L"\nlib-classpath=a;"));
    const Outcome run = RunToEnd(Quote(at.Launcher(L"Program Files\\App\\bin\\ledgrix.exe")), (at.path + L"\\Downloads").c_str());
    DeleteFileW(system_java.c_str());
    EXPECT_EQ(run.exit_code, 0u);
    EXPECT_TRUE(run.boxes.empty());
    const auto javas = Javas(dir);
    ASSERT_EQ(javas.size(), 1u);
    EXPECT_EQ(Utf8(javas[0].front()), "argv=" + (java_home ? Utf8(dir) + "\\jre\\bin\\javaw" : "javaw"));
    EXPECT_EQ(Utf8(javas[0].back()), "module=" + Utf8(java_home ? dir + L"\\jre\\bin\\javaw.exe" : system_java));
  }
}

}  // namespace
