// Every system call of a first and a second start with two documents, made
// to fail in turn, in the setup users have (Installation), with the log on
// and the user's application data redirected to a folder whose incoming is
// on another file system. Whatever fails, the start ends as the launcher
// promises: a fatal box, whose code is the exit code, only for its own path,
// the boot file and the installation check; its own box for a Java that
// cannot start; silence for everything else. And it keeps what every start
// must keep (Installation::Check).
#include <regex>
#include <set>

#include "support.h"

namespace {

inline std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 3, '\0');
  bytes.resize(WideCharToMultiByte(
      CP_UTF8, 0, text.data(), text.size(), bytes.data(), bytes.size(), nullptr, nullptr));
  return bytes;
}

class FaultWalk : public testing::Test {
 protected:
  static constexpr wchar_t kShellFolders[] =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

  static void SetUpTestSuite() {
    DWORD size = sizeof application_data;
    RegGetValueW(HKEY_CURRENT_USER,
                 kShellFolders,
                 L"AppData",
                 RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                 nullptr,
                 application_data,
                 &size);
    RedirectApplicationData(L"C:\\ledgrix-second-volume\\App Data \u0434");
    at = new Installation(L"LEDGRIX_FAULTS_EXE");
    app = at->latin + L"\\app";
    // The boot file's first read ends inside its last line, where the folder
    // named so far exists: cut there, the line would name another installation.
    const std::string first_lines = "install_dir=" + Narrow(app) + "\nlib-classpath=a;\n";
    const std::string cut = "install_dir=" + Narrow(at->latin) + "\\";
    const std::string comment(4096 - first_lines.size() - 1 - cut.size(), '#');
    Write(at->boot, first_lines + comment + "\n" + cut + "app");
    path = Env(L"PATH");
    SetEnvironmentVariableW(L"PATH", (at->latin + L"\\j re\\bin;" + path).c_str());
    SetEnvironmentVariableW(L"LEDGRIX_LOG", at->log.c_str());
    SetEnvironmentVariableW(L"LEDGRIX_JAVAW_EXIT",
                            L"7");  // told in the log; the launcher's stays 0
  }

  static void TearDownTestSuite() {
    DeleteFileW((at->base + L".calls").c_str());
    delete at;
    SetEnvironmentVariableW(L"PATH", path.c_str());
    SetEnvironmentVariableW(L"LEDGRIX_LOG", nullptr);
    SetEnvironmentVariableW(L"LEDGRIX_JAVAW_EXIT", nullptr);
    SetEnvironmentVariableW(L"LEDGRIX_FAIL", nullptr);
    RedirectApplicationData(application_data);
  }

  static void RedirectApplicationData(const std::wstring& folder) {
    RegSetKeyValueW(HKEY_CURRENT_USER,
                    kShellFolders,
                    L"AppData",
                    REG_EXPAND_SZ,
                    folder.c_str(),
                    2 * folder.size() + 2);
    wchar_t expanded[MAX_PATH];
    ExpandEnvironmentStringsW(folder.c_str(), expanded, MAX_PATH);
    SetEnvironmentVariableW(L"APPDATA", expanded);
  }

  // Without faults, from a registry holding installers' "command" values.
  void SetUp() override {
    for (const auto& [key, data] : at->Registry()) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    for (const wchar_t* key :
         {L".OFX\\shell\\open\\command", L"OFX.Document\\shell\\open\\command"})
      RegSetKeyValueW(HKEY_CLASSES_ROOT, key, L"command", REG_SZ, L"d", 4);
  }

  // A start of the documents in the current folder, its nth call failing with code.
  static std::wstring Run(size_t n, DWORD code) {
    const std::wstring fail = std::to_wstring(n) + L":" + std::to_wstring(code);
    SetEnvironmentVariableW(L"LEDGRIX_FAIL", fail.c_str());
    return at->Run(L"-I \"" + at->docs + L"\\a.qif\" -I \"l'\u00e9 \u0441\u0447.ofx\"");
  }

  // The system calls of a start without faults, in order.
  static std::vector<std::string> Calls() {
    const std::wstring calls = at->base + L".calls";
    DeleteFileW(calls.c_str());
    SetEnvironmentVariableW(L"LEDGRIX_CALLS", calls.c_str());
    EXPECT_EQ(Run(0, 0), L"0");
    SetEnvironmentVariableW(L"LEDGRIX_CALLS", nullptr);
    std::istringstream listed(ReadAll(calls));
    std::vector<std::string> names;
    for (std::string name; std::getline(listed, name);) names.push_back(name);
    return names;
  }

  // Java as it starts once the documents that reached incoming are there.
  static Java Expected(const std::wstring& heap) {
    return {
        at->latin + L"\\j re\\bin\\javaw.exe",
        app,
        std::to_wstring(Tree(Incoming()).size()),
        {L"javaw", L"-Xmx" + heap + L"m", L"-classpath", app + L"\\a", L"com.zor.ledgrix.Tabex"}};
  }

  // How a start may end when the call fails with code.
  static std::set<std::wstring> Endings(const std::string& call, DWORD code) {
    const std::wstring ends = std::to_wstring(code) + L"\n";
    const std::wstring missing = L"Could not find installation directory at:\n";
    if (call == "GetModuleFileNameW")
      return {ends +
              Fatal(L"Unable to find the launcher's own executable", code, L"GetModuleFileName")};
    if (call == "SearchPathW" || call == "CreateProcessW")
      return {L"0\nCreateProcess failed (" + std::to_wstring(code) + L")\n"};
    if (call == "GetEnvironmentVariableW") return {L"0", L"0\nCreateProcess failed (2)\n"};
    if (call == "ReadFile") return {L"0", L"123\n" + Fatal(missing, 123)};
    if (call == "GetFileInformationByHandle") return {L"0", ends + Fatal(missing + app, code)};
    if (call == "CreateFileW") {
      return {L"0",
              ends + Fatal(missing + app, code),
              ends + Fatal(L"Unable to open file: " + at->boot, code, L"parseConfigFile")};
    }
    return {L"0"};
  }

