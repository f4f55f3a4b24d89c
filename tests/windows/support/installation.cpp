#include "support/installation.h"

#include "support/foreign_paths.h"

namespace e2e {

Installation::Installation(const wchar_t* scenario, const std::wstring& relative, size_t length)
    : scenario_(scenario), relative_(relative), folder_(scenario_.Path(relative)) {
  if (length > 0) {
    folder_ = PathOfLength(folder_, length);
    relative_ = folder_.substr(scenario_.root().size() + 1);
  }
  exe_ = scenario_.InstallLauncher(relative_ + L"\\bin\\ledgrix.exe");
  scenario_.InstallStandIn(relative_ + L"\\jre\\bin", {});
}

void Installation::WriteBoot(const std::string& bytes) const {
  scenario_.WriteFile(relative_ + L"\\ledgrix.boot", bytes);
}

void Installation::Release() const { WriteWholeFile(scenario_.StandInRelease(), ""); }

void Installation::Reset() const {
  DeleteFileW(scenario_.StandInLog().c_str());
  DeleteFileW(scenario_.StandInRelease().c_str());
}

LaunchOutcome Launch(const Installation& at, const std::wstring& command_line, int expected_boxes) {
  std::optional<BoxWatch> watch;
  if (expected_boxes > 0) watch.emplace(expected_boxes);
  LaunchOutcome outcome;
  Process launcher;
  outcome.started = launcher.Start(command_line);
  if (!outcome.started) {
    outcome.start_error = GetLastError();
    return outcome;
  }
  WaitUntil([&] { return !at.Records().empty() || !launcher.Running(); });
  std::vector<StandInRecord> records = at.Records();
  if (!records.empty()) outcome.java = records.front();
  at.Release();
  outcome.exit_code = launcher.Wait();
  if (watch) outcome.boxes = watch->Collect();
  return outcome;
}

std::wstring FatalText(const std::wstring& message, DWORD code, const std::wstring& context) {
  return message + L"\n" + context + L" failed with error " + std::to_wstring(code) + L": " + SystemText(code) +
         L"\nPlease reinstall the application";
}

}  // namespace e2e
