#pragma once
// Documents opened as a double-click opens them: through the shell's "open"
// verb and the registered association.
#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

struct ShellOpenResult {
  bool started = false;            // the shell started a process
  std::optional<DWORD> exit_code;  // that process's, when it ended in time
};
ShellOpenResult OpenThroughShell(const std::wstring& document, DWORD milliseconds = 60000);

// Puts the Java stand-in at exe_path (any name) as a program that records its
// start into log and ends at once.
bool InstallRecorder(const std::wstring& exe_path, const std::wstring& log);

}  // namespace e2e
