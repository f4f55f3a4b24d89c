// The real ledgrix.exe under Wine with installation folders and documents
// named in every script, with blanks and apostrophes, and with paths at and
// beyond the classic limit of 260 characters.
#include <gtest/gtest.h>

#include "support/e2e.h"

namespace {

using e2e::Installation;
using e2e::Quote;
using e2e::Utf8;

std::wstring Replace(std::wstring text, const std::wstring& dir) {
  for (size_t at; (at = text.find(L"{}")) != std::wstring::npos;) text.replace(at, 2, dir);
  return text;
}

// The boot file is 8-bit, one byte a character.
std::string Latin1(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) bytes += static_cast<char>(c);
  return bytes;
}

// The launcher in <folder>\bin, its boot file naming install_dir, the stand-in in <folder>\jre\bin.
std::wstring Lay(const Installation& at, const std::wstring& folder, const std::string& install_dir) {
  at.InstallStandIn(folder + L"\\jre\\bin");
  at.WriteFile(folder + L"\\ledgrix.boot", "install_dir=" + install_dir + "\njrehome=" +
                                               Latin1(at.Path(folder)) + "\\jre\ndefault_options=-Xmx100m\n"
                                               "lib-classpath=lib\\app.jar;\n");
  return at.InstallLauncher(folder + L"\\bin\\ledgrix.exe");
}

TEST(Paths, AFolderOfLatinOneCharactersIsNamedInTheBootFileAndRuns) {
  struct Case {
    const wchar_t* folder;
    const wchar_t* command_line;  // {} stands for the installation folder
  } cases[] = {
      {L"Caf\u00e9-M\u00fcller", L"{}\\jre\\bin\\javaw -Xmx100m -classpath \"{}\\lib\\app.jar\" com.zor.ledgrix.Tabex"},
      {L"O'Brien's l'\u00e9t\u00e9 books",
       L"\"{}\\jre\\bin\\javaw\" -Xmx100m -classpath \"{}\\lib\\app.jar\" com.zor.ledgrix.Tabex"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.folder));
    Installation at(L"latin1");
    const std::wstring dir = at.Path(c.folder);
    e2e::Outcome outcome = e2e::RunWatchingBoxes(Lay(at, c.folder, Latin1(dir)), &at, 0);
    ASSERT_TRUE(outcome.java);
    EXPECT_EQ(outcome.java->Get("command_line"), Utf8(Replace(c.command_line, dir)));
    EXPECT_EQ(outcome.java->Get("cwd"), Utf8(dir));
    EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(0));
  }
}

// Written in UTF-8, such a folder reads as another one, named in the box as
// the launcher read it.
TEST(Paths, AnInstallationFolderBeyondLatinOneIsNotFound) {
  for (const wchar_t* folder : {L"\u0421\u0447\u0435\u0442\u0430 \u0434\u043e\u043c\u0430", L"\u8d26\u672c"}) {
    SCOPED_TRACE(Utf8(folder));
    Installation at(L"beyond-latin1");
    const std::string utf8 = Utf8(at.Path(folder));
    e2e::Outcome outcome = e2e::RunWatchingBoxes(Lay(at, folder, utf8), &at);
    std::wstring read;
    for (char c : utf8) read += static_cast<wchar_t>(static_cast<unsigned char>(c));
    EXPECT_FALSE(outcome.java);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(Utf8(outcome.boxes[0].text), Utf8(e2e::FatalText(L"Could not find installation directory at:\n" + read, 2)));
    EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(2));
  }
}

// Up to 256 characters (what the C runtime's split holds); a longer folder is
// refused before the system is asked, whether it exists or not.
TEST(Paths, InstallationFoldersAtAndBeyondTheLimitOfTheCheck) {
  struct Case {
    size_t length;
    bool exists;
  } cases[] = {{256, true}, {257, true}, {300, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    Installation at(L"install-dir");
    const std::wstring dir = e2e::PathOfLength(at.Path(L"i"), c.length);
    if (c.exists) at.MakeDir(dir.substr(at.root().size() + 1));
    e2e::Outcome outcome = e2e::RunWatchingBoxes(Lay(at, L"app", Latin1(dir)), &at, c.length > 256);
    if (c.length == 256) {
      ASSERT_TRUE(outcome.java);
      EXPECT_EQ(outcome.java->Get("cwd"), Utf8(dir));
      EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(0));
      continue;
    }
    const std::wstring text = e2e::FatalText(L"Could not find installation directory at:\n" + dir, 206);
    EXPECT_FALSE(outcome.java);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(Utf8(outcome.boxes[0].text), Utf8(text)) << "whole, beyond the classic box buffer";
    EXPECT_EQ(outcome.exit_code, std::optional<DWORD>(206));
  }
}

