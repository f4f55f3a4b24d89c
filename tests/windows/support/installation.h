#pragma once
// A whole installation for the end-to-end tests, in a folder of any name or
// length: the launcher in bin, the boot file beside bin, the Java stand-in
// below jre; and one start of it, seen through to its end.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "support/e2e.h"

namespace e2e {

class Installation {
 public:
  // In <scenario folder>\<relative>, or, given a length, in a folder below it
  // whose full path has exactly that many characters.
  Installation(const wchar_t* scenario, const std::wstring& relative, size_t length = 0);
  ~Installation() { Release(); }  // a stand-in left waiting by a failed test ends too
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  const Scenario& scenario() const { return scenario_; }
  const std::wstring& folder() const { return folder_; }
  const std::wstring& exe() const { return exe_; }
  void WriteBoot(const std::string& bytes) const;
  void Release() const;
  // Forgets earlier starts: their records and release.
  void Reset() const;
  std::vector<StandInRecord> Records() const { return ReadStandInLog(scenario_.StandInLog()); }

 private:
  Scenario scenario_;
  std::wstring relative_;
  std::wstring folder_;
  std::wstring exe_;
};

// What one start of an installation came to.
struct LaunchOutcome {
  bool started = false;        // the system started the launcher
  DWORD start_error = 0;       // its code when it did not
  std::optional<StandInRecord> java;  // the Java stand-in's record when one ran
  std::vector<Box> boxes;
  std::optional<DWORD> exit_code;
};

// Starts command_line, lets a Java stand-in that runs end, and waits for the
// launcher; expected_boxes boxes titled "Error" are read and pressed.
LaunchOutcome Launch(const Installation& at, const std::wstring& command_line, int expected_boxes = 0);

// The fatal box's text for a message, the system's code and the context.
std::wstring FatalText(const std::wstring& message, DWORD code, const std::wstring& context);

}  // namespace e2e
