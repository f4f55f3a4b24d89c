// javaw.exe stand-in: appends one line, UTF-8, to the file LEDGRIX_JAVA_RECORD
// names, else to javaw.log in its current folder: its own path, its current
// folder, how many documents the incoming folder held, then its arguments as
// real Java reads them, all separated by '|'. It sets the event named by
// LEDGRIX_JAVAW_SIGNAL, if any (for the benchmarks), then waits while a file
// "hold" is in its current folder (ten minutes at most), and exits with the
// code LEDGRIX_JAVAW_EXIT names, or 0.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Wide(const std::string& ansi) {
  std::wstring wide(ansi.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansi.size(), wide.data(), wide.size()));
  return wide;
}

// Java takes the command line through the ANSI code page and splits it by the
// C runtime's rule: 2n backslashes before a quote stand for n and the quote
// opens or closes a quoted run, 2n+1 for n and a literal quote, and outside a
// run a blank ends the argument. It differs in one case: outside a run, a
// quote right after a literal one is literal too.
std::wstring JavaArguments(const char* line) {
  std::wstring arguments;
  std::string argument;
  bool started = false;
  bool quoted = false;
  bool after_literal = false;
  for (;; ++line) {
    size_t backslashes = 0;
    for (; *line == '\\'; ++line) ++backslashes;
    const bool literal = *line == '"' && (backslashes % 2 || (after_literal && !quoted));
    argument.append(*line == '"' ? backslashes / 2 : backslashes, '\\');
    started = started || backslashes || *line == '"';
    after_literal = literal;
    if (*line == '"' && !literal) {
      quoted = !quoted;
    } else if (*line && (quoted || (*line != ' ' && *line != '\t'))) {
      argument += *line;
      started = true;
    } else {
      if (started) arguments += L"|" + Wide(argument);
      argument.clear();
      started = false;
      if (!*line) return arguments;
    }
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const wchar_t* record = _wgetenv(L"LEDGRIX_JAVA_RECORD");
  FILE* log = _wfopen(record ? record : L"javaw.log", L"a, ccs=UTF-8");
  if (!log) return 125;
  wchar_t path[32768];
  fwprintf(log, L"%ls|", std::wstring(path, GetModuleFileNameW(nullptr, path, 32768)).c_str());
  fwprintf(log, L"%ls|", std::wstring(path, GetCurrentDirectoryW(32768, path)).c_str());
  int documents = 0;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(
      (_wgetenv(L"APPDATA") + std::wstring(L"\\.ledgrix\\system\\incoming\\*")).c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
    documents += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  fwprintf(log, L"%d%ls\n", documents, JavaArguments(GetCommandLineA()).c_str());
  fclose(log);
  const wchar_t* signal = _wgetenv(L"LEDGRIX_JAVAW_SIGNAL");
  if (HANDLE event = signal ? OpenEventW(EVENT_MODIFY_STATE, FALSE, signal) : nullptr)
    SetEvent(event);
  for (int tick = 0; tick < 60000 && GetFileAttributesW(L"hold") != INVALID_FILE_ATTRIBUTES; ++tick)
    Sleep(10);
  const wchar_t* exit_code = _wgetenv(L"LEDGRIX_JAVAW_EXIT");
  return exit_code ? _wtoi(exit_code) : 0;
}
