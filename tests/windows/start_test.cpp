// The real launcher under Wine, in the setup users have (Installation) on a
// Russian Windows, whose ANSI code page, 1251, lacks the letters of Latin-1
// folders: how each boot file ends a first start, what Java receives, and
// what reaches the incoming folder while the application runs.
#include "installation.h"

namespace {

struct Row {
  const char* name;
  std::wstring boot;
  std::wstring ended;  // the exit code, then each box
  std::vector<Names> javas;
};

// Every start is a first one, with two documents, handed over before the
// launch is checked; the boot file decides how it ends. A relative folder is
// the installation's, never the current folder's; a path the code page
// cannot carry reaches Java as the same file.
TEST(Start, EachBootFileEndsAFirstStartItsOwnWay) {
  const Installation at(L"LEDGRIX_EXE");
  const std::wstring java = at.root + L"\\j re\\bin\\javaw";
  const std::wstring base_java = at.base + L"\\j re\\bin\\javaw";
  const std::wstring app = at.base + L"\\app";
  const std::wstring too_long = L"\\\\?\\" + at.base + L"\\" + std::wstring(300, L'x');
  const Row rows[] = {
      {"relative folders",
       L"install_dir=..\\app\njrehome=j re\ndefault_options=-Xmx9m\nlib-classpath=lib\\;a.jar;",
       L"0",
       {JavaOf(
           java + L".exe", java, app, L"3", {L"-Xmx9m"}, app + L"\\lib\\;" + app + L"\\a.jar")}},
      {"absolute folders, outside the code page",
       L"install_dir=" + app + L"\njrehome=" + at.base +
           L"\\j re\ndefault_options=-Dcity=Z\u00fcrich\nlib-classpath=a.jar;lib\\*;",
       L"0",
       {JavaOf(base_java + L".exe",
               base_java,
               app,
               L"3",
               {L"-Dcity=Zurich", L"-Xmx128m"},
               app + L"\\a.jar;" + app + L"\\lib\\*")}},
      {"installation folder too long",
       L"install_dir=" + too_long + L"\nlib-classpath=a;",
       L"206\n" + Fatal(L"Could not find installation directory at:\n" + too_long, 206),
       {}},
      {"no Java home",
       L"install_dir=.\njrehome=no\nlib-classpath=a;",
       L"2\n" + Fatal(L"Could not find JRE at:\n\nno", 2),
       {}},
      {"no class path",
       L"install_dir=.\njrehome=j re\nlib-classpath=x.jar",
       L"123\n" + Fatal(L"Application classpath is missing\n", 123),
       {}},
  };
  SetEnvironmentVariableW(L"LEDGRIX_LOG", at.log.c_str());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Write(at.boot, Narrow(row.boot));
    EXPECT_EQ(at.Run(L"-I a.qif -I '" + at.docs + L"\\l''\u00e9 \u0441\u0447.ofx'"), row.ended);
    EXPECT_EQ(Javas(at.record), row.javas);
    // What no short form can carry, an option, is told.
    EXPECT_EQ(ReadAll(at.log).find("cannot carry the whole command line") != std::string::npos,
              row.boot.find(L"Z\u00fc") != std::wstring::npos);
    EXPECT_EQ(Tree(Incoming()), (Names{L"a.qif", L"l'\u00e9 \u0441\u0447.ofx", L"notes.txt"}));
  }
  SetEnvironmentVariableW(L"LEDGRIX_LOG", nullptr);
}

// A user's first start creates incoming. While the application runs, its
// launcher waits in the installation's folder: the folder of the document it
// was started with can go. A further start hands its documents over and ends:
// in deep folders, relative to the current folder, stopping at the first that
// cannot be copied. One Java runs.
TEST(Start, WhileTheApplicationRunsFurtherStartsHandTheirDocumentsOver) {
  const Installation at(L"LEDGRIX_EXE");
  Write(at.boot, "install_dir=.\njrehome=j re\nlib-classpath=a;\n");
  Write(at.root + L"\\hold", "");
  RemoveTree(Env(L"APPDATA") + L"\\.ledgrix");  // the user's first start: no incoming yet
  const std::wstring downloads = at.base + L"\\Downloads";
  Write(downloads + L"\\b.qif", "b.qif");
  Start first(L"\"" + at.exe + L"\" -I b.qif", downloads);
  for (int tick = 0; tick < 6000 && Javas(at.record).empty(); ++tick) Sleep(10);
  RemoveTree(downloads);
  EXPECT_EQ(GetFileAttributesW(downloads.c_str()), INVALID_FILE_ATTRIBUTES) << "still in use";
  const std::wstring deep = std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e') + L"\\d.qif";
  Write(at.docs + L"\\" + deep, "d.qif");
  const std::wstring second = L"-I \"" + at.docs + L"\\" + deep + L"\" -I a.qif -I gone.qif -I b";
  EXPECT_EQ(Start(L"\"" + at.exe + L"\" " + second, at.docs).Finish(), L"0");
  EXPECT_EQ(Tree(Incoming()), (Names{L"a.qif", L"b.qif", L"d.qif"}));
  EXPECT_EQ(WaitForSingleObject(first.process.hProcess, 0), WAIT_TIMEOUT) << "the first waits";
  DeleteFileW((at.root + L"\\hold").c_str());
  EXPECT_EQ(first.Finish(), L"0");
  // One Java (under a loaded Wine the stand-in's one record can be written twice).
  const std::vector<Names> javas = Javas(at.record);
  ASSERT_FALSE(javas.empty());
  EXPECT_EQ(javas.back()[1], at.root);
  EXPECT_EQ(std::count(javas.begin(), javas.end(), javas.back()), std::ssize(javas));
}

}  // namespace
