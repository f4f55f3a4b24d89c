#pragma once
// End-to-end support: scenario folders with a copy of the real ledgrix.exe,
// processes started and waited for with deadlines, the box reader, and the
// log of the Java stand-in.
#include <windows.h>

#include "support/remove_tree.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using ::RemoveTree;

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

// Environment given by CTest.
std::wstring LauncherExe();
std::wstring HelpersDir();

// A fresh folder C:\ledgrix-e2e\<name>-<pid>-<n>, removed with the scenario.
class Scenario {
 public:
  explicit Scenario(const std::wstring& name);
  ~Scenario();
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  const std::wstring& root() const { return root_; }
  std::wstring Path(const std::wstring& relative) const;
  void MakeDir(const std::wstring& relative) const;
  void WriteFile(const std::wstring& relative, const std::string& bytes) const;
  std::optional<std::string> ReadFile(const std::wstring& relative) const;
  bool Exists(const std::wstring& relative) const;
  // Copies the built launcher to relative (e.g. L"bin\\ledgrix.exe"); returns its full path.
  std::wstring InstallLauncher(const std::wstring& relative) const;
  // Copies the Java stand-in to <dir>\javaw.exe with its settings file.
  struct StandInOptions {
    std::wstring log;       // full path; default <root>\javaw.log
    std::wstring release;   // full path; default <root>\javaw.release
    int exit_code = 0;
    std::wstring list_dir;  // recorded at start when set
    bool wait = true;
  };
  void InstallStandIn(const std::wstring& relative_dir, const StandInOptions& options) const;
  std::wstring StandInLog() const { return Path(L"javaw.log"); }
  std::wstring StandInRelease() const { return Path(L"javaw.release"); }

 private:
  std::wstring root_;
};

bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// A started process; killed when still running at destruction.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // command_line as CreateProcessW takes it; cwd may be empty.
  bool Start(const std::wstring& command_line, const std::wstring& cwd = L"");
  // The exit code, or nullopt when it did not end within the deadline.
  std::optional<DWORD> Wait(DWORD milliseconds = 60000);
  bool Running() const;
  DWORD pid() const { return pid_; }

 private:
  HANDLE handle_ = nullptr;
  DWORD pid_ = 0;
};

// Runs a launcher to its end (with a deadline); the exit code, or nullopt.
std::optional<DWORD> RunToEnd(const std::wstring& exe, const std::wstring& arguments, DWORD milliseconds = 60000);
std::wstring Quote(const std::wstring& path);

// One message box as the box reader saw it.
struct Box {
  std::string title;
  bool icon = false;
  std::string buttons;
  std::wstring text;
};

// Starts the box reader before the program that shows boxes, collects what it
// saw after that program has ended.
class BoxWatch {
 public:
  explicit BoxWatch(int count = 1, DWORD timeout_ms = 30000);
  // Waits for the reader; the boxes it pressed.
  std::vector<Box> Collect();

 private:
  std::wstring out_;
  Process reader_;
};

// A program run to its end while the box reader watches.
struct Outcome {
  std::optional<DWORD> exit_code;
  std::vector<Box> boxes;
};
Outcome RunWatchingBoxes(const std::wstring& exe, const std::wstring& arguments = L"");

// The system's text for an error code, as FormatMessageW gives it.
std::wstring SystemText(DWORD code);

// Asserts, in effect, that no box titled "Error" shows within milliseconds.
bool NoBoxWithin(DWORD milliseconds);

// Records of the Java stand-in, one map per start ("argv" entries as argv[0]...).
struct StandInRecord {
  std::map<std::string, std::string> values;
  std::vector<std::string> incoming;
  std::string Get(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
  }
};
std::vector<StandInRecord> ReadStandInLog(const std::wstring& path);
// Waits until the log holds at least count records.
std::vector<StandInRecord> WaitForStandIn(const std::wstring& path, size_t count, DWORD milliseconds = 30000);

// Polls condition every 10 ms until it holds or the deadline passes.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD milliseconds = 30000) {
  ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() > deadline) return false;
    Sleep(10);
  }
}

// Holds the launcher's single-instance mutex, as a running launcher does.
class MutexHolder {
 public:
  MutexHolder();
  ~MutexHolder();

 private:
  HANDLE handle_;
};

}  // namespace e2e
