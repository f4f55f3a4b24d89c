#include "support/shell_open.h"

#include <shellapi.h>

#include "support/e2e.h"

namespace e2e {

ShellOpenResult OpenThroughShell(const std::wstring& document, DWORD milliseconds) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = document.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellOpenResult result;
  if (!ShellExecuteExW(&info) || !info.hProcess) return result;
  result.started = true;
  if (WaitForSingleObject(info.hProcess, milliseconds) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    result.exit_code = code;
  } else {
    TerminateProcess(info.hProcess, 99);
  }
  CloseHandle(info.hProcess);
  return result;
}

bool InstallRecorder(const std::wstring& exe_path, const std::wstring& log) {
  std::wstring folder = exe_path.substr(0, exe_path.rfind(L'\\'));
  return CopyFileW((HelpersDir() + L"\\javaw.exe").c_str(), exe_path.c_str(), FALSE) &&
         WriteWholeFile(folder + L"\\javaw-standin.ini", Utf8(L"log=" + log + L"\n"));
}

}  // namespace e2e
