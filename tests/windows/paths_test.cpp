// The real ledgrix.exe under Wine with installation folders and documents
// named in every script, with blanks and apostrophes, and with paths at and
// beyond the classic limit of 260 characters.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/e2e.h"
#include "support/foreign_paths.h"
#include "support/installation.h"
#include "support/registry_support.h"
#include "support/shell_open.h"

namespace {

using e2e::Installation;
using e2e::LaunchOutcome;
using e2e::Quote;
using e2e::Scenario;
using e2e::StandInRecord;
using e2e::Utf8;

constexpr wchar_t kChecks[] = L"ledgrix launcher";

// The options keep the launcher from adding a heap size of its own.
constexpr char kOptions[] = "default_options=-Xmx100m\nlib-classpath=lib\\app.jar;\n";

std::string BootBytes(const std::wstring& install_dir, const std::wstring& jrehome) {
  std::optional<std::string> dir = e2e::Latin1(install_dir);
  std::optional<std::string> jre = e2e::Latin1(jrehome);
  EXPECT_TRUE(dir && jre) << "the boot file holds Latin-1 only";
  return "install_dir=" + dir.value_or("") + "\njrehome=" + jre.value_or("") + "\n" + kOptions;
}

std::wstring QuotedWhenBlank(const std::wstring& path) {
  return path.find(L' ') == std::wstring::npos ? path : Quote(path);
}

// module: the stand-in's own path, when the system names it otherwise than the
// command line does.
void ExpectLaunched(const LaunchOutcome& outcome, const std::wstring& install_dir, const std::wstring& java_home,
                    const std::wstring& module = L"") {
  ASSERT_TRUE(outcome.started) << "start error " << outcome.start_error;
  ASSERT_TRUE(outcome.java) << "no Java process";
  const StandInRecord& java = *outcome.java;
  const std::wstring program = java_home + L"\\bin\\javaw";
  const std::wstring class_path = install_dir + L"\\lib\\app.jar";
  EXPECT_EQ(java.Get("command_line"),
            Utf8(QuotedWhenBlank(program) + L" -Xmx100m -classpath " + Quote(class_path) + L" com.zor.ledgrix.Tabex"));
  EXPECT_EQ(java.Get("argv[0]"), Utf8(program));
  EXPECT_EQ(java.Get("argv[3]"), Utf8(class_path));
  EXPECT_EQ(java.Get("module"), Utf8(module.empty() ? program + L".exe" : module));
  EXPECT_EQ(java.Get("cwd"), Utf8(install_dir));
  EXPECT_TRUE(outcome.boxes.empty());
  EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(0));
}

void ExpectFatalBox(const LaunchOutcome& outcome, const std::wstring& text, DWORD code) {
  ASSERT_TRUE(outcome.started) << "start error " << outcome.start_error;
  EXPECT_FALSE(outcome.java) << "a Java process ran";
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(Utf8(outcome.boxes[0].text), Utf8(text));
  EXPECT_EQ(outcome.boxes[0].text.size(), text.size()) << "whole";
  EXPECT_TRUE(outcome.boxes[0].icon);
  EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(code));
}

// What the shell runs for a document: this executable.
void ExpectRegistered(const std::wstring& exe) {
  EXPECT_EQ(e2e::ClassesRootDefault(L".QIF\\shell\\open\\command"),
            std::optional<std::wstring>(QuotedWhenBlank(exe) + L" -I \"%1\""));
  EXPECT_EQ(e2e::ClassesRootDefault(L"OFX.Document\\DefaultIcon"), std::optional<std::wstring>(exe + L",0"));
}

class PathsInstallation : public ::testing::Test {
 protected:
  void SetUp() override { e2e::RemoveDocumentTypeKeys(); }
  void TearDown() override { e2e::RemoveDocumentTypeKeys(); }
};

// --- Names ---------------------------------------------------------------