  // Each of the calls from the nth on, and the first, failing in turn with a
  // code whose system text has an insert (%1); each line of the log makes the
  // same calls, so those of its first are walked.
  static void Walk(const std::vector<std::string>& calls, size_t from, bool second) {
    for (size_t n = 1; n <= calls.size(); n = n == 1 ? std::max<size_t>(from, 2) : n + 1) {
      const std::string& call = calls[n - 1];
      const bool log_call = call == "LockFileEx" || call == "WriteFile" || call == "UnlockFileEx";
      if (log_call && std::count(calls.begin(), calls.begin() + n - 1, call) > 0) continue;
      SCOPED_TRACE("call " + std::to_string(n) + " " + call);
      const std::wstring ended = Run(n, ERROR_BAD_EXE_FORMAT);
      EXPECT_TRUE(Endings(call, ERROR_BAD_EXE_FORMAT).contains(ended))
          << testing::PrintToString(ended);
      // Not waited for, Java may still be starting.
      const bool java_runs = ended == L"0" && (!second || call == "CreateMutexW");
      for (int tick = 0; java_runs && tick < 1000 && Javas(at->record).empty(); ++tick) Sleep(10);
      // Without the memory's size, the smallest heap.
      const Java java = Expected(call == "GlobalMemoryStatus" ? L"96" : L"128");
      EXPECT_EQ(Javas(at->record), std::vector<Java>(java_runs ? 1 : 0, java));
      const std::string told = ReadAll(at->log);
      EXPECT_EQ(told.find("are not read") != std::string::npos, call == "ReadFile");
    }
  }

  // The few lines support relies on, and the kinds of line: every kind a
  // start makes, none it must not.
  static void CheckLog(bool second) {
    const std::string told = ReadAll(at->log);
    std::vector<std::string> lines = {
        "start: launcher " + Utf8(at->exe) + "\r\n",
        "boot file: install_dir=" + Utf8(app) + "\r\n",
        "hand-off: remove " + Utf8(Staging()) +
            "\\2-0.part, left by a launcher that no longer runs (error 32)\r\n",
        " is on another volume than staging: moved by a copy\r\n",
        "exit code: 0\r\n"};
    std::set<std::string> kinds = {
        "start", "boot file", "registry", "document", "hand-off", "guard", "exit code"};
    if (!second) {
      lines.push_back("java: command line javaw  -Xmx128m -classpath \"" + Utf8(app) +
                      "\\a\" com.zor.ledgrix.Tabex\r\n");
      lines.push_back("java: ended with exit code 7\r\n");
      kinds.insert({"heap", "java"});
    }
    for (const std::string& line : lines) EXPECT_NE(told.find(line), std::string::npos) << line;
    const std::regex line(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[\d+\] ([a-z -]+): .*\r)");
    std::set<std::string> written;
    std::istringstream account(told);
    for (std::string text; std::getline(account, text);) {
      std::smatch kind;
      EXPECT_TRUE(std::regex_match(text, kind, line)) << text;
      written.insert(kind[1]);
    }
    EXPECT_EQ(written, kinds);
  }

  static inline Installation* at = nullptr;
  static inline std::wstring app;
  static inline std::wstring path;
  static inline wchar_t application_data[MAX_PATH] = {};
  static inline const std::vector<std::wstring> handed = {
      L"a.qif", L"l'\u00e9 \u0441\u0447.ofx", L"notes.txt"};
};

TEST_F(FaultWalk, ACleanFirstStart) {
  EXPECT_EQ(Run(0, 0), L"0");
  EXPECT_EQ(Javas(at->record), std::vector<Java>{Expected(L"128")});
  EXPECT_EQ(Tree(Incoming()), handed);
  for (const auto& [key, data] : at->Registry()) EXPECT_EQ(Stored(key), AsStored(data)) << key;
  EXPECT_EQ(Stored(L".OFX\\shell\\open\\command", L"command"), AsStored(L"d"));
  EXPECT_EQ(Stored(L"OFX.Document\\shell\\open\\command", L"command"), "<absent>");
  CheckLog(false);
}

TEST_F(FaultWalk, ACleanSecondStart) {
  const AnotherLauncher another;
  EXPECT_EQ(Run(0, 0), L"0");
  EXPECT_EQ(Javas(at->record), std::vector<Java>{});
  EXPECT_EQ(Tree(Incoming()), handed);
  CheckLog(true);
}

TEST_F(FaultWalk, EveryCallOfAFirstStartFailing) {
  const std::vector<std::string> calls = Calls();
  EXPECT_EQ(calls.front(), "CreateMutexW");
  Walk(calls, 1, false);
}

// A second start makes the calls of a first until the guard tells it that
// another launcher runs: its guard, and what it does instead of launching.
TEST_F(FaultWalk, EveryCallOfASecondStartThatAFirstMakesOtherwiseFailing) {
  const std::vector<std::string> first = Calls();
  const AnotherLauncher another;
  const std::vector<std::string> second = Calls();
  const size_t same =
      std::mismatch(second.begin(), second.end(), first.begin()).first - second.begin();
  Walk(second, same + 1, true);
}

}  // namespace
