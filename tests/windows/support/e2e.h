#pragma once
// End-to-end support: an installation of the real ledgrix.exe with the Java
// stand-in, processes waited for with deadlines, the box reader, the stand-in's
// records, the incoming folder and the shell's open verb.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

std::string Utf8(const std::wstring& text);
std::wstring Quote(const std::wstring& path);
std::optional<std::string> ReadWholeFile(const std::wstring& path);
// base followed by levels of at most 40 'd's, exactly length characters in all.
std::wstring PathOfLength(const std::wstring& base, size_t length);

// Polls condition every 10 ms until it holds or the deadline passes.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD milliseconds = 30000) {
  for (ULONGLONG deadline = GetTickCount64() + milliseconds; !condition(); Sleep(10))
    if (GetTickCount64() > deadline) return false;
  return true;
}

// One start of the Java stand-in ("argv[i]", "cwd", "module"...).
struct StandInRecord {
  std::map<std::string, std::string> values;
  std::vector<std::string> incoming;
  std::string Get(const std::string& key) const {
    auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
  }
};

// A fresh folder C:\ledgrix-e2e\<name>-<pid>-<n>, removed at the end, where
// the launcher and the Java stand-in are laid out.
class Installation {
 public:
  explicit Installation(const std::wstring& name);
  ~Installation();  // a stand-in left waiting by a failed test ends too
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  const std::wstring& root() const { return root_; }
  std::wstring Path(const std::wstring& relative) const { return relative.empty() ? root_ : root_ + L"\\" + relative; }
  void MakeDir(const std::wstring& relative) const;
  // Writes the file and the folders above it; its full path.
  std::wstring WriteFile(const std::wstring& relative, const std::string& bytes) const;
  // Copies the built launcher there; its full path.
  std::wstring InstallLauncher(const std::wstring& relative = L"bin\\ledgrix.exe") const;
  // The stand-in as <relative_dir>\javaw.exe (or any exe name), recording into
  // log (default: Records()) and waiting for Release() unless wait is false.
  void InstallStandIn(const std::wstring& relative_dir, int exit_code = 0, const std::wstring& list_dir = L"",
                      const std::wstring& exe_name = L"javaw.exe", const std::wstring& log = L"",
                      bool wait = true) const;
  std::vector<StandInRecord> Records() const;
  std::vector<StandInRecord> WaitForRecords(size_t count) const;
  void Release() const;
  void Reset() const;  // forgets earlier records and releases

 private:
  std::wstring root_;
};

// A started process; killed when still running at destruction.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool Start(const std::wstring& command_line, const wchar_t* directory = nullptr);
  // The exit code, or nullopt when it did not end within the deadline.
  std::optional<DWORD> Wait(DWORD milliseconds = 60000);
  bool Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

 private:
  HANDLE handle_ = nullptr;
};

std::optional<DWORD> RunToEnd(const std::wstring& exe, const std::wstring& arguments = L"");

// One message box titled "Error" as the box reader saw and pressed it.
struct Box {
  bool icon = false;
  std::string buttons;
  std::wstring text;
};
// A run of exe to its end, the box reader watching for boxes (0 or 1); with
// stand_in, its first record is taken and the stand-in released.
struct Outcome {
  std::optional<DWORD> exit_code;
  std::vector<Box> boxes;
  std::optional<StandInRecord> java;
};
Outcome RunWatchingBoxes(const std::wstring& exe, const Installation* stand_in = nullptr, int boxes = 1,
                         const std::wstring& arguments = L"");

std::wstring SystemText(DWORD code);
// The fatal box: message, "<context> failed with error <code>: <system text>", advice.
std::wstring FatalText(const std::wstring& message, DWORD code, const std::wstring& context = L"ledgrix launcher");

// Holds the launcher's single-instance mutex, as a running launcher does.
class MutexHolder {
 public:
  MutexHolder();
  ~MutexHolder();

 private:
  HANDLE handle_;
};

// %APPDATA%\.ledgrix\system\incoming, its sorted UTF-8 names and files.
std::wstring IncomingFolder();
// Where documents are written before they appear whole in the incoming folder.
std::wstring StagingFolder();
void RemoveIncomingFolder();
std::vector<std::string> IncomingNames();
std::optional<std::string> IncomingFile(const std::wstring& name);

// Double-click equivalent: the shell's open verb; the started process's exit code.
std::optional<DWORD> OpenThroughShell(const std::wstring& document);

}  // namespace e2e
