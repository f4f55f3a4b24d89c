// The real launcher under Wine: how each start ends, what Java receives and
// what reaches the incoming folder.
#include <memory>
#include <set>

#include "support.h"

namespace {

std::wstring Fill(std::wstring text, const std::wstring& folder) {  // {} is the installation
  for (size_t at = text.find(L"{}"); at != std::wstring::npos; at = text.find(L"{}", at))
    text.replace(at, 2, folder);
  return text;
}

// An installation: the launcher in BIN (any letter case counts as bin), the
// Java stand-in in "j re\bin" (unquoted, its path would start j.exe, which is
// no program) and planted in docs, where the starts run and the documents are,
// each holding its name; a.qif is read-only.
std::wstring Install(const Folder& at) {
  const std::string javaw = ReadAll(Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe");
  at.Put(L"j re\\bin\\javaw.exe", javaw);
  at.Put(L"docs\\javaw.exe", javaw);
  at.Put(L"j.exe", "MZ");
  for (const std::wstring name : {L"a.qif", L"b.qif", L"l'\u00e9 \u0441\u0447.ofx"})
    at.Put(L"docs\\" + name, Narrow(name));
  SetFileAttributesW((at.path + L"\\docs\\a.qif").c_str(), FILE_ATTRIBUTE_READONLY);
  RemoveTree(Incoming());
  RemoveTree(Staging());
  return L"\"" + at.Put(L"BIN\\ledgrix.exe", ReadAll(Env(L"LEDGRIX_EXE"))) + L"\"";
}

// How the start ended (its exit code and boxes), what Java recorded, and what
// reached the incoming folder: each copy a normal file holding its name.
std::wstring Outcome(Start& start, const Folder& at) {
  std::wstring outcome = start.Finish() + L"\njava:";
  for (const std::wstring& java : Javas(at.path)) outcome += L" " + java;
  outcome += L"\nincoming:";
  for (const std::wstring& name : Tree(Incoming())) {
    const std::wstring copy = Incoming() + L"\\" + name;
    outcome += L" " + name;
    if (ReadAll(copy) != Narrow(name)) outcome += L" (not whole)";
    if (GetFileAttributesW(copy.c_str()) & FILE_ATTRIBUTE_READONLY) outcome += L" (read-only)";
  }
  return outcome;
}

// Every start is a first one, with two documents: the boot file decides how
// it ends. Each runs twice: without a log, and with a log that cannot be
// opened (a folder), which changes nothing. A bare javaw comes from the system
// folder, never from the current folder, whatever the length of PATH.
TEST(Start, EachBootFileEndsAFirstStartItsOwnWay) {
  wchar_t system[MAX_PATH];
  const std::wstring system_java =
      std::wstring(system, GetSystemDirectoryW(system, MAX_PATH)) + L"\\javaw.exe";
  CopyFileW((Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe").c_str(), system_java.c_str(), FALSE);
  const std::wstring path = Env(L"PATH");
  SetEnvironmentVariableW(L"PATH", (path + L";C:\\" + std::wstring(300, L'p')).c_str());
  const std::wstring missing = L"Could not find installation directory at:\n";
  const std::wstring handed = L"\nincoming: a.qif l'\u00e9 \u0441\u0447.ofx";
  const std::wstring too_long = L"\\\\?\\{}\\" + std::wstring(300, L'x');
  const std::pair<std::wstring, std::wstring> rows[] = {
      {L"install_dir={}\njrehome={}\\j re\ndefault_options=-Xmx9m\nlib-classpath=c\\;x.jar;",
       L"0\njava: {}\\j re\\bin\\javaw|-Xmx9m|-classpath|{}\\c\\;{}\\x.jar|com.zor.ledgrix.Tabex|"
       L"{}\\j re\\bin\\javaw.exe|2" +
           handed},
      {L"install_dir={}\nlib-classpath=a\\\\;",
       L"0\njava: javaw|-Xmx128m|-classpath|{}\\a\\\\|com.zor.ledgrix.Tabex|" + system_java +
           L"|2" + handed},
      {L"install_dir=" + too_long, L"206\n" + Fatal(missing + too_long, 206) + L"\njava:" + handed},
      {L"install_dir={}\njrehome={}\\no\nlib-classpath=a;",
       L"2\n" + Fatal(L"Could not find JRE at:\n\n{}\\no", 2) + L"\njava:" + handed},
      {L"install_dir={}\njrehome={}\\j re\nlib-classpath=x.jar",
       L"123\n" + Fatal(L"Application classpath is missing\n", 123) + L"\njava:" + handed},
  };
  for (const auto& [boot, outcome] : rows) {
    SCOPED_TRACE(testing::PrintToString(boot));
    for (const wchar_t* log : {static_cast<const wchar_t*>(nullptr), L"C:\\"}) {
      SetEnvironmentVariableW(L"LEDGRIX_LOG", log);
      Folder at;
      const std::wstring exe = Install(at);
      at.Put(L"ledgrix.boot", Narrow(Fill(boot, at.path)));
      const std::wstring documents =
          L" -I \"{}\\docs\\a.qif\" -I '{}\\docs\\l''\u00e9 \u0441\u0447.ofx'";
      Start start(exe + Fill(documents, at.path), (at.path + L"\\docs").c_str());
      EXPECT_EQ(Outcome(start, at), Fill(outcome, at.path))
          << (log ? "with" : "without") << " a log";
    }
  }
  DeleteFileW(system_java.c_str());
  SetEnvironmentVariableW(L"PATH", path.c_str());
}

// While the application runs, its launcher waits, and further starts (several
// at once, as the shell makes for several selected documents) hand their
// documents over and end: in deep folders, relative to the current folder,
// stopping at the first that cannot be copied; a document appears only whole.
// One Java runs, and the first start, waiting for it, holds no turn on its log.
TEST(Start, WhileTheApplicationRunsFurtherStartsHandTheirDocumentsOverWhole) {
  Folder at;
  const std::wstring exe = Install(at);
  at.Put(L"ledgrix.boot",
         Narrow(Fill(L"install_dir={}\njrehome={}\\j re\nlib-classpath=a;", at.path)));
  at.Put(L"hold", "");
  const std::wstring docs = at.path + L"\\docs";
  const std::wstring log = at.path + L"\\ledgrix.log";
  SetEnvironmentVariableW(L"LEDGRIX_LOG", log.c_str());
  Start first(exe + L" -I " + docs + L"\\b.qif", docs.c_str());
  SetEnvironmentVariableW(L"LEDGRIX_LOG", nullptr);
  for (int tick = 0; tick < 6000 && Javas(at.path).empty(); ++tick) Sleep(10);
  const std::wstring large = at.Put(L"docs\\large.ofx", std::string(48 << 20, 'x'));
  const std::wstring deep = std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e') + L"\\d.qif";
  at.Put(L"docs\\" + deep, "d.qif");
  std::vector<std::unique_ptr<Start>> seconds;
  for (const std::wstring& arguments :
       {L"-I " + large,
        L"-I \"" + docs + L"\\" + deep + L"\" -I a.qif",
        std::wstring(L"-I b.qif -I gone.qif -I \"l'\u00e9 \u0441\u0447.ofx\"")})
    seconds.push_back(std::make_unique<Start>(exe + L" " + arguments, docs.c_str()));
  // Every look at incoming, the last one after the start has ended, sees the
  // document whole or not at all.
  std::set<std::pair<std::wstring, DWORD>> seen;
  for (bool running = true; running;) {
    running = WaitForSingleObject(seconds[0]->process.hProcess, 0) == WAIT_TIMEOUT;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((Incoming() + L"\\*.ofx").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) seen.emplace(found.cFileName, found.nFileSizeLow);
    FindClose(find);
  }
  for (const auto& second : seconds) EXPECT_EQ(second->Finish(), L"0");
  EXPECT_EQ(seen, (std::set<std::pair<std::wstring, DWORD>>{{L"large.ofx", 48 << 20}}));
  EXPECT_EQ(Tree(Incoming()),
            (std::vector<std::wstring>{L"a.qif", L"b.qif", L"d.qif", L"large.ofx"}));
  EXPECT_EQ(WaitForSingleObject(first.process.hProcess, 0), WAIT_TIMEOUT) << "the first waits";
  // Between its lines a launcher holds no turn on its log: another writer takes it at once.
  HANDLE writer = CreateFileW(
      log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
  OVERLAPPED turn = {};
  turn.Offset = 0xFFFFFFFE;
  turn.OffsetHigh = 0x7FFFFFFF;
  EXPECT_TRUE(
      LockFileEx(writer, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &turn));
  CloseHandle(writer);
  DeleteFileW((at.path + L"\\hold").c_str());
  EXPECT_EQ(first.Finish(), L"0");
  // One Java (under a loaded Wine the stand-in's one record can be written twice).
  const std::vector<std::wstring> javas = Javas(at.path);
  EXPECT_EQ(std::set<std::wstring>(javas.begin(), javas.end()),
            std::set<std::wstring>{Fill(L"{}\\j re\\bin\\javaw|-Xmx128m|-classpath|{}\\a|"
                                        L"com.zor.ledgrix.Tabex|{}\\j re\\bin\\javaw.exe|1",
                                        at.path)});
}

}  // namespace
