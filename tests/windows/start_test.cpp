// The real launcher under Wine, in a Russian Windows's setup (ANSI code page
// 1251): how each boot file ends a first start, what Java receives, and what
// reaches the incoming folder while the application runs.
#include <memory>
#include <set>

#include "support.h"

namespace {

struct Row {
  const char* name;
  std::wstring install_dir;
  std::wstring jrehome;
  std::wstring default_options;
  std::wstring lib_classpath;
  std::wstring ended;  // the exit code, then each box
  std::vector<Java> javas;
};

// Every start is a first one, with two documents, handed over before the
// launch is checked; the boot file decides how it ends. A relative folder is
// the installation's, never the current folder's; a path code page 1251
// cannot carry (ç) reaches Java as the same file; a bare javaw comes from the
// system folder, whatever the length of PATH.
TEST(Start, EachBootFileEndsAFirstStartItsOwnWay) {
  const Installation at(L"LEDGRIX_EXE");
  wchar_t folder[MAX_PATH];
  const std::wstring system_java =
      std::wstring(folder, GetSystemDirectoryW(folder, MAX_PATH)) + L"\\javaw.exe";
  CopyFileW((Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe").c_str(), system_java.c_str(), FALSE);
  const std::wstring path = Env(L"PATH");
  SetEnvironmentVariableW(L"PATH", (path + L";C:\\" + std::wstring(300, L'p')).c_str());
  const std::wstring main = L"com.zor.ledgrix.Tabex";
  const std::wstring too_long = L"\\\\?\\" + at.latin + L"\\" + std::wstring(300, L'x');
  const std::wstring app = at.latin + L"\\app";
  const Row rows[] = {
      {"relative folders",
       L".",
       L"j re",
       L"-Xmx9m",
       L"c\\;x.jar;",
       L"0",
       {{at.root + L"\\j re\\bin\\javaw.exe",
         at.root,
         L"3",
         {at.root + L"\\j re\\bin\\javaw",
          L"-Xmx9m",
          L"-classpath",
          at.root + L"\\c\\;" + at.root + L"\\x.jar",
          main}}}},
      {"absolute folders outside the code page",
       app,
       at.latin + L"\\j re",
       L"",
       L"a.jar;lib\\*;",
       L"0",
       {{at.latin + L"\\j re\\bin\\javaw.exe",
         app,
         L"3",
         {at.latin + L"\\j re\\bin\\javaw",
          L"-Xmx128m",
          L"-classpath",
          app + L"\\a.jar;" + app + L"\\lib\\*",
          main}}}},
      {"javaw searched for",
       L".",
       L"",
       L"",
       L"a\\\\;",
       L"0",
       {{system_java,
         at.root,
         L"3",
         {L"javaw", L"-Xmx128m", L"-classpath", at.root + L"\\a\\\\", main}}}},
      {"installation folder too long",
       too_long,
       L"",
       L"",
       L"a;",
       L"206\n" + Fatal(L"Could not find installation directory at:\n" + too_long, 206),
       {}},
      {"no Java home",
       L".",
       L"no",
       L"",
       L"a;",
       L"2\n" + Fatal(L"Could not find JRE at:\n\nno", 2),
       {}},
      {"no class path",
       L".",
       L"j re",
       L"",
       L"x.jar",
       L"123\n" + Fatal(L"Application classpath is missing\n", 123),
       {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Write(at.boot,
          Narrow(L"install_dir=" + row.install_dir + L"\njrehome=" + row.jrehome +
                 L"\ndefault_options=" + row.default_options + L"\nlib-classpath=" +
                 row.lib_classpath + L"\n"));
    EXPECT_EQ(at.Run(L"-I a.qif -I '" + at.docs + L"\\l''\u00e9 \u0441\u0447.ofx'"), row.ended);
    EXPECT_EQ(Javas(at.record), row.javas);
    EXPECT_EQ(Tree(Incoming()),
              (std::vector<std::wstring>{L"a.qif", L"l'\u00e9 \u0441\u0447.ofx", L"notes.txt"}));
  }
  DeleteFileW(system_java.c_str());
  SetEnvironmentVariableW(L"PATH", path.c_str());
}

// While the application runs, its launcher waits, in the installation's
// folder: the folder of the document it was started with can go. Further
// starts (several at once, as the shell makes for several selected
// documents) hand their documents over and end: in deep folders, relative to
// the current folder, stopping at the first that cannot be copied; a document
// appears only whole. One Java runs.
TEST(Start, WhileTheApplicationRunsFurtherStartsHandTheirDocumentsOverWhole) {
  const Installation at(L"LEDGRIX_EXE");
  Write(at.boot, "install_dir=.\njrehome=j re\nlib-classpath=a;\n");
  Write(at.root + L"\\hold", "");
  at.Leave();
  Write(at.docs + L"\\b.qif", "b.qif");
  const std::wstring downloads = at.base + L"\\Downloads";
  Write(downloads + L"\\b.qif", "b.qif");
  const std::wstring exe = L"\"" + at.exe + L"\" ";
  SetEnvironmentVariableW(L"LEDGRIX_LOG", at.log.c_str());
  Start first(exe + L"-I b.qif", downloads);
  SetEnvironmentVariableW(L"LEDGRIX_LOG", nullptr);
  for (int tick = 0; tick < 6000 && Javas(at.record).empty(); ++tick) Sleep(10);
  RemoveTree(downloads);
  EXPECT_EQ(GetFileAttributesW(downloads.c_str()), INVALID_FILE_ATTRIBUTES) << "still in use";
  const std::wstring large = Write(at.docs + L"\\large.ofx", std::string(48 << 20, 'x'));
  const std::wstring deep = std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e') + L"\\d.qif";
  Write(at.docs + L"\\" + deep, "d.qif");
  std::vector<std::unique_ptr<Start>> seconds;
  for (const std::wstring& arguments :
       {L"-I \"" + large + L"\"",
        L"-I \"" + at.docs + L"\\" + deep + L"\" -I a.qif",
        std::wstring(L"-I b.qif -I gone.qif -I \"l'\u00e9 \u0441\u0447.ofx\"")})
    seconds.push_back(std::make_unique<Start>(exe + arguments, at.docs));
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
            (std::vector<std::wstring>{L"a.qif", L"b.qif", L"d.qif", L"large.ofx", L"notes.txt"}));
  EXPECT_EQ(WaitForSingleObject(first.process.hProcess, 0), WAIT_TIMEOUT) << "the first waits";
  DeleteFileW((at.root + L"\\hold").c_str());
  EXPECT_EQ(first.Finish(), L"0");
  // One Java (under a loaded Wine the stand-in's one record can be written twice).
  const std::vector<Java> javas = Javas(at.record);
  ASSERT_FALSE(javas.empty());
  EXPECT_EQ(javas.back().folder, at.root);
  EXPECT_EQ(static_cast<size_t>(std::count(javas.begin(), javas.end(), javas.back())),
            javas.size());
}

}  // namespace
