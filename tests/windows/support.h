#pragma once
// The real launcher under Wine, started as users start it: files and folders,
// a start run to its end with its "Error" boxes read and closed, the registry,
// and what the Java stand-in recorded.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "box.h"

namespace fs = std::filesystem;
using Names = std::vector<std::wstring>;

inline std::wstring Env(const wchar_t* name) { return _wgetenv(name) ? _wgetenv(name) : L""; }
inline std::wstring Incoming() { return Env(L"APPDATA") + L"\\.ledgrix\\system\\incoming"; }
inline std::wstring Staging() { return Env(L"APPDATA") + L"\\.ledgrix\\system\\staging"; }

// Each character's low byte: ASCII as it is, Latin-1 as its byte.
inline std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

inline std::string ReadAll(const std::wstring& path) {
  std::ifstream file(fs::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// Writes the file, creating its folders; its path.
inline std::wstring Write(const std::wstring& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(fs::path(path), std::ios::binary) << bytes;
  return path;
}

// The names in folder, sorted; with deep, of every level, relative to it.
inline Names Tree(const std::wstring& folder, bool deep = false) {
  Names names;
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
    const std::wstring child = tree + L"\\" + found.cFileName;
    if (found.cFileName[0] == L'.') continue;  // ".", "..": no test names a file so
    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(child.c_str())) RemoveTree(child);
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
  const DWORD as_it_stands = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  FormatMessageW(as_it_stands, nullptr, code, 0, text, 512, nullptr);
  return L"(stop) " + message + L"\n" + step + L" failed with error " + std::to_wstring(code) +
         L": " + text + L"\nPlease reinstall the application";
}

// A value below HKEY_CLASSES_ROOT as stored: its type, then its bytes.
inline std::wstring Stored(const std::wstring& key, const wchar_t* name = L"") {
  wchar_t data[1024];
  DWORD type = 0;
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_ANY, &type, data, &size))
    return L"<absent>";
  return std::to_wstring(type) + L":" + std::wstring(data, size / 2);
}

inline std::wstring AsStored(const std::wstring& text) {  // a REG_SZ with its terminator
  return L"1:" + text + L'\0';
}

// Another program's handle on a file or folder, letting others read, write
// and delete: by default as an installer holds one, itself reading, writing
// and deleting; the application writes into incoming; an Explorer window or a
// virus scanner reads.
struct Held {
  explicit Held(const std::wstring& path,
                DWORD access = GENERIC_READ | GENERIC_WRITE | DELETE,
                DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)
      : handle(CreateFileW(
            path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, 0)) {}
  ~Held() { CloseHandle(handle); }
  HANDLE handle;
};

// A process started in a folder, killed when still running at the end.
struct Start {
  Start(const std::wstring& command_line, const std::wstring& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring line = command_line;
    // Under a loaded Wine a process start can fail once (error 1359).
    for (int attempt = 0; attempt < 2 && !process.hProcess; ++attempt)
      CreateProcessW(0, line.data(), 0, 0, 0, 0, 0, folder.c_str(), &startup, &process);
    EXPECT_TRUE(process.hProcess) << GetLastError();
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

// A path as the file it names: a short form Java may receive, of the path or
// of its folder, in its long form.
inline std::wstring Meant(const std::wstring& path) {
  wchar_t found[1024];
  const size_t name = path.rfind(L'\\');
  if (GetLongPathNameW(path.c_str(), found, 1024)) return found;
  if (name == std::wstring::npos || !GetLongPathNameW(path.substr(0, name).c_str(), found, 1024))
    return path;
  return found + path.substr(name);
}

// Each start of the Java stand-in, as it recorded it: the file it was started
// from, its working folder, the documents waiting in incoming, then its
// arguments as real Java reads them; each path, the class path's entries too,
// as the file it names.
inline std::vector<Names> Javas(const std::wstring& record) {
  std::vector<Names> javas;
  FILE* file = _wfopen(record.c_str(), L"r, ccs=UTF-8");
  wchar_t line[8192];
  while (file && fgetws(line, 8192, file)) {
    std::wistringstream fields(std::wstring(line, wcscspn(line, L"\n")));
    javas.emplace_back();
    for (std::wstring field; std::getline(fields, field, L'|');) {
      std::wistringstream entries(field);
      std::wstring meant;
      for (std::wstring entry; std::getline(entries, entry, L';');)
        meant += (meant.empty() ? L"" : L";") + Meant(entry);
      javas.back().push_back(meant);
    }
  }
  if (file) fclose(file);
  return javas;
}

// What the stand-in records of a Java the launcher starts from module, which
// the command line names program, in folder, with documents waiting in
// incoming, given its options and the class path.
inline Names JavaOf(const std::wstring& module,
                    const std::wstring& program,
                    const std::wstring& folder,
                    const std::wstring& documents,
                    const Names& options,
                    const std::wstring& class_path) {
  Names record = {module, folder, documents, program};
  record.insert(record.end(), options.begin(), options.end());
  record.insert(record.end(), {L"-classpath", class_path, L"com.zor.ledgrix.Tabex"});
  return record;
}
