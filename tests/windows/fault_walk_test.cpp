// Every system call of a first and a second start with two documents, made
// to fail in turn on real folders: the start ends as the launcher promises (a
// fatal box with the code only for its own path, the boot file and the
// installation check, its own box for a Java that cannot start, silence for
// everything else), with documents whole or absent, nothing staged, and
// registry values that are the launcher's or none. A start without faults
// writes every value, and the "command" value under the type key only goes.
#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "support.h"

namespace {

DWORD PlausibleError(const std::string& call) {
  if (call == "ReadFile") return 23;  // a bad sector
  if (call == "GetModuleFileNameW" || call == "GetCurrentDirectoryW")
    return ERROR_NOT_ENOUGH_MEMORY;
  return call == "CreateProcessW" || call == "SearchPathW" ? ERROR_FILE_NOT_FOUND
                                                           : ERROR_ACCESS_DENIED;
}

TEST(FaultWalk, EveryCallOfAFirstAndASecondStartWithTwoDocuments) {
  Folder at;
  const std::wstring exe = at.Put(L"P F\\bin\\ledgrix.exe", ReadAll(Env(L"LEDGRIX_FAULTS_EXE"))),
                     log = at.path + L"\\calls";
  at.Put(L"P F\\bin\\javaw.exe",
         ReadAll(Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe"));  // where javaw is looked for first
  const std::wstring boot =
      at.Put(L"P F\\ledgrix.boot", U(L"install_dir=" + at.path + L"\nlib-classpath=a;"));
  const std::wstring command = L"\"" + exe + L"\" -I " + at.Put(L"docs\\a.qif", "a.qif") + L" -I " +
                               at.Put(L"docs\\b.ofx", "b.ofx");
  std::map<std::wstring, std::wstring> values;  // what each registry key may hold besides nothing
  for (const std::wstring type : {L"OFX", L"OFC", L"QIF", L"OFF"}) {
    values[L"." + type] = type + L".Document", values[type + L".Document"] = L"",
                  values[type + L".Document\\DefaultIcon"] = exe + L",0";
    values[L"." + type + L"\\shell\\open\\command"] =
        values[type + L".Document\\shell\\open\\command"] = L"\"" + exe + L"\" -I \"%1\"";
  }
  auto registry = [&](bool written) {  // every value the launcher's, or (not written) none
    for (const auto& [key, value] : values) {
      wchar_t data[1024] = {};
      DWORD size = sizeof data;
      const bool held =
          !RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), L"", RRF_RT_REG_SZ, nullptr, data, &size);
      EXPECT_TRUE(held ? data == value : !written) << U(key) << " holds " << U(data);
    }
  };
  auto start = [&](size_t n, DWORD code) {
    DeleteFileW(log.c_str()), DeleteFileW((at.path + L"\\javaw.log").c_str()),
        RemoveTree(Incoming() + L"\\..\\staging");
    RemoveTree(Incoming());
    SetEnvironmentVariableW(L"LEDGRIX_CALLS", log.c_str());
    SetEnvironmentVariableW(L"LEDGRIX_FAIL",
                            (std::to_wstring(n) + L":" + std::to_wstring(code)).c_str());
    Start run(command);
    const DWORD exit_code = run.Finish();
    EXPECT_LE(run.boxes.size(), 1u);
    run.boxes.emplace_back(),
        run.boxes[0] += L"\n" + std::to_wstring(exit_code);  // the box, or none, and the exit code
    return run.boxes[0];
  };
  auto calls_of = [&] {  // the calls of the last start, in order
    std::vector<std::string> calls;
    const std::string text = ReadAll(log);
    for (size_t i = 0, end; (end = text.find('\n', i)) != std::string::npos; i = end + 1)
      calls.push_back(text.substr(i, end - i));
    return calls;
  };
  for (bool second : {false, true}) {
    std::optional<AnotherLauncher> another;
    if (second) another.emplace();
    for (const auto& [key, value] : values) RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    for (const wchar_t* key :
         {L".OFX\\shell\\open\\command", L"OFX.Document\\shell\\open\\command"})
      RegSetKeyValueW(HKEY_CLASSES_ROOT, key, L"command", REG_SZ, L"d", 4);
    ASSERT_EQ(start(0, 0), L"\n0");
    const std::vector<std::string> calls = calls_of();
    ASSERT_EQ(ListFiles(Incoming()), (std::vector<std::wstring>{L"a.qif", L"b.ofx"}));
    registry(true);
    DWORD size = 0;
    EXPECT_EQ(RegGetValueW(HKEY_CLASSES_ROOT,
                           L".ofx\\shell\\open\\command",
                           L"command",
                           RRF_RT_REG_SZ,
                           nullptr,
                           nullptr,
                           &size),
              0);
    EXPECT_NE(RegGetValueW(HKEY_CLASSES_ROOT,
                           L"OFX.Document\\shell\\open\\command",
                           L"command",
                           RRF_RT_REG_SZ,
                           nullptr,
                           nullptr,
                           &size),
              0);
    ASSERT_EQ(at.Javas().size(), second ? 0u : 1u);
    // The guard first of all; the documents in place before the launch.
    EXPECT_EQ(calls[0], "CreateMutexW");
    EXPECT_LE(std::find(calls.rbegin(), calls.rend(), "MoveFileExW").base(),
              std::find(calls.begin(), calls.end(), "CreateProcessW"));
    for (size_t n = 1; n <= calls.size(); ++n) {
      const std::string& call = calls[n - 1];
      const DWORD code = PlausibleError(call),
                  reported = call == "ReadFile" ? ERROR_INVALID_NAME : code;
      SCOPED_TRACE("call " + std::to_string(n) + " " + call +
                   (second ? " of a second start" : " of a first"));
      const std::wstring ended = start(n, code),
                         missing = L"Could not find installation directory at:\n";
      // Not waited for, Java may still be starting: its record must not reach the next start.
      for (int tick = 0; call == "WaitForSingleObject" && tick < 1000 && at.Javas().empty(); ++tick)
        Sleep(10);
      EXPECT_TRUE(ListFiles(Incoming() + L"\\..\\staging").empty());
      for (const std::wstring& name : ListFiles(Incoming()))
        EXPECT_EQ(ReadAll(Incoming() + L"\\" + name), U(name));
      registry(false);
      if (second && call != "CreateMutexW") {
        EXPECT_TRUE(at.Javas().empty()) << "without its guard, a start counts as first";
      }
      auto box = [](const std::wstring& text, DWORD exit_code) {
        return text + L"\n" + std::to_wstring(exit_code);
      };
      if (call == "CreateProcessW" || call == "SearchPathW") {
        EXPECT_EQ(ended, box(L"CreateProcess failed (2)\n", 0));
      } else if (call == "GetModuleFileNameW") {
        EXPECT_EQ(
            U(ended),
            U(box(
                Fatal(L"Unable to find the launcher's own executable", code, L"GetModuleFileName"),
                code)));
      } else {
        EXPECT_TRUE((std::set<std::wstring>{
            box(L"", 0),
            box(Fatal(L"Unable to open file: " + boot, code, L"parseConfigFile"), code),
            box(Fatal(missing + at.path, reported), reported),
            box(Fatal(missing, reported), reported)}
                         .contains(ended)))
            << U(ended);
      }
    }
  }
}

}  // namespace
