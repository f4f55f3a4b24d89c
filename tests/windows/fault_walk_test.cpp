// Every system call of a first and a second start with two documents made to
// fail in turn, on real folders: the start ends as the launcher promises (a
// fatal box with the code only for the boot file and the launch checks, its
// own box for a Java that cannot start, silence for everything else), with
// documents whole or absent, registry values well formed and the current
// directory where it was.
#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "support.h"

namespace {

DWORD PlausibleError(const std::string& call) {
  if (call == "ReadFile") return 23;  // a bad sector
  if (call == "CopyFileW") return ERROR_SHARING_VIOLATION;
  if (call == "GetModuleFileNameW" || call == "GetCurrentDirectoryW") return ERROR_NOT_ENOUGH_MEMORY;
  if (call == "CreateProcessW" || call == "SHGetSpecialFolderPathW" || call == "SearchPathW") return ERROR_FILE_NOT_FOUND;
  return ERROR_ACCESS_DENIED;
}

std::vector<std::string> Lines(const std::wstring& path) {
  std::vector<std::string> lines;
  const std::string text = ReadAll(path);
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::wstring Value(const std::wstring& key) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data, type = 0;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), L"", RRF_RT_ANY, &type, data, &size)) return L"<none>";
  return type == REG_SZ ? std::wstring(data) : L"<not a string>";
}

TEST(FaultWalk, EveryCallOfAFirstAndASecondStartWithTwoDocuments) {
  Folder at(L"faults");
  const std::wstring exe = at.Launcher(L"bin\\ledgrix.exe", L"LEDGRIX_FAULTS_EXE"), calls_log = at.path + L"\\calls.log";
  at.StandIn(L"bin");  // the first place javaw is looked for, without a Java home
  at.Put(L"ledgrix.boot", "install_dir=" + Utf8(at.path) + "\nlib-classpath=a;");
  const std::wstring command = Quote(exe) + L" -I " + Quote(at.Put(L"docs\\a.qif", "a")) + L" -I " +
                               Quote(at.Put(L"docs\\b.ofx", "b"));
  const std::wstring current = at.path + L"\\docs";
  std::map<std::wstring, std::wstring> values;  // what each registry key may hold
  for (const std::wstring type : {L"OFX", L"OFC", L"QIF", L"OFF"}) {
    values[L"." + type] = type + L".Document", values[type + L".Document"] = L"";
    values[type + L".Document\\DefaultIcon"] = exe + L",0";
    values[L"." + type + L"\\shell\\open\\command"] = values[type + L".Document\\shell\\open\\command"] = exe + L" -I \"%1\"";
  }
  auto start = [&](long n, DWORD code) {
    DeleteFileW(calls_log.c_str()), DeleteFileW((at.path + L"\\javaw.log").c_str()), RemoveTree(IncomingFolder());
    SetEnvironmentVariableW(L"LEDGRIX_CALLS", calls_log.c_str());
    SetEnvironmentVariableW(L"LEDGRIX_FAIL", (std::to_wstring(n) + L":" + std::to_wstring(code)).c_str());
    return RunToEnd(command, current.c_str());
  };
  for (bool second : {false, true}) {
    std::optional<RunningLauncher> running;
    if (second) running.emplace();
    const Outcome clean = start(0, 0);
    const std::vector<std::string> calls = Lines(calls_log);
    ASSERT_EQ(clean.exit_code, 0u);
    ASSERT_EQ(ListFiles(IncomingFolder()), (std::vector<std::wstring>{L"a.qif", L"b.ofx"}));
    ASSERT_EQ(Javas(at.path).size(), second ? 0u : 1u);
    ASSERT_GT(calls.size(), 30u);
    for (size_t n = 1; n < calls.size(); ++n) {
      const DWORD code = PlausibleError(calls[n - 1]);
      SCOPED_TRACE("call " + std::to_string(n) + " " + calls[n - 1] + (second ? " of a second start" : " of a first"));
      const Outcome outcome = start(static_cast<long>(n), code);
      // Not waited for, Java may still be starting: its record must not leak into the next start.
      for (int tick = 0; calls[n - 1] == "WaitForSingleObject" && tick < 1000 && Javas(at.path).empty(); ++tick) Sleep(10);
      EXPECT_LE(outcome.boxes.size(), 1u);
      EXPECT_EQ(ListFiles(IncomingFolder() + L"\\..\\staging"), std::vector<std::wstring>{});
      for (const std::wstring& name : ListFiles(IncomingFolder()))
        EXPECT_EQ(ReadAll(IncomingFolder() + L"\\" + name), name == L"a.qif" ? "a" : name == L"b.ofx" ? "b" : "?");
      for (const auto& [key, value] : values) {
        const std::wstring held = Value(key);
        EXPECT_TRUE(held == L"<none>" || held == value) << Utf8(key) << " holds " << Utf8(held);
      }
      // Without its guard a launcher counts itself the first one.
      if (second && calls[n - 1] != "CreateMutexW") {
        EXPECT_EQ(Javas(at.path).size(), 0u);
      }
      if (outcome.boxes.empty()) {
        EXPECT_EQ(outcome.exit_code, 0u);
        EXPECT_EQ(Lines(calls_log).back(), "end " + Utf8(current));
      } else if (calls[n - 1] == "CreateProcessW" || calls[n - 1] == "SearchPathW") {
        EXPECT_EQ(outcome.boxes[0], L"CreateProcess failed (2)\n");
        EXPECT_EQ(outcome.exit_code, 0u);
      } else if (calls[n - 1] == "GetModuleFileNameW") {
        EXPECT_EQ(Utf8(outcome.boxes[0]), Utf8(Fatal(L"Unable to find the launcher's own executable", code, L"GetModuleFileName")));
        EXPECT_EQ(outcome.exit_code, code);
      } else {
        const DWORD reported = calls[n - 1] == "ReadFile" ? ERROR_INVALID_NAME : code;
        const std::set<std::wstring> fatal = {
            Fatal(L"Unable to open file: " + at.path + L"\\ledgrix.boot", reported, L"parseConfigFile"),
            Fatal(L"Could not find installation directory at:\n" + at.path, reported),
            Fatal(L"Could not find installation directory at:\n", reported)};
        EXPECT_TRUE(fatal.contains(outcome.boxes[0])) << Utf8(outcome.boxes[0]);
        EXPECT_EQ(outcome.exit_code, reported);
      }
    }
  }
}

}  // namespace