TEST_F(PathsInstallation, AFolderOfLatinOneCharactersIsNamedInTheBootFileAndRuns) {
  const wchar_t* const names[] = {
      L"Comptes d\u00e9j\u00e0 r\u00e9gl\u00e9s",  // blanks: the program's path is quoted
      L"Caf\u00e9-M\u00fcller",                     // none: it is not
      L"O'Brien's l'\u00e9t\u00e9 books",
      L"it's",
  };
  for (const wchar_t* name : names) {
    SCOPED_TRACE(Utf8(name));
    e2e::RemoveDocumentTypeKeys();
    Installation at(L"latin1", name);
    at.WriteBoot(BootBytes(at.folder(), at.folder() + L"\\jre"));
    ExpectLaunched(e2e::Launch(at, Quote(at.exe())), at.folder(), at.folder() + L"\\jre");
    ExpectRegistered(at.exe());
  }
}

const wchar_t* const kBeyondLatinOne[] = {
    L"\u0421\u0447\u0435\u0442\u0430 \u0434\u043e\u043c\u0430",  // Cyrillic, with a blank
    L"\u8d26\u672c",                                              // Chinese
    L"\U0001F4B0 it's money",                                     // beyond the basic plane
};

// The boot file is 8-bit: written in UTF-8, such a folder reads as another
// one, whose name the box shows as the launcher read it. The launcher's own
// path and its boot file, read through wide calls, are whole.
TEST_F(PathsInstallation, AFolderBeyondLatinOneWrittenInUtf8IsNotFound) {
  for (const wchar_t* name : kBeyondLatinOne) {
    SCOPED_TRACE(Utf8(name));
    e2e::RemoveDocumentTypeKeys();
    Installation at(L"beyond-latin1", name);
    const std::string utf8 = Utf8(at.folder());
    at.WriteBoot("install_dir=" + utf8 + "\njrehome=" + utf8 + "\\jre\n" + kOptions);
    LaunchOutcome outcome = e2e::Launch(at, Quote(at.exe()), 1);
    const std::wstring read = e2e::ReadAsLatin1(utf8);
    ExpectFatalBox(outcome, e2e::FatalText(L"Could not find installation directory at:\n" + read, 2, kChecks), 2);
    ExpectRegistered(at.exe());
  }
}

// Such a folder holds the launcher and its boot file; the installation is
// named in Latin-1 elsewhere, or by the folder's short (8.3) name, which Wine
// gives every folder and Windows where short names are on.
TEST_F(PathsInstallation, AFolderBeyondLatinOneRunsAnInstallationNamedInLatinOne) {
  for (const wchar_t* name : kBeyondLatinOne) {
    SCOPED_TRACE(Utf8(name));
    Installation at(L"beyond-latin1", name);
    const std::wstring elsewhere = at.scenario().Path(L"Ledgrix \u00e9t\u00e9");
    at.scenario().InstallStandIn(L"Ledgrix \u00e9t\u00e9\\jre\\bin", {});
    const std::wstring short_name = e2e::ShortPath(at.folder());
    ASSERT_TRUE(e2e::Latin1(short_name)) << Utf8(short_name);
    // Wine names a program found by its short path by its long one.
    struct Case {
      const char* what;
      std::wstring install_dir;
      std::wstring module;
    } cases[] = {
        {"elsewhere", elsewhere, L""},
        {"short name", short_name, at.folder() + L"\\jre\\bin\\javaw.exe"},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      e2e::RemoveDocumentTypeKeys();
      at.Reset();
      at.WriteBoot(BootBytes(c.install_dir, c.install_dir + L"\\jre"));
      ExpectLaunched(e2e::Launch(at, Quote(at.exe())), c.install_dir, c.install_dir + L"\\jre", c.module);
      ExpectRegistered(at.exe());
    }
  }
}

// --- Lengths -------------------------------------------------------------

