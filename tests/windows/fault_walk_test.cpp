// Every system call of a first and a second start with two documents, made
// to fail in turn, in the setup users have (Installation), with the log on
// and the user's application data redirected to a folder whose incoming is
// on another file system (made by wine-env.sh). Whatever fails, the start
// ends as the launcher promises: a fatal box, whose code is the exit code,
// only for its own path, the boot file and the installation check; its own
// box for a Java that cannot start; silence for everything else. And it keeps
// what every start must keep (Installation::Check).
#include <set>

#include "installation.h"

namespace {

std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 3, '\0');
  bytes.resize(WideCharToMultiByte(
      CP_UTF8, 0, text.data(), text.size(), bytes.data(), bytes.size(), nullptr, nullptr));
  return bytes;
}

class FaultWalk : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    RedirectApplicationData(L"C:\\ledgrix-second-volume\\App Data \u0434");
    at = new Installation(L"LEDGRIX_FAULTS_EXE");
    app = at->base + L"\\app";
    // The boot file's first read ends inside its last line, where the folder
    // named so far exists: cut there, the line would name another installation.
    const std::string first_lines = "install_dir=" + Narrow(app) + "\nlib-classpath=a;\n";
    const std::string cut = "install_dir=" + Narrow(at->base) + "\\";
    const std::string comment(4096 - first_lines.size() - 1 - cut.size(), '#');
    Write(at->boot, first_lines + comment + "\n" + cut + "app");
    path = Env(L"PATH");
    // javaw on PATH, after an entry longer than a path.
    const std::wstring long_entry = L"C:\\" + std::wstring(300, L'p');
    SetEnvironmentVariableW(L"PATH",
                            (long_entry + L";" + at->base + L"\\j re\\bin;" + path).c_str());
    SetEnvironmentVariableW(L"LEDGRIX_LOG", at->log.c_str());
    SetEnvironmentVariableW(L"LEDGRIX_JAVAW_EXIT",
                            L"7");  // told in the log; the launcher's stays 0
  }

  static void TearDownTestSuite() {
    delete at;
    SetEnvironmentVariableW(L"PATH", path.c_str());
    SetEnvironmentVariableW(L"LEDGRIX_LOG", nullptr);
    SetEnvironmentVariableW(L"LEDGRIX_FAIL", nullptr);
    RedirectApplicationData(L"%USERPROFILE%\\AppData\\Roaming");  // Wine's own
  }

  static void RedirectApplicationData(const std::wstring& folder) {
    RegSetKeyValueW(HKEY_CURRENT_USER,
                    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                    L"AppData",
                    REG_EXPAND_SZ,
                    folder.c_str(),
                    2 * folder.size() + 2);
    wchar_t expanded[MAX_PATH];
    ExpandEnvironmentStringsW(folder.c_str(), expanded, MAX_PATH);
    SetEnvironmentVariableW(L"APPDATA", expanded);
  }

  // From a registry holding installers' "command" values.
  void SetUp() override {
    for (const auto& [key, data] : at->Registry()) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    for (const wchar_t* key :
         {L".OFX\\shell\\open\\command", L"OFX.Document\\shell\\open\\command"})
      RegSetKeyValueW(HKEY_CLASSES_ROOT, key, L"command", REG_SZ, L"d", 4);
  }

  // A start of the documents in the current folder, its nth call failing
  // with a code whose system text has an insert (%1).
  static std::wstring Run(size_t n) {
    SetEnvironmentVariableW(L"LEDGRIX_FAIL", (std::to_wstring(n) + L":193").c_str());
    return at->Run(L"-I \"" + at->docs + L"\\a.qif\" -I \"l'\u00e9 \u0441\u0447.ofx\"");
  }

  // The system calls of a start without faults, in order.
  static std::vector<std::string> Calls() {
    const std::wstring calls = at->base + L".calls";
    DeleteFileW(calls.c_str());
    SetEnvironmentVariableW(L"LEDGRIX_CALLS", calls.c_str());
    EXPECT_EQ(Run(0), L"0");
    SetEnvironmentVariableW(L"LEDGRIX_CALLS", nullptr);
    std::istringstream listed(ReadAll(calls));
    DeleteFileW(calls.c_str());
    std::vector<std::string> names;
    for (std::string name; std::getline(listed, name);) names.push_back(name);
    return names;
  }

  // Java as it starts once the documents that reached incoming are there.
  static Names Expected(const std::wstring& heap) {
    const std::wstring documents = std::to_wstring(Tree(Incoming()).size());
    const std::wstring javaw = at->base + L"\\j re\\bin\\javaw.exe";
    return JavaOf(javaw, L"javaw", app, documents, {L"-Xmx" + heap + L"m"}, app + L"\\a");
  }

  // How a start may end when the call fails.
  static std::set<std::wstring> Endings(const std::string& call) {
    const std::wstring missing = L"Could not find installation directory at:\n";
    const std::wstring unfound = L"193\n" + Fatal(missing + app, 193);
    std::map<std::string, std::set<std::wstring>> endings = {
        {"GetModuleFileNameW",
         {L"193\n" +
          Fatal(L"Unable to find the launcher's own executable", 193, L"GetModuleFileName")}},
        {"SearchPathW", {L"0\nCreateProcess failed (193)\n"}},
        {"CreateProcessW", {L"0\nCreateProcess failed (193)\n"}},
        {"GetEnvironmentVariableW", {L"0", L"0\nCreateProcess failed (2)\n"}},
        {"ReadFile", {L"0", L"123\n" + Fatal(missing, 123)}},
        {"GetFileInformationByHandle", {L"0", unfound}},
        {"CreateFileW",
         {L"0",
          unfound,
          L"193\n" + Fatal(L"Unable to open file: " + at->boot, 193, L"parseConfigFile")}}};
    return endings.contains(call) ? endings[call] : std::set<std::wstring>{L"0"};
  }

  // The calls from the nth on, and the first, failing in turn; each line of
  // the log makes the same calls, so those of its first are walked.
  static void Walk(const std::vector<std::string>& calls, size_t from, bool second) {
    for (size_t n = 1; n <= calls.size(); n = n == 1 ? std::max<size_t>(from, 2) : n + 1) {
      const std::string& call = calls[n - 1];
      const bool log_call = call == "LockFileEx" || call == "WriteFile" || call == "UnlockFileEx";
      if (log_call && std::count(calls.begin(), calls.begin() + n - 1, call) > 0) continue;
      SCOPED_TRACE("call " + std::to_string(n) + " " + call);
      const std::wstring ended = Run(n);
      EXPECT_TRUE(Endings(call).contains(ended)) << testing::PrintToString(ended);
      // Not waited for, Java may still be starting.
      const bool java_runs = ended == L"0" && (!second || call == "CreateMutexW");
      for (int tick = 0; java_runs && tick < 1000 && Javas(at->record).empty(); ++tick) Sleep(10);
      // Without the memory's size, the smallest heap.
      const Names java = Expected(call == "GlobalMemoryStatus" ? L"96" : L"128");
      EXPECT_EQ(Javas(at->record), std::vector<Names>(java_runs ? 1 : 0, java));
      const std::string told = ReadAll(at->log);
      EXPECT_EQ(told.find("are not read") != std::string::npos, call == "ReadFile");
      EXPECT_EQ(told.find(" passed as "), std::string::npos) << "code page 1252 carries every path";
    }
  }

  // A start without faults: Java, the documents, and in the log the few
  // lines support relies on and the kinds of line a start makes, none it
  // must not.
  static void Clean(bool second) {
    EXPECT_EQ(Run(0), L"0");
    EXPECT_EQ(Javas(at->record), std::vector<Names>(second ? 0 : 1, Expected(L"128")));
    EXPECT_EQ(Tree(Incoming()), (Names{L"a.qif", L"l'\u00e9 \u0441\u0447.ofx", L"notes.txt"}));
    const std::string told = ReadAll(at->log);
    std::vector<std::string> lines = {
        "start: command line \"" + Utf8(at->exe) + "\" -I \"" + Utf8(at->docs) + "\\a.qif\"",
        "start: current folder " + Utf8(at->docs) + "\r\n",
        "start: launcher " + Utf8(at->exe) + "\r\n",
        "boot file: install_dir=" + Utf8(app) + "\r\n",
        "boot file: lib-classpath=a;\r\n",
        "registry: HKCR\\OFX.Document\\shell\\open\\command: value \"command\" removed (done)",
        "hand-off: remove " + Utf8(Staging()) +
            "\\2-0.part, left by a launcher that no longer runs (error 32)\r\n",
        " is on another volume than staging: moved by a copy\r\n",
        "exit code: 0\r\n"};
    if (!second) {
      lines.push_back("java: command line javaw  -Xmx128m -classpath \"" + Utf8(app) +
                      "\\a\" com.zor.ledgrix.Tabex\r\n");
      lines.push_back("start: current folder now " + Utf8(at->root) + "\r\n");
      lines.push_back(": " + Utf8(at->base) + "\\j re\\bin\\javaw.exe\r\n");  // the javaw found
      lines.push_back("java: ended with exit code 7\r\n");
    }
    for (const std::string& line : lines) EXPECT_NE(told.find(line), std::string::npos) << line;
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_TRUE(told.starts_with(std::to_string(now.wYear) + "-")) << "each line tells its time";
    const std::pair<std::string, bool> kinds[] = {{"] registry: ", true},
                                                  {"] document: ", true},
                                                  {"] guard: ", true},
                                                  {"] heap: ", !second},
                                                  {"] java: ", !second},
                                                  {"] box: ", false}};
    for (const auto& [kind, made] : kinds)
      EXPECT_EQ(told.find(kind) != std::string::npos, made) << kind;
  }

  static inline Installation* at = nullptr;
  static inline std::wstring app;
  static inline std::wstring path;
};

TEST_F(FaultWalk, ACleanFirstStart) {
  Clean(false);
  for (const auto& [key, data] : at->Registry()) EXPECT_EQ(Stored(key), AsStored(data));
  EXPECT_EQ(Stored(L".OFX\\shell\\open\\command", L"command"), AsStored(L"d"));
  EXPECT_EQ(Stored(L"OFX.Document\\shell\\open\\command", L"command"), L"<absent>");
}

TEST_F(FaultWalk, ACleanSecondStart) {
  const AnotherLauncher another;
  Clean(true);
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
  Walk(second,
       std::mismatch(second.begin(), second.end(), first.begin()).first - second.begin() + 1,
       true);
}

}  // namespace
