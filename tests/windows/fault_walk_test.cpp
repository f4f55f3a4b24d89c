// Every system call of a first and a second start with two documents, made to
// fail in turn on real folders, with the log on. Whatever fails, the start
// ends as the launcher promises: a fatal box, whose code is the exit code, only
// for its own path, the boot file and the installation check; its own box for
// a Java that cannot start; silence for everything else. And after every run:
// - no program ran but the intended javaw, never the one in the current folder;
// - nothing was written outside the incoming and staging folders;
// - nothing of its own is left staged; each document arrived whole or not at all;
// - every registry value is the launcher's to the byte, or absent.
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "support.h"

namespace {

// A value as stored, with its type and terminator.
std::string Stored(const std::wstring& key, const wchar_t* name = L"") {
  HKEY opened = nullptr;
  DWORD type = 0;
  wchar_t data[1024];
  DWORD size = sizeof data;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened)) return "<absent>";
  const LSTATUS status =
      RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(opened);
  if (status) return "<absent>";
  return std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), size);
}

std::string AsStored(const std::wstring& text) {  // a REG_SZ with its terminator
  return "1:" + std::string(reinterpret_cast<const char*>(text.c_str()), 2 * text.size() + 2);
}

// Every file and folder a start could write to by mistake: the drive's root,
// the test's folder (but what Java and the log write), the user's application
// data and the launcher's folder in it (but the incoming and staging folders).
std::vector<std::wstring> Snapshot(const std::wstring& folder) {
  std::vector<std::wstring> names = Tree(L"C:\\");
  for (const std::wstring& name : Tree(folder, true)) {
    if (name != L"app\\javaw.log" && name != L"walk.log") names.push_back(L"test\\" + name);
  }
  for (const std::wstring& name : Tree(Env(L"APPDATA"))) names.push_back(name);
  for (const std::wstring& name : Tree(Env(L"APPDATA") + L"\\.ledgrix", true)) {
    if (!name.starts_with(L"system\\incoming") && !name.starts_with(L"system\\staging"))
      names.push_back(L".ledgrix\\" + name);
  }
  return names;
}

