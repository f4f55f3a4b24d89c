// Documents handed over through the incoming folder by the real launcher.
#include "support.h"

#include <shellapi.h>

#include <set>

namespace {

std::wstring Fill(std::wstring text, const std::wstring& folder) {
  for (size_t at; (at = text.find(L"{}")) != std::wstring::npos;) text.replace(at, 2, folder);
  return text;
}

class HandOff : public ::testing::Test {
 protected:
  HandOff() {
    RemoveTree(IncomingFolder());
    exe_ = at_.Launcher(L"L'\u00e9t\u00e9 \u8d26\u672c\\bin\\ledgrix.exe");
    at_.StandIn(L"jre\\bin");
    at_.Put(L"L'\u00e9t\u00e9 \u8d26\u672c\\ledgrix.boot",
            "install_dir=" + Utf8(at_.path) + "\njrehome=" + Utf8(at_.path) + "\\jre\nlib-classpath=a;\n");
  }
  ~HandOff() override { RemoveTree(IncomingFolder() + L"\\..\\staging"), RemoveTree(IncomingFolder()); }
  // A document whose content is its name.
  std::wstring Document(const std::wstring& name) const { return at_.Put(L"docs\\" + name, Utf8(name)); }
  void ExpectArrived(const std::vector<std::wstring>& names) const {
    EXPECT_EQ(ListFiles(IncomingFolder()), names);
    for (const std::wstring& name : names) EXPECT_EQ(ReadAll(IncomingFolder() + L"\\" + name), Utf8(name));
  }
  Folder at_{L"handoff"};
  std::wstring exe_;
};

// The shell's open verb, as a double-click.
DWORD OpenThroughShell(const std::wstring& document) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpFile = document.c_str();
  DWORD code = STILL_ACTIVE;
  if (ShellExecuteExW(&info) && info.hProcess && WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(info.hProcess, &code);
  if (info.hProcess) CloseHandle(info.hProcess);
  return code;
}

TEST_F(HandOff, DocumentsArriveBeforeJavaStartsAndWhileItRunsAndOneJavaRuns) {
  at_.Put(L"hold", "");
  Process first(Quote(exe_) + L" -I " + Quote(Document(L"a.qif")) + L" -I " + Quote(Document(L"b.ofx")));
  for (int tick = 0; tick < 6000 && Javas(at_.path).empty(); ++tick) Sleep(10);
  ASSERT_EQ(Javas(at_.path).size(), 1u);
  EXPECT_EQ(Javas(at_.path)[0].back(), L"incoming=b.ofx");
  EXPECT_EQ(RunToEnd(Quote(exe_) + L" -I " + Quote(Document(L"c.qif"))).exit_code, 0u);
  EXPECT_EQ(OpenThroughShell(Document(L"\u0441\u0447\u0451\u0442 \U0001F4B0.ofc")), 0u);
  EXPECT_EQ(OpenThroughShell(Document(L"March 2024.off")), 0u);
  ExpectArrived({L"March 2024.off", L"a.qif", L"b.ofx", L"c.qif", L"\u0441\u0447\u0451\u0442 \U0001F4B0.ofc"});
  EXPECT_TRUE(first.Running()) << "the launcher waits for Java";
  DeleteFileW((at_.path + L"\\hold").c_str());
  EXPECT_EQ(first.Wait(), 0u);
  EXPECT_EQ(Javas(at_.path).size(), 1u) << "one Java in all";
}

// Typed by hand, an apostrophe quotes too; the copy stops at the first
// document that fails, silently.
TEST_F(HandOff, EachDocumentArrivesUnderItsOwnName) {
  RunningLauncher running;
  const std::wstring deep = std::wstring(250, L'd') + L"\\" + std::wstring(250, L'e') + L"\\";
  Document(L"f\u00e9vrier \u00fcber.qif"), Document(L"it's.ofx"), Document(L"  two blanks.qif"), Document(L"c.ofc");
  Document(deep + L"relev\u00e9.qif");
  struct Case {
    std::wstring arguments;  // {} stands for the documents' folder
    std::vector<std::wstring> arrived;
  } cases[] = {
      {L"-I \"{}\\f\u00e9vrier \u00fcber.qif\" -I '{}\\it''s.ofx' -I \"{}\\  two blanks.qif\"",
       {L"  two blanks.qif", L"f\u00e9vrier \u00fcber.qif", L"it's.ofx"}},
      {L"-I \"{}\\" + deep + L"relev\u00e9.qif\"", {L"relev\u00e9.qif"}},
      {L"-I {}\\c.ofc -I {}\\gone.qif -I {}\\it's.ofx", {L"c.ofc"}},
      {L"-I {}\\gone.qif -I {}\\c.ofc", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.arguments));
    RemoveTree(IncomingFolder());
    EXPECT_EQ(RunToEnd(Quote(exe_) + L" " + Fill(c.arguments, at_.path + L"\\docs")).exit_code, 0u);
    if (!c.arrived.empty() && c.arrived[0] == L"relev\u00e9.qif") {
      EXPECT_EQ(ListFiles(IncomingFolder()), c.arrived);
      EXPECT_EQ(ReadAll(IncomingFolder() + L"\\relev\u00e9.qif"), Utf8(deep + L"relev\u00e9.qif"));
    } else {
      ExpectArrived(c.arrived);
    }
    EXPECT_TRUE(ListFiles(IncomingFolder() + L"\\..\\staging").empty());
  }
}