// Wine, like Windows without long-path support, starts no program whose path
// has more than 259 characters.
TEST_F(PathsInstallation, ALauncherWhosePathExceeds259CharactersIsNotStarted) {
  Installation at(L"long", L"a", 250);
  ASSERT_EQ(at.exe().size(), 266u);
  at.WriteBoot(BootBytes(at.folder(), at.folder() + L"\\jre"));
  LaunchOutcome outcome = e2e::Launch(at, Quote(at.exe()));
  EXPECT_FALSE(outcome.started);
  // Which code depends on the level where the path crosses the limit.
  const DWORD codes[] = {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME};
  EXPECT_NE(std::find(std::begin(codes), std::end(codes), outcome.start_error), std::end(codes)) << outcome.start_error;
  EXPECT_EQ(e2e::ClassesRootDefault(L".QIF\\shell\\open\\command"), std::nullopt) << "nothing of it ran";
}

// The longest launcher path that starts, in bin: its runtime inside the
// installation is beyond what the system starts, and says so; a runtime
// elsewhere runs the installation.
TEST_F(PathsInstallation, AnInstallationAsLongAsALauncherCanBe) {
  Installation at(L"long", L"a", 243);
  ASSERT_EQ(at.exe().size(), 259u);
  at.WriteBoot(BootBytes(at.folder(), at.folder() + L"\\jre"));
  LaunchOutcome outcome = e2e::Launch(at, Quote(at.exe()), 1);
  ASSERT_TRUE(outcome.started);
  EXPECT_FALSE(outcome.java);
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].text, L"CreateProcess failed (2)\n") << "javaw.exe: 261 characters";
  EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(0));
  ExpectRegistered(at.exe());

  at.Reset();
  at.scenario().InstallStandIn(L"jre\\bin", {});
  at.WriteBoot(BootBytes(at.folder(), at.scenario().Path(L"jre")));
  ExpectLaunched(e2e::Launch(at, Quote(at.exe())), at.folder(), at.scenario().Path(L"jre"));
}

// A launcher of 259 characters directly in its root folder: the boot path has
// 260, and it is formed and opened whole.
TEST_F(PathsInstallation, ABootPathBeyondTheClassicLimitIsFormedWhole) {
  Scenario scenario(L"boot-path");
  const std::wstring folder = e2e::PathOfLength(scenario.root(), 247);
  const std::wstring relative = folder.substr(scenario.root().size() + 1);
  const std::wstring exe = scenario.InstallLauncher(relative + L"\\ledgrix.exe");
  ASSERT_EQ(exe.size(), 259u);
  const std::wstring boot = folder + L"\\ledgrix.boot";
  ASSERT_EQ(boot.size(), 260u);

  e2e::Outcome missing = e2e::RunWatchingBoxes(exe);
  EXPECT_EQ(missing.exit_code, std::optional<DWORD>(2));
  ASSERT_EQ(missing.boxes.size(), 1u);
  EXPECT_EQ(Utf8(missing.boxes[0].text), Utf8(e2e::FatalText(L"Unable to open file: " + boot, 2, L"parseConfigFile")));

  scenario.WriteFile(relative + L"\\ledgrix.boot", "install_dir=C:\\\n");
  e2e::MutexHolder running_application;
  EXPECT_EQ(e2e::RunToEnd(exe, L""), std::optional<DWORD>(0));
  ExpectRegistered(exe);
}

// The check takes a folder of up to 256 characters (with its drive, as the C
// runtime's split can hold it); a longer one is refused before the system is
// asked, whether it exists or not, with the code for a name too long. Wine
// itself would enter any of them; Windows refuses from 259 characters on.
TEST_F(PathsInstallation, InstallationFoldersAtAndBeyondTheLimitOfTheCheck) {
  Installation at(L"install-dir", L"app");
  struct Case {
    size_t length;
    bool exists;
    bool launches;
  } cases[] = {
      {256, true, true}, {257, true, false}, {259, true, false},
      {300, true, false}, {259, false, false}, {300, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + (c.exists ? " existing" : " missing"));
    at.Reset();
    const std::wstring dir = e2e::PathOfLength(at.scenario().Path(c.exists ? L"e" : L"m"), c.length);
    if (c.exists) at.scenario().MakeDir(dir.substr(at.scenario().root().size() + 1));
    at.WriteBoot(BootBytes(dir, at.folder() + L"\\jre"));
    if (c.launches) {
      ExpectLaunched(e2e::Launch(at, Quote(at.exe())), dir, at.folder() + L"\\jre");
      continue;
    }
    const std::wstring text =
        e2e::FatalText(L"Could not find installation directory at:\n" + dir, ERROR_FILENAME_EXCED_RANGE, kChecks);
    ExpectFatalBox(e2e::Launch(at, Quote(at.exe()), 1), text, ERROR_FILENAME_EXCED_RANGE);
    if (c.length == 300) EXPECT_GT(text.size(), 409u) << "beyond the classic box buffer";
  }
}