// A launcher in a folder of every script whose application seems to run:
// each start only hands its documents over.
class PathsDocuments : public ::testing::Test {
 protected:
  PathsDocuments() {
    const std::wstring folder = L"L'\u00e9t\u00e9 \u8d26\u672c \U0001F4B0";
    exe_ = at_.InstallLauncher(folder + L"\\bin\\ledgrix.exe");
    at_.WriteFile(folder + L"\\ledgrix.boot", "install_dir=C:\\\n");
    e2e::RemoveIncomingFolder();
  }
  ~PathsDocuments() override { e2e::RemoveIncomingFolder(); }

  std::optional<DWORD> Run(const std::wstring& arguments) const { return e2e::RunToEnd(exe_, arguments); }

  e2e::MutexHolder running_application_;
  Installation at_{L"documents"};
  std::wstring exe_;
};

// Typed by hand, an apostrophe quotes too, and a doubled one stands for one.
TEST_F(PathsDocuments, NamesInEveryScriptAndWithApostrophesArriveByteForByte) {
  struct Case {
    const wchar_t* name;
    const wchar_t* argument;  // {} stands for the document's folder
  } cases[] = {
      {L"f\u00e9vrier \u00fcber.qif", L"\"{}\\f\u00e9vrier \u00fcber.qif\""},
      {L"\u0432\u044b\u043f\u0438\u0441\u043a\u0430.ofx", L"\"{}\\\u0432\u044b\u043f\u0438\u0441\u043a\u0430.ofx\""},
      {L"\u4e09\u6708 \u8d26\u5355.ofc", L"\"{}\\\u4e09\u6708 \u8d26\u5355.ofc\""},
      {L"it's \U0001F4B0.off", L"\"{}\\it's \U0001F4B0.off\""},
      {L"  two leading blanks.qif", L"\"{}\\  two leading blanks.qif\""},
      {L"l'\u00e9t\u00e9 d'\u0441\u0447\u0451\u0442.ofx", L"'{}\\l''\u00e9t\u00e9 d''\u0441\u0447\u0451\u0442.ofx'"},
      {L"''.qif", L"'{}\\''''.qif'"},
  };
  const std::string bytes("\0\r\n\xff typed", 10);
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.name));
    at_.WriteFile(L"\u0421\u0447\u0435\u0442\u0430 typed\\" + std::wstring(c.name), bytes + Utf8(c.name));
    EXPECT_EQ(Run(L"-I " + Replace(c.argument, at_.Path(L"\u0421\u0447\u0435\u0442\u0430 typed"))),
              std::optional<DWORD>(0));
    EXPECT_EQ(e2e::IncomingFile(c.name), std::optional<std::string>(bytes + Utf8(c.name)));
  }
  EXPECT_EQ(e2e::IncomingNames().size(), std::size(cases));
}

TEST_F(PathsDocuments, ADocumentInDeepFoldersArrivesUnderItsOwnName) {
  const std::wstring name = L"relev\u00e9 \U0001F4B0.qif";
  for (size_t length : {300, 600}) {
    SCOPED_TRACE(length);
    const std::wstring folder = e2e::PathOfLength(at_.Path(L"deep"), length - name.size() - 1);
    const std::wstring path = at_.WriteFile(folder.substr(at_.root().size() + 1) + L"\\" + name, "deep");
    ASSERT_EQ(path.size(), length);
    EXPECT_EQ(Run(L"-I " + Quote(path)), std::optional<DWORD>(0));
    EXPECT_EQ(e2e::IncomingFile(name), std::optional<std::string>("deep"));
    e2e::RemoveIncomingFolder();
  }
}

// The copy stops at the first document that fails, and nothing is shown.
TEST_F(PathsDocuments, SeveralDocumentsInOneStartStopAtAMissingOne) {
  const std::wstring a = at_.WriteFile(L"several\\a.qif", "a"), c = at_.WriteFile(L"several\\c.ofc", "c");
  const std::wstring missing = at_.Path(L"several\\gone.ofx");
  struct Case {
    std::vector<std::wstring> documents;
    std::vector<std::string> arrived;
  } cases[] = {
      {{a, missing, c}, {"a.qif"}},
      {{a, c, missing}, {"a.qif", "c.ofc"}},
      {{missing, a, c}, {}},
  };
  for (const Case& k : cases) {
    e2e::RemoveIncomingFolder();
    std::wstring arguments;
    for (const std::wstring& document : k.documents) arguments += L" -I " + Quote(document);
    SCOPED_TRACE(Utf8(arguments));
    EXPECT_EQ(Run(arguments), std::optional<DWORD>(0));
    EXPECT_EQ(e2e::IncomingNames(), k.arrived);
  }
}

}  // namespace
