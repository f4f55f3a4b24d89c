#pragma once
// The real launcher under Wine: folders of its own, starts run to their end
// with their "Error" boxes read and closed, the Java stand-in's records.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

// Read-only files too, and names beyond MAX_PATH (by the \\?\ form).
inline void RemoveTree(const std::wstring& path) {
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
  RemoveDirectoryW(tree.c_str());
}

// A fatal box as the box reader reads it: message, step, code, the system's text.
inline std::wstring Fatal(const std::wstring& message,
                          DWORD code,
                          const std::wstring& step = L"ledgrix launcher") {
  wchar_t text[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, text, 512, nullptr);
  return L"(stop) " + message + L"\n" + step + L" failed with error " + std::to_wstring(code) +
         L": " + text + L"\nPlease reinstall the application";
}

// A fresh folder below C:\ledgrix-tests, removed at the end.
struct Folder {
  Folder() {
    static int count = 0;
    path = L"C:\\ledgrix-tests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++count);
    RemoveTree(path);
  }
  ~Folder() { RemoveTree(path); }
  std::wstring Put(const std::wstring& relative, const std::string& bytes) const {
    return Write(path + L"\\" + relative, bytes);
  }
  std::wstring path;
};

// What the Java stand-in recorded in folder, one line a start: its arguments,
// its own path and the number of documents waiting, '|'-separated.
inline std::vector<std::wstring> Javas(const std::wstring& folder) {
  std::vector<std::wstring> lines;
  FILE* log = _wfopen((folder + L"\\javaw.log").c_str(), L"r, ccs=UTF-8");
  wchar_t line[8192];
  while (log && fgetws(line, 8192, log)) lines.emplace_back(line, wcscspn(line, L"\n"));
  if (log) fclose(log);
  return lines;
}

// A process started in directory, killed when still running at the end.
struct Start {
  explicit Start(const std::wstring& command_line, const wchar_t* directory = nullptr) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring line = command_line;
    // Under a loaded Wine a process start can fail once (error 1359).
    bool started = false;
    for (int attempt = 0; attempt < 2 && !started; ++attempt)
      started = CreateProcessW(0, line.data(), 0, 0, 0, 0, 0, directory, &startup, &process);
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
