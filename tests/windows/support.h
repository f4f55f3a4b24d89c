#pragma once
// The real launcher under Wine: installations in fresh folders, starts run to
// their end with their "Error" boxes read and closed, the Java stand-in's
// records, the incoming folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

std::string U(const std::wstring& text);  // UTF-8, for comparisons that print
std::wstring Env(const wchar_t* name);
std::string ReadAll(const std::wstring& path);  // "<missing>" when it cannot be read
std::vector<std::wstring> ListFiles(const std::wstring& folder);
void RemoveTree(const std::wstring& path);
std::wstring Incoming();  // %APPDATA%\.ledgrix\system\incoming
// The fatal box: message, the step, the code and the system's text for it.
std::wstring Fatal(const std::wstring& message,
                   DWORD code,
                   const std::wstring& context = L"ledgrix launcher");

// A fresh folder below C:\ledgrix-tests, removed at the end.
struct Folder {
  Folder();
  ~Folder();
  std::wstring Put(const std::wstring& relative, const std::string& bytes) const;  // its full path
  std::vector<std::wstring> Javas() const;  // the stand-in's lines, one a start
  std::wstring path;
};

// A process started in directory, killed when still running at the end.
struct Start {
  explicit Start(const std::wstring& command_line, const wchar_t* directory = nullptr);
  ~Start();
  DWORD Finish();  // its exit code, every box it shows meanwhile read and closed
  PROCESS_INFORMATION process = {};
  std::vector<std::wstring> boxes;
};

// Holds the launcher's single-instance mutex, as a running launcher does.
struct AnotherLauncher {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}");
  ~AnotherLauncher() { CloseHandle(mutex); }
};