// A document named relative to the launcher's current directory.
TEST_F(HandOff, ARelativeDocumentIsTakenFromTheCurrentDirectory) {
  RunningLauncher running;
  Document(L"relative.qif");
  EXPECT_EQ(RunToEnd(Quote(exe_) + L" -I relative.qif", (at_.path + L"\\docs").c_str()).exit_code, 0u);
  ExpectArrived({L"relative.qif"});
}

TEST_F(HandOff, EightLaunchersAtOnceStartOneJavaAndHandOverEveryDocument) {
  at_.Put(L"hold", "");
  std::vector<std::unique_ptr<Process>> launchers;
  for (int i = 0; i < 8; ++i)
    launchers.push_back(std::make_unique<Process>(Quote(exe_) + L" -I " + Quote(Document(std::to_wstring(i) + L".qif"))));
  for (int tick = 0; tick < 9000 && (Javas(at_.path).empty() || ListFiles(IncomingFolder()).size() < 8); ++tick) Sleep(10);
  ExpectArrived({L"0.qif", L"1.qif", L"2.qif", L"3.qif", L"4.qif", L"5.qif", L"6.qif", L"7.qif"});
  DeleteFileW((at_.path + L"\\hold").c_str());
  for (auto& launcher : launchers) EXPECT_EQ(launcher->Wait(), 0u);
  EXPECT_EQ(Javas(at_.path).size(), 1u);
}

// The application reads the incoming folder at any moment: it only ever sees
// a document whole, under its own name, and an older copy it holds open
// stops the hand-off there, undamaged, with nothing left staged.
TEST_F(HandOff, ADocumentAppearsOnlyWhole) {
  RunningLauncher running;
  const std::string large(48 << 20, 'x');
  Process launcher(Quote(exe_) + L" -I " + Quote(at_.Put(L"docs\\large.ofx", large)));
  std::set<std::pair<std::wstring, DWORD>> seen;
  while (launcher.Running()) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((IncomingFolder() + L"\\*.ofx").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) seen.emplace(found.cFileName, found.nFileSizeLow), FindClose(find);
  }
  EXPECT_EQ(launcher.Wait(), 0u);
  EXPECT_EQ(seen, (std::set<std::pair<std::wstring, DWORD>>{{L"large.ofx", static_cast<DWORD>(large.size())}}));

  HANDLE held = CreateFileW((IncomingFolder() + L"\\large.ofx").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(RunToEnd(Quote(exe_) + L" -I " + Quote(at_.Put(L"docs\\large.ofx", "newer")) + L" -I " +
                     Quote(Document(L"b.qif"))).exit_code, 0u);
  CloseHandle(held);
  EXPECT_EQ(ListFiles(IncomingFolder()), std::vector<std::wstring>{L"large.ofx"});
  EXPECT_EQ(ReadAll(IncomingFolder() + L"\\large.ofx").size(), large.size());
  EXPECT_TRUE(ListFiles(IncomingFolder() + L"\\..\\staging").empty());
}

}  // namespace