// --- Documents -----------------------------------------------------------

// A launcher in a folder of every script, whose application seems to run:
// each start reads its boot file, registers itself as the opener of the four
// types, hands its documents over and ends.
class PathsDocuments : public ::testing::Test {
 protected:
  static constexpr wchar_t kFolder[] = L"L'\u00e9t\u00e9 \u8d26\u672c \U0001F4B0";

  PathsDocuments() : scenario_(L"documents") {
    exe_ = scenario_.InstallLauncher(std::wstring(kFolder) + L"\\bin\\ledgrix.exe");
    scenario_.WriteFile(std::wstring(kFolder) + L"\\ledgrix.boot", "install_dir=C:\\\n");
  }
  void SetUp() override {
    e2e::RemoveIncomingFolder();
    ASSERT_EQ(Run(L""), std::optional<DWORD>(0));
    ExpectRegistered(exe_);
  }
  void TearDown() override { e2e::RemoveIncomingFolder(); }

  std::wstring Document(const std::wstring& relative, const std::string& content) const {
    scenario_.WriteFile(relative, content);
    return scenario_.Path(relative);
  }
  std::optional<DWORD> Run(const std::wstring& arguments) const { return e2e::RunToEnd(exe_, arguments); }

  e2e::MutexHolder running_application_;
  Scenario scenario_;
  std::wstring exe_;
};

struct NamedDocument {
  const wchar_t* folder;
  const wchar_t* name;
};
const NamedDocument kNamedDocuments[] = {
    {L"Relev\u00e9s d'\u00e9t\u00e9", L"f\u00e9vrier \u00fcber.qif"},
    {L"\u0421\u0447\u0435\u0442\u0430", L"\u0432\u044b\u043f\u0438\u0441\u043a\u0430 \u043c\u0430\u0440\u0442.ofx"},
    {L"\u8d26\u672c", L"\u4e09\u6708 \u8d26\u5355.ofc"},
    {L"\U0001F4B0 money", L"it's \U0001F4B0.off"},
    {L"O'Brien's", L"'quoted' name.qif"},
    {L"blanks", L"  two leading blanks.qif"},
};

TEST_F(PathsDocuments, NamesInEveryScriptArriveByteForByteFromTheCommandLineAndTheShell) {
  for (const NamedDocument& d : kNamedDocuments) {
    const std::wstring relative = std::wstring(d.folder) + L"\\" + d.name;
    SCOPED_TRACE(Utf8(relative));
    const std::string typed = "typed " + Utf8(d.name) + std::string("\0\r\n\xff", 4);
    const std::wstring path = Document(relative, typed);
    EXPECT_EQ(Run(L"-I " + Quote(path)), std::optional<DWORD>(0));
    EXPECT_EQ(e2e::IncomingFile(d.name), std::optional<std::string>(typed));

    const std::string opened = "opened " + Utf8(d.name);
    Document(relative, opened);
    e2e::ShellOpenResult result = e2e::OpenThroughShell(path);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exit_code, std::optional<DWORD>(0));
    EXPECT_EQ(e2e::IncomingFile(d.name), std::optional<std::string>(opened)) << "the shell's copy replaced it";
  }
  std::vector<std::wstring> expected;
  for (const NamedDocument& d : kNamedDocuments) expected.push_back(d.name);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(e2e::IncomingNames(), expected);
}

