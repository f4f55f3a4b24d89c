#pragma once
// An installation in the setup users have: blanks and non-Latin letters in
// every path; the launcher started as the shell starts it, in the opened
// documents' folder, where programs that must never run lie; what earlier
// starts left in incoming and staging; the boot file, the log, the
// installation's folders, a document and incoming held open by other
// programs. Below base, a folder the 8-bit boot file can name:
//   Ledgrix cc\bin\ledgrix.exe, ledgrix.boot       the launcher, in the root
//   Ledgrix cc\j re\bin\javaw.exe                  a relative jrehome's
//   j re\bin\javaw.exe, app\a.jar, app\lib\b.jar    absolute folders
//   j.exe                                           what "base\j re\..." unquoted runs
//   Statements cc\a.qif (read-only), l'e cc.ofx     the documents
//   Statements cc\javaw.exe, j re\bin\javaw.exe    never run
#include "support.h"

struct Installation {
  explicit Installation(const wchar_t* launcher_variable) {
    static int count = 0;
    const std::wstring id =
        std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    base = L"C:\\ledgrix-tests\\" + id + L" Finan\u00e7e";
    root = base + L"\\Ledgrix \u0441\u0447";
    docs = base + L"\\Statements \u0441\u0447";
    boot = root + L"\\ledgrix.boot";
    log = base + L"\\ledgrix.log";
    record = base + L"\\java.txt";
    exe = Write(root + L"\\bin\\ledgrix.exe", ReadAll(Env(launcher_variable)));
    const std::string javaw = ReadAll(Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe");
    for (const std::wstring& java :
         {root + L"\\j re\\bin", base + L"\\j re\\bin", docs + L"\\j re\\bin", docs})
      Write(java + L"\\javaw.exe", javaw);
    Write(base + L"\\j.exe", "MZ");
    Write(base + L"\\app\\a.jar", "");
    Write(base + L"\\app\\lib\\b.jar", "");
    for (const std::wstring& name : documents) Write(docs + L"\\" + name, Narrow(name));
    SetFileAttributesW((docs + L"\\a.qif").c_str(), FILE_ATTRIBUTE_READONLY);
    SetEnvironmentVariableW(L"LEDGRIX_JAVA_RECORD", record.c_str());
  }
  ~Installation() { RemoveTree(base); }

  // What earlier starts left: an older copy of a.qif and the application's
  // own file in incoming; in staging, the copies of two launchers that no
  // longer run, one held open by a virus scanner that lets nobody delete it,
  // one of a launcher that runs (this one), and somebody else's file.
  void Leave() const {
    RemoveTree(Incoming(), true);
    RemoveTree(Staging(), true);
    for (const auto& [name, bytes] : left) Write(Incoming() + L"\\" + name, bytes);
    for (const std::wstring& name : staged) Write(Staging() + L"\\" + name, "");
  }

  // One start with these arguments, run to its end and checked for what
  // every start must keep: its exit code, then each box.
  std::wstring Run(const std::wstring& arguments) const {
    std::wstring ended;
    Names before;
    // Under a loaded Wine a process start can fail once (error 1359): then
    // the launcher's start of Java, and the start is run again.
    for (int attempt = 0; attempt < 2 && (!attempt || ended.ends_with(L"(1359)\n")); ++attempt) {
      Leave();
      DeleteFileW(record.c_str());
      Write(log, "");
      before = Snapshot();
      const Held held[] = {Held(boot),
                           Held(log),
                           Held(Incoming(), GENERIC_READ | GENERIC_WRITE),
                           Held(base + L"\\app", FILE_LIST_DIRECTORY),
                           Held(base + L"\\j re", FILE_LIST_DIRECTORY),
                           Held(root, FILE_LIST_DIRECTORY),
                           Held(docs + L"\\a.qif", GENERIC_READ),
                           Held(Staging() + L"\\2-0.part", GENERIC_READ, FILE_SHARE_READ)};
      ended = Start(L"\"" + exe + L"\" " + arguments, docs).Finish();
    }
    Check(ended, before);
    return ended;
  }

  // Every file and folder a start could write to by mistake: the drive's root,
  // the installation but the log and Java's record, the user's application
  // data and the launcher's folder in it but incoming and staging.
  Names Snapshot() const {
    Names names = Tree(L"C:\\");
    for (const std::wstring& name : Tree(base, true)) names.push_back(base + L"\\" + name);
    std::erase(names, log);
    std::erase(names, record);
    for (const std::wstring& name : Tree(Env(L"APPDATA"))) names.push_back(name);
    for (const std::wstring& name : Tree(Env(L"APPDATA") + L"\\.ledgrix", true)) {
      if (!name.starts_with(L"system\\incoming") && !name.starts_with(L"system\\staging"))
        names.push_back(name);
    }
    return names;
  }

  // What every start must keep, whatever ended it.
  void Check(const std::wstring& ended, const Names& before) const {
    const std::wstring code = ended.substr(0, ended.find(L'\n'));
    const bool fatal = ended.find(L"(stop) ") != std::wstring::npos;
    EXPECT_EQ(fatal, code != L"0") << "a fatal box, exactly when the exit code is not 0";
    EXPECT_TRUE(!fatal || ended.find(L" failed with error " + code + L": ") != std::wstring::npos)
        << "the box names the exit code";
    for (const Names& java : Javas(record))
      EXPECT_FALSE(java[0].starts_with(docs)) << "a javaw of the current folder ran";
    EXPECT_EQ(Snapshot(), before) << "written outside incoming and staging";
    Names all = staged;
    std::sort(all.begin(), all.end());
    Names kept = all;
    std::erase(kept, staged.front());
    EXPECT_TRUE(Tree(Staging()) == kept || Tree(Staging()) == all) << "a copy left staged";
    for (const std::wstring& name : Tree(Incoming())) {
      const std::wstring arrived = Incoming() + L"\\" + name;
      const std::string bytes = ReadAll(arrived);
      EXPECT_TRUE(bytes == Narrow(name) || (left.contains(name) && bytes == left.at(name)))
          << "not whole: " << testing::PrintToString(arrived);
      EXPECT_FALSE(GetFileAttributesW(arrived.c_str()) & FILE_ATTRIBUTE_READONLY) << "read-only";
    }
    for (const auto& [key, data] : Registry()) {
      const std::wstring stored = Stored(key);
      EXPECT_TRUE(stored == AsStored(data) || stored == L"<absent>") << testing::PrintToString(key);
    }
    const std::string told = ReadAll(log);
    EXPECT_TRUE(told.empty() || told.ends_with("] exit code: " + Narrow(code) + "\r\n"))
        << "the log's last line";
  }

  // Every key's default value as the launcher writes it.
  std::map<std::wstring, std::wstring> Registry() const {
    std::map<std::wstring, std::wstring> values;
    const std::wstring open = L"\"" + exe + L"\" -I \"%1\"";
    for (const std::wstring type : {L"OFX", L"OFC", L"QIF", L"OFF"}) {
      values[L"." + type] = type + L".Document";
      values[L"." + type + L"\\shell\\open\\command"] = open;
      values[type + L".Document"] = L"";
      values[type + L".Document\\DefaultIcon"] = exe + L",0";
      values[type + L".Document\\shell\\open\\command"] = open;
    }
    return values;
  }

  const Names documents = {L"a.qif", L"l'\u00e9 \u0441\u0447.ofx"};
  const std::map<std::wstring, std::string> left = {{L"a.qif", "an older a.qif"},
                                                    {L"notes.txt", "the application's"}};
  const Names staged = {
      L"1-0.part", L"2-0.part", std::to_wstring(GetCurrentProcessId()) + L"-0.part", L"x.txt"};
  std::wstring base, root, docs, boot, log, record, exe;
};
