#pragma once
// The real launcher under Wine: installations in fresh folders, runs to the
// end with their "Error" boxes read and closed, the Java stand-in's records.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

std::string Utf8(const std::wstring& text);
std::wstring Env(const wchar_t* name);  // from the test's environment
std::wstring Quote(const std::wstring& text);
std::string ReadAll(const std::wstring& path);  // "<missing>" when it cannot be read
void RemoveTree(const std::wstring& path);
std::wstring SystemText(DWORD code);
// The fatal box: message, the check's context, the code and its system text.
std::wstring Fatal(const std::wstring& message, DWORD code, const std::wstring& context = L"ledgrix launcher");
std::wstring IncomingFolder();  // %APPDATA%\.ledgrix\system\incoming
std::vector<std::wstring> ListFiles(const std::wstring& folder);

// A fresh folder C:\ledgrix-tests\<name>-<pid>-<n>, removed at the end.
struct Folder {
  explicit Folder(const std::wstring& name);
  ~Folder();
  std::wstring Put(const std::wstring& relative, const std::string& bytes) const;  // its full path
  std::wstring Launcher(const std::wstring& relative = L"bin\\ledgrix.exe", const wchar_t* built = L"LEDGRIX_EXE") const;
  void StandIn(const std::wstring& relative) const;  // javaw.exe there
  std::wstring path;
};

// Each start of the Java stand-in in the installation: its lines, "end" excluded.
std::vector<std::vector<std::wstring>> Javas(const std::wstring& installation);

// A process started in directory; when still running at the end, killed.
struct Process {
  explicit Process(const std::wstring& command_line, const wchar_t* directory = nullptr);
  ~Process();
  DWORD Wait();  // the exit code; 259 when it did not end in two minutes
  bool Running() const { return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
  PROCESS_INFORMATION info = {};
};

// A run to its end with every box it shows read, then closed with OK; a
// box with the stop-sign icon reads "(stop) " before its text.
struct Outcome {
  DWORD exit_code;
  std::vector<std::wstring> boxes;
};
Outcome RunToEnd(const std::wstring& command_line, const wchar_t* directory = nullptr);

// Holds the launcher's single-instance mutex, as a running launcher does.
struct RunningLauncher {
  RunningLauncher();
  ~RunningLauncher();
  HANDLE mutex;
};
