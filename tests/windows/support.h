#pragma once
// The real launcher under Wine, started as users start it, in the setup they
// have (an Installation), each start run to its end with its "Error" boxes
// read and closed, and checked for what every start must keep.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "box.h"

namespace fs = std::filesystem;

inline std::wstring Env(const wchar_t* name) { return _wgetenv(name) ? _wgetenv(name) : L""; }
inline std::wstring Incoming() { return Env(L"APPDATA") + L"\\.ledgrix\\system\\incoming"; }
inline std::wstring Staging() { return Env(L"APPDATA") + L"\\.ledgrix\\system\\staging"; }

// Each character's low byte: ASCII as it is, Latin-1 as its byte.
inline std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

inline std::string ReadAll(const std::wstring& path) {
  std::ifstream file(fs::path(path), std::ios::binary);
  return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

// Writes the file, creating its folders; its path.
inline std::wstring Write(const std::wstring& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(fs::path(path), std::ios::binary) << bytes;
  return path;
}

// The files and folders below folder, relative to it, sorted; with deep, all levels.
inline std::vector<std::wstring> Tree(const std::wstring& folder, bool deep = false) {
  std::vector<std::wstring> names;
  std::error_code error;
  for (auto at = fs::recursive_directory_iterator(folder, error); at != end(at);
       at.increment(error)) {
    names.push_back(at->path().lexically_relative(folder).wstring());
    if (!deep) at.disable_recursion_pending();
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Read-only files too, and names beyond MAX_PATH (by the \\?\ form); with
// keep, the folder itself stays.
inline void RemoveTree(const std::wstring& path, bool keep = false) {
  const std::wstring tree = path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((tree + L"\\*").c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
    const std::wstring name = found.cFileName;
    const std::wstring child = tree + L"\\" + name;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(child);
    } else {
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(child.c_str());
    }
  }
  FindClose(find);
  if (!keep) RemoveDirectoryW(tree.c_str());
}

// A fatal box as the box reader reads it: message, step, code and the system's
// text for it, inserts (%1) as they stand.
inline std::wstring Fatal(const std::wstring& message,
                          DWORD code,
                          const std::wstring& step = L"ledgrix launcher") {
  wchar_t text[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr,
                 code,
                 0,
                 text,
                 512,
                 nullptr);
  return L"(stop) " + message + L"\n" + step + L" failed with error " + std::to_wstring(code) +
         L": " + text + L"\nPlease reinstall the application";
}

// Another program's handle on a file or folder, letting others read, write
// and delete: by default as an installer holds one, itself reading, writing
// and deleting; the application writes into incoming; an Explorer window or a
// virus scanner reads.
struct Held {
  explicit Held(const std::wstring& path,
                DWORD access = GENERIC_READ | GENERIC_WRITE | DELETE,
                DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)
      : handle(CreateFileW(path.c_str(),
                           access,
                           share,
                           nullptr,
                           OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS,
                           nullptr)) {}
  ~Held() { CloseHandle(handle); }
  HANDLE handle;
};

// A process started in a folder, killed when still running at the end.
struct Start {
  explicit Start(const std::wstring& command_line, const std::wstring& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring line = command_line;
    // Under a loaded Wine a process start can fail once (error 1359).
    bool started = false;
    for (int attempt = 0; attempt < 2 && !started; ++attempt)
      started = CreateProcessW(0, line.data(), 0, 0, 0, 0, 0, folder.c_str(), &startup, &process);
    EXPECT_TRUE(started) << GetLastError();
  }
  ~Start() {
    TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  // The exit code, then the text of each box shown meanwhile, each after a line feed.
  std::wstring Finish() {
    std::wstring boxes;
    for (int tick = 0; tick < 6000 && WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT;
         ++tick) {
      if (HWND box = FindErrorBox(process.dwProcessId)) boxes += L"\n" + ReadAndClose(box);
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    return std::to_wstring(code) + boxes;
  }
  PROCESS_INFORMATION process = {};
};

// Holds the launcher's single-instance mutex, as a running launcher does.
struct AnotherLauncher {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}");
  ~AnotherLauncher() { CloseHandle(mutex); }
};

// A path as the file it names: the long form of a short one Java may receive,
// of its folder when it names no file (bin\javaw, lib\*).
inline std::wstring Meant(const std::wstring& path) {
  wchar_t found[1024];
  if (GetLongPathNameW(path.c_str(), found, 1024)) return found;
  const size_t folder = path.rfind(L'\\');
  if (folder == std::wstring::npos ||
      !GetLongPathNameW(path.substr(0, folder).c_str(), found, 1024))
    return path;
  return found + path.substr(folder);
}

// One start of the Java stand-in: the file it was started from, its working
// folder, the documents waiting in incoming, and its arguments as real Java
// reads them, each path (the program's, the class path's) as the file it names.
struct Java {
  std::wstring program;
  std::wstring folder;
  std::wstring documents;
  std::vector<std::wstring> arguments;
  bool operator==(const Java&) const = default;
};

inline void PrintTo(const Java& java, std::ostream* out) {
  *out << testing::PrintToString(java.program) << " in " << testing::PrintToString(java.folder)
       << " with " << testing::PrintToString(java.documents) << " documents, "
       << testing::PrintToString(java.arguments);
}

inline std::vector<Java> Javas(const std::wstring& record) {
  std::vector<Java> javas;
  FILE* file = _wfopen(record.c_str(), L"r, ccs=UTF-8");
  wchar_t line[8192];
  while (file && fgetws(line, 8192, file)) {
    std::wistringstream fields(std::wstring(line, wcscspn(line, L"\n")));
    Java java;
    std::getline(fields, java.program, L'|');
    std::getline(fields, java.folder, L'|');
    std::getline(fields, java.documents, L'|');
    for (std::wstring argument; std::getline(fields, argument, L'|');) {
      std::wistringstream entries(argument);
      std::wstring meant;
      for (std::wstring entry; std::getline(entries, entry, L';');)
        meant += (meant.empty() ? L"" : L";") + Meant(entry);
      java.arguments.push_back(meant);
    }
    javas.push_back(java);
  }
  if (file) fclose(file);
  return javas;
}

// A value below HKEY_CLASSES_ROOT as stored, with its type and terminator.
inline std::string Stored(const std::wstring& key, const wchar_t* name = L"") {
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

inline std::string AsStored(const std::wstring& text) {  // a REG_SZ with its terminator
  return "1:" + std::string(reinterpret_cast<const char*>(text.c_str()), 2 * text.size() + 2);
}

// An installation in the setup users have: blanks and non-Latin letters in
// every path; the launcher started as the shell starts it, in the opened
// documents' folder, where programs that must never run lie; files earlier
// starts left in incoming and staging; the boot file, the log, the
// installation's folders, a document and incoming held open by other
// programs. In base (Cyrillic) and latin (Latin-1, for the boot file's
// absolute folders):
//   base\Ledgrix\bin\ledgrix.exe, ledgrix.boot     the launcher and its root
//   base\Ledgrix\j re\bin\javaw.exe               a relative jrehome
//   base\Statements\a.qif (read-only), l'e cc.ofx   the documents
//   base\Statements\javaw.exe, j re\bin\javaw.exe  never run
//   latin\j re\bin\javaw.exe, app\a.jar, lib\b.jar  an absolute jrehome and install_dir
//   latin\j.exe                                   what an unquoted "latin\j re\..." runs
struct Installation {
  explicit Installation(const wchar_t* launcher) {
    static int count = 0;
    const std::wstring id =
        std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    base = L"C:\\ledgrix-tests\\" + id + L" \u0441\u0447";
    latin = L"C:\\ledgrix-tests\\" + id + L" Finan\u00e7e";
    root = base + L"\\Ledgrix";
    docs = base + L"\\Statements";
    boot = root + L"\\ledgrix.boot";
    log = base + L"\\ledgrix.log";
    record = base + L"\\java.txt";
    exe = Write(root + L"\\bin\\ledgrix.exe", ReadAll(Env(launcher)));
    const std::string javaw = ReadAll(Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe");
    for (const std::wstring& folder : {root + L"\\j re", latin + L"\\j re", docs + L"\\j re", docs})
      Write(folder + (folder == docs ? L"" : L"\\bin") + L"\\javaw.exe", javaw);
    Write(latin + L"\\j.exe", "MZ");
    Write(latin + L"\\app\\a.jar", "");
    Write(latin + L"\\app\\lib\\b.jar", "");
    for (const std::wstring& name : documents) Write(docs + L"\\" + name, Narrow(name));
    SetFileAttributesW((docs + L"\\a.qif").c_str(), FILE_ATTRIBUTE_READONLY);
    SetEnvironmentVariableW(L"LEDGRIX_JAVA_RECORD", record.c_str());
  }
  ~Installation() {
    RemoveTree(base);
    RemoveTree(latin);
  }

  // What earlier starts left: an older copy of a.qif and the application's
  // own file in incoming; in staging, the copies of two launchers that no
  // longer run, one held open by a virus scanner that lets nobody delete it,
  // one of a launcher that runs, and somebody else's file.
  void Leave() const {
    RemoveTree(Incoming(), true);
    RemoveTree(Staging(), true);
    for (const auto& [name, bytes] : left) Write(Incoming() + L"\\" + name, bytes);
    for (const std::wstring& name : staged) Write(Staging() + L"\\" + name, "");
  }

  // One start with these arguments, run to its end and checked for what
  // every start must keep; how it ended: the exit code, then each box.
  std::wstring Run(const std::wstring& arguments) const {
    std::wstring ended;
    std::vector<std::wstring> before;
    // Under a loaded Wine a process start can fail once (error 1359): then
    // the launcher's start of Java, which the start is run again for.
    for (int attempt = 0; attempt < 2 && (attempt == 0 || ended.ends_with(L"(1359)\n"));
         ++attempt) {
      Leave();
      DeleteFileW(record.c_str());
      Write(log, "");
      before = Snapshot();
      const Held held[] = {
          Held(boot),
          Held(log),
          Held(Incoming(), GENERIC_READ | GENERIC_WRITE),
          Held(latin + L"\\app", FILE_LIST_DIRECTORY),
          Held(latin + L"\\j re", FILE_LIST_DIRECTORY),
          Held(root, FILE_LIST_DIRECTORY),
          Held(docs + L"\\a.qif", GENERIC_READ),
          Held(Staging() + L"\\2-0.part", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)};
      ended = Start(L"\"" + exe + L"\" " + arguments, docs).Finish();
    }
    Check(ended, before);
    return ended;
  }

  // Every file and folder a start could write to by mistake: the drive's root,
  // the installation but the log and Java's record, the user's application
  // data and the launcher's folder in it but incoming and staging.
  std::vector<std::wstring> Snapshot() const {
    std::vector<std::wstring> names = Tree(L"C:\\");
    for (const std::wstring& folder : {base, latin}) {
      for (const std::wstring& name : Tree(folder, true)) {
        if (folder + L"\\" + name != log && folder + L"\\" + name != record)
          names.push_back(folder + L"\\" + name);
      }
    }
    for (const std::wstring& name : Tree(Env(L"APPDATA"))) names.push_back(name);
    for (const std::wstring& name : Tree(Env(L"APPDATA") + L"\\.ledgrix", true)) {
      if (!name.starts_with(L"system\\incoming") && !name.starts_with(L"system\\staging"))
        names.push_back(name);
    }
    return names;
  }

  // What every start must keep, whatever ended it.
  void Check(const std::wstring& ended, const std::vector<std::wstring>& before) const {
    const std::wstring code = ended.substr(0, ended.find(L'\n'));
    const bool fatal = ended.find(L"(stop) ") != std::wstring::npos;
    EXPECT_EQ(fatal, code != L"0") << "a fatal box, exactly when the exit code is not 0";
    EXPECT_TRUE(!fatal || ended.find(L" failed with error " + code + L": ") != std::wstring::npos)
        << "the box names the exit code";
    for (const Java& java : Javas(record))
      EXPECT_FALSE(java.program.starts_with(docs)) << "a javaw of the current folder ran";
    EXPECT_EQ(Snapshot(), before) << "written outside incoming and staging";
    std::vector<std::wstring> kept(staged.begin() + 1, staged.end());
    std::sort(kept.begin(), kept.end());
    std::vector<std::wstring> all = staged;
    std::sort(all.begin(), all.end());
    EXPECT_TRUE(Tree(Staging()) == kept || Tree(Staging()) == all) << "a copy left staged";
    for (const std::wstring& name : Tree(Incoming())) {
      const std::wstring arrived = Incoming() + L"\\" + name;
      const std::string bytes = ReadAll(arrived);
      const auto older = left.find(name);
      EXPECT_TRUE(bytes == Narrow(name) || (older != left.end() && bytes == older->second))
          << "not whole: " << testing::PrintToString(arrived);
      EXPECT_FALSE(GetFileAttributesW(arrived.c_str()) & FILE_ATTRIBUTE_READONLY) << arrived;
    }
    for (const auto& [key, data] : Registry()) {
      const std::string stored = Stored(key);
      EXPECT_TRUE(stored == AsStored(data) || stored == "<absent>") << key;
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

  const std::vector<std::wstring> documents = {L"a.qif", L"l'\u00e9 \u0441\u0447.ofx"};
  const std::map<std::wstring, std::string> left = {{L"a.qif", "an older a.qif"},
                                                    {L"notes.txt", "the application's"}};
  const std::vector<std::wstring> staged = {
      L"1-0.part", L"2-0.part", std::to_wstring(GetCurrentProcessId()) + L"-0.part", L"x.txt"};
  std::wstring base, latin, root, docs, boot, log, record, exe;
};