TEST(FaultWalk, EveryCallOfAFirstAndASecondStartWithTwoDocuments) {
  Folder at;
  const std::wstring app = at.path + L"\\app";
  const std::wstring exe = at.Put(L"P F\\bin\\ledgrix.exe", ReadAll(Env(L"LEDGRIX_FAULTS_EXE")));
  const std::string javaw = ReadAll(Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe");
  at.Put(L"java\\javaw.exe", javaw);
  at.Put(L"docs\\javaw.exe", javaw);  // in every start's current folder
  at.Put(L"app\\a", "");
  // The boot file's first read ends inside its last line, where the folder
  // named so far exists: cut there, the line would name another installation.
  const std::string first_lines = "install_dir=" + Narrow(app) + "\nlib-classpath=a;\n";
  const std::string cut = "install_dir=" + Narrow(at.path) + "\\";
  const std::string comment(4096 - first_lines.size() - 1 - cut.size(), '#');
  const std::wstring boot =
      at.Put(L"P F\\ledgrix.boot", first_lines + comment + "\n" + cut + "app");
  at.Put(L"docs\\a.qif", "a.qif");
  at.Put(L"docs\\b.ofx", "b.ofx");
  SetFileAttributesW((at.path + L"\\docs\\a.qif").c_str(), FILE_ATTRIBUTE_READONLY);
  const std::wstring command = L"\"" + exe + L"\" -I " + at.path + L"\\docs\\a.qif -I b.ofx";
  const std::wstring path = Env(L"PATH");
  SetEnvironmentVariableW(L"PATH", (at.path + L"\\java;" + path).c_str());
  const std::wstring log = at.path + L"\\walk.log";
  SetEnvironmentVariableW(L"LEDGRIX_LOG", log.c_str());
  SetEnvironmentVariableW(L"LEDGRIX_JAVAW_EXIT", L"7");  // told in the log; the launcher's stays 0
  const auto java_with = [&](const std::wstring& heap) {
    return L"javaw|-Xmx" + heap + L"m|-classpath|" + app + L"\\a|com.zor.ledgrix.Tabex|" + at.path +
           L"\\java\\javaw.exe|";
  };
  std::map<std::wstring, std::wstring> registry;  // every key's default value
  const std::wstring open = L"\"" + exe + L"\" -I \"%1\"";
  for (const std::wstring type : {L"OFX", L"OFC", L"QIF", L"OFF"}) {
    registry[L"." + type] = type + L".Document";
    registry[L"." + type + L"\\shell\\open\\command"] = open;
    registry[type + L".Document"] = L"";
    registry[type + L".Document\\DefaultIcon"] = exe + L",0";
    registry[type + L".Document\\shell\\open\\command"] = open;
  }
  const std::wstring missing = L"Could not find installation directory at:\n";
  const auto allowed = [&](const std::string& call, DWORD code) -> std::set<std::wstring> {
    const std::wstring ends = std::to_wstring(code) + L"\n";
    if (call == "GetModuleFileNameW")
      return {ends +
              Fatal(L"Unable to find the launcher's own executable", code, L"GetModuleFileName")};
    if (call == "SearchPathW" || call == "CreateProcessW")
      return {L"0\nCreateProcess failed (" + std::to_wstring(code) + L")\n"};
    if (call == "GetEnvironmentVariableW") return {L"0", L"0\nCreateProcess failed (2)\n"};
    if (call == "ReadFile") return {L"0", L"123\n" + Fatal(missing, 123)};
    if (call == "GetCurrentDirectoryW" || call == "GetFileInformationByHandle")
      return {L"0", ends + Fatal(missing + app, code)};
    if (call == "CreateFileW") {
      return {L"0",
              ends + Fatal(missing + app, code),
              ends + Fatal(L"Unable to open file: " + boot, code, L"parseConfigFile")};
    }
    return {L"0"};
  };
  // Every start finds in staging a copy left by a launcher that no longer runs,
  // one by a launcher that runs, and a file of somebody else's.
  const std::vector<std::wstring> planted = {
      L"1-0.part", std::to_wstring(GetCurrentProcessId()) + L"-0.part", L"x.txt"};
  const std::vector<std::wstring> kept(planted.begin() + 1, planted.end());
  const auto run = [&](size_t n, DWORD code) {
    DeleteFileW((app + L"\\javaw.log").c_str());
    DeleteFileW(log.c_str());
    RemoveTree(Incoming());
    RemoveTree(Staging());
    for (const std::wstring& name : planted) Write(Staging() + L"\\" + name, "");
    const std::wstring fail = std::to_wstring(n) + L":" + std::to_wstring(code);
    SetEnvironmentVariableW(L"LEDGRIX_FAIL", fail.c_str());
    return Start(command, (at.path + L"\\docs").c_str()).Finish();
  };
  const std::wstring calls_file = at.path + L"\\calls";
  const std::vector<std::wstring> documents = {L"a.qif", L"b.ofx"};
  for (const bool second : {false, true}) {
    SCOPED_TRACE(second ? "a second start" : "a first start");
    std::unique_ptr<AnotherLauncher> another(second ? new AnotherLauncher : nullptr);
    // Without faults, from a registry with installers' "command" values.
    for (const auto& [key, data] : registry) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    for (const wchar_t* key :
         {L".OFX\\shell\\open\\command", L"OFX.Document\\shell\\open\\command"})
      RegSetKeyValueW(HKEY_CLASSES_ROOT, key, L"command", REG_SZ, L"d", 4);
    SetEnvironmentVariableW(L"LEDGRIX_CALLS", calls_file.c_str());
    ASSERT_EQ(run(0, 0), L"0");
    SetEnvironmentVariableW(L"LEDGRIX_CALLS", nullptr);
    EXPECT_EQ(Javas(app), std::vector<std::wstring>(second ? 0 : 1, java_with(L"128") + L"2"));
    EXPECT_EQ(Tree(Incoming()), documents);
    EXPECT_EQ(Tree(Staging()), kept);
    // The lines support relies on.
    std::vector<std::string> lines = {
        "start: launcher " + Narrow(exe) + "\r\n",
        "start: command line " + Narrow(command) + "\r\n",
        "start: current folder " + Narrow(at.path) + "\\docs\r\n",
        "boot file: default_options=\r\n",
        "boot file: jrehome=\r\n",
        "boot file: install_dir=" + Narrow(app) + "\r\n",
        "registry: HKCR\\OFX.Document\\shell\\open\\command: value \"command\" removed (done)",
        "registry: HKCR\\OFF.Document\\shell\\open\\command: no value \"command\" to remove",
        "hand-off: removed " + Narrow(Staging()) +
            "\\1-0.part, left by a launcher that no longer runs",
        "-1.part to " + Narrow(Incoming()) + "\\b.ofx (done)",
        "exit code: 0\r\n"};
    if (second) {
      lines.push_back("guard: another launcher runs: this start hands its documents over and ends");
    } else {
      lines.push_back("guard: no other launcher runs: this start launches the application");
      lines.push_back("java: command line javaw  -Xmx128m -classpath \"" + Narrow(app) +
                      "\\a\" com.zor.ledgrix.Tabex\r\n");
      lines.push_back("java: ended with exit code 7\r\n");
    }
    const std::string account = ReadAll(log);
    for (const std::string& line : lines) EXPECT_NE(account.find(line), std::string::npos) << line;
    for (const auto& [key, data] : registry) EXPECT_EQ(Stored(key), AsStored(data)) << key;
    EXPECT_EQ(Stored(L".OFX\\shell\\open\\command", L"command"), AsStored(L"d"));
    EXPECT_EQ(Stored(L"OFX.Document\\shell\\open\\command", L"command"), "<absent>");
    std::istringstream listed(ReadAll(calls_file));
    DeleteFileW(calls_file.c_str());
    std::vector<std::string> calls;
    for (std::string call; std::getline(listed, call);) calls.push_back(call);
    EXPECT_EQ(calls.front(), "CreateMutexW");
    for (size_t n = 1; n <= calls.size(); ++n) {
      const std::string& call = calls[n - 1];
      // Each line of the log makes the same calls: those of its first line are walked.
      const bool log_call = call == "LockFileEx" || call == "WriteFile" || call == "UnlockFileEx";
      if (log_call && std::count(calls.begin(), calls.begin() + n - 1, call) > 0) continue;
      for (const DWORD code : {ERROR_ACCESS_DENIED, ERROR_NOT_SAME_DEVICE}) {
        if (code == ERROR_NOT_SAME_DEVICE && call != "MoveFileExW") continue;
        SCOPED_TRACE("call " + std::to_string(n) + " " + call + " fails with " +
                     std::to_string(code));
        const std::vector<std::wstring> before = Snapshot(at.path);
        const std::wstring ended = run(n, code);
        EXPECT_TRUE(allowed(call, code).contains(ended)) << ended;
        // Not waited for, Java may still be starting.
        const bool java_runs = ended == L"0" && (!second || call == "CreateMutexW");
        for (int tick = 0; java_runs && tick < 1000 && Javas(app).empty(); ++tick) Sleep(10);
        EXPECT_EQ(Javas(app).empty(), !java_runs);
        // Without the memory's size, the smallest heap.
        const std::wstring java = java_with(call == "GlobalMemoryStatus" ? L"96" : L"128");
        for (const std::wstring& record : Javas(app))
          EXPECT_EQ(record.substr(0, java.size()), java);
        EXPECT_EQ(Snapshot(at.path), before);
        const std::vector<std::wstring> staged = Tree(Staging());
        EXPECT_TRUE(staged == kept || staged == planted) << testing::PrintToString(staged);
        for (const std::wstring& name : Tree(Incoming())) {
          const std::wstring arrived = Incoming() + L"\\" + name;
          EXPECT_EQ(ReadAll(arrived), Narrow(name));
          EXPECT_FALSE(GetFileAttributesW(arrived.c_str()) & FILE_ATTRIBUTE_READONLY) << name;
        }
        const std::string told = ReadAll(log);
        EXPECT_EQ(told.find("are not read") != std::string::npos, call == "ReadFile");
        if (call == "GetExitCodeProcess") {
          EXPECT_NE(told.find("java: waiting for it failed"), std::string::npos);
        }
        if (code == ERROR_NOT_SAME_DEVICE) {
          EXPECT_EQ(Tree(Incoming()), documents) << "moved by a copy";
        }
        for (const auto& [key, data] : registry) {
          const std::string stored = Stored(key);
          EXPECT_TRUE(stored == AsStored(data) || stored == "<absent>") << key;
        }
      }
    }
  }
  SetEnvironmentVariableW(L"PATH", path.c_str());
  SetEnvironmentVariableW(L"LEDGRIX_LOG", nullptr);
  SetEnvironmentVariableW(L"LEDGRIX_JAVAW_EXIT", nullptr);
}

}  // namespace