// Typed by hand: an apostrophe quotes too, and a doubled one stands for one.
TEST_F(PathsDocuments, ASingleQuotedPathKeepsItsApostrophes) {
  struct Case {
    const wchar_t* name;
    const wchar_t* typed;
  } cases[] = {
      {L"it's.qif", L"it''s.qif"},
      {L"l'\u00e9t\u00e9 d'\u0441\u0447\u0451\u0442 \U0001F4B0.ofx",
       L"l''\u00e9t\u00e9 d''\u0441\u0447\u0451\u0442 \U0001F4B0.ofx"},
      {L"''.qif", L"''''.qif"},
  };
  const std::wstring folder = L"typed by hand";
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.name));
    Document(folder + L"\\" + c.name, Utf8(c.name));
    EXPECT_EQ(Run(L"-I '" + scenario_.Path(folder) + L"\\" + c.typed + L"'"), std::optional<DWORD>(0));
    EXPECT_EQ(e2e::IncomingFile(c.name), std::optional<std::string>(Utf8(c.name)));
  }
}

// The launcher hands over a document at any length the system can copy. The
// shell is the narrower door: Wine's opens no document of 256 characters or
// more (path not found), and so no launcher starts for it.
TEST_F(PathsDocuments, ADocumentInDeepFoldersArrivesUnderItsOwnName) {
  const std::wstring name = L"relev\u00e9 \u0441\u0447\u0451\u0442 \U0001F4B0.qif";
  struct Case {
    size_t length;
    bool through_the_shell;
  } cases[] = {{255, true}, {256, true}, {300, false}, {600, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    e2e::RemoveIncomingFolder();
    const std::wstring folder = e2e::PathOfLength(scenario_.Path(L"deep"), c.length - name.size() - 1);
    const std::string content = "deep " + std::to_string(c.length);
    const std::wstring path = Document(folder.substr(scenario_.root().size() + 1) + L"\\" + name, content);
    ASSERT_EQ(path.size(), c.length);
    EXPECT_EQ(Run(L"-I " + Quote(path)), std::optional<DWORD>(0));
    EXPECT_EQ(e2e::IncomingFile(name), std::optional<std::string>(content));
    if (!c.through_the_shell) continue;

    e2e::RemoveIncomingFolder();
    e2e::ShellOpenResult result = e2e::OpenThroughShell(path);
    DWORD error = GetLastError();
    if (c.length < 256) {
      EXPECT_EQ(result.exit_code, std::optional<DWORD>(0));
      EXPECT_EQ(e2e::IncomingFile(name), std::optional<std::string>(content));
    } else {
      EXPECT_FALSE(result.started);
      EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
      EXPECT_EQ(e2e::IncomingFile(name), std::nullopt);
    }
  }
}

// The copy stops at the first document that fails; the documents after it
// stay where they are, and nothing is shown.
TEST_F(PathsDocuments, SeveralDocumentsInOneStartStopAtAMissingOne) {
  const std::wstring a = L"\u0441\u0447\u0451\u0442 a.qif";
  const std::wstring missing = L"\U0001F4B0 gone.ofx";
  const std::wstring c = L"\u8d26\u672c c.ofc";
  const std::wstring path_a = Document(L"several\\" + a, "a");
  const std::wstring path_c = Document(L"several\\" + c, "c");
  const std::wstring path_missing = scenario_.Path(L"several\\" + missing);
  struct Case {
    std::vector<std::wstring> documents;
    std::vector<std::wstring> arrived;
  } cases[] = {
      {{path_a, path_missing, path_c}, {a}},
      {{path_a, path_c, path_missing}, {a, c}},
      {{path_missing, path_a, path_c}, {}},
  };
  for (const Case& k : cases) {
    e2e::RemoveIncomingFolder();
    std::wstring arguments;
    for (const std::wstring& document : k.documents) arguments += L" -I " + Quote(document);
    SCOPED_TRACE(Utf8(arguments));
    EXPECT_EQ(Run(arguments), std::optional<DWORD>(0));
    std::vector<std::wstring> arrived = k.arrived;
    std::sort(arrived.begin(), arrived.end());
    EXPECT_EQ(e2e::IncomingNames(), arrived);
  }
}

}  // namespace
