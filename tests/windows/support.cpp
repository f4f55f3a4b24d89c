#include "support.h"

#include "box.h"

#include <algorithm>
#include <cstdio>

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 4, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                 static_cast<int>(out.size()), nullptr, nullptr));
  return out;
}

std::wstring Env(const wchar_t* name) { return _wgetenv(name) ? _wgetenv(name) : L""; }
std::wstring Quote(const std::wstring& text) { return L"\"" + text + L"\""; }

std::string ReadAll(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return "<missing>";
  std::string bytes;
  for (int c; (c = fgetc(file)) != EOF;) bytes += static_cast<char>(c);
  fclose(file);
  return bytes;
}

void RemoveTree(const std::wstring& path) {
  for (const std::wstring& name : ListFiles(path)) {
    SetFileAttributesW((path + L"\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW((path + L"\\" + name).c_str())) RemoveTree(path + L"\\" + name);
  }
  RemoveDirectoryW(path.c_str());
}

std::wstring SystemText(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0,
                 reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring result = text ? text : L"";
  LocalFree(text);
  return result;
}

std::wstring Fatal(const std::wstring& message, DWORD code, const std::wstring& context) {
  return L"(stop) " + message + L"\n" + context + L" failed with error " + std::to_wstring(code) + L": " +
         SystemText(code) + L"\nPlease reinstall the application";
}

std::wstring IncomingFolder() { return Env(L"APPDATA") + L"\\.ledgrix\\system\\incoming"; }

std::vector<std::wstring> ListFiles(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
    if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) names.push_back(found.cFileName);
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

Folder::Folder(const std::wstring& name) {
  static int count = 0;
  CreateDirectoryW(L"C:\\ledgrix-tests", nullptr);
  path = L"C:\\ledgrix-tests\\" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
  RemoveTree(path);
  CreateDirectoryW(path.c_str(), nullptr);
}

Folder::~Folder() {
  DeleteFileW((path + L"\\hold").c_str());
  RemoveTree(path);
}

std::wstring Folder::Put(const std::wstring& relative, const std::string& bytes) const {
  const std::wstring full = path + L"\\" + relative;
  for (size_t at = path.size() + 1; (at = full.find(L'\\', at)) != std::wstring::npos; ++at)
    CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
  FILE* file = _wfopen(full.c_str(), L"wb");
  if (file) fwrite(bytes.data(), 1, bytes.size(), file), fclose(file);
  return full;
}

std::wstring Folder::Launcher(const std::wstring& relative, const wchar_t* built) const {
  const std::wstring full = Put(relative, "");
  CopyFileW(Env(built).c_str(), full.c_str(), FALSE);
  return full;
}

void Folder::StandIn(const std::wstring& relative) const {
  CopyFileW((Env(L"LEDGRIX_HELPERS") + L"\\javaw.exe").c_str(), Put(relative + L"\\javaw.exe", "").c_str(), FALSE);
}

std::vector<std::vector<std::wstring>> Javas(const std::wstring& installation) {
  std::vector<std::vector<std::wstring>> javas(1);
  FILE* log = _wfopen((installation + L"\\javaw.log").c_str(), L"r, ccs=UTF-8");
  wchar_t line[32768];
  while (log && fgetws(line, 32768, log)) {
    std::wstring text(line, wcscspn(line, L"\n"));
    if (text == L"end") javas.emplace_back();
    else javas.back().push_back(text);
  }
  if (log) fclose(log);
  javas.pop_back();
  return javas;
}

Process::Process(const std::wstring& command_line, const wchar_t* directory) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  std::wstring writable = command_line;
  EXPECT_TRUE(CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &info))
      << Utf8(command_line);
}

Process::~Process() {
  if (info.hProcess && Running()) TerminateProcess(info.hProcess, 99);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
}

DWORD Process::Wait() {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
  return code;
}

Outcome RunToEnd(const std::wstring& command_line, const wchar_t* directory) {
  Process process(command_line, directory);
  Outcome run{STILL_ACTIVE, {}};
  for (DWORD tick = 0; tick < 12000 && process.Running(); ++tick, Sleep(10))
    if (HWND box = FindErrorBox(process.info.dwProcessId)) run.boxes.push_back(ReadAndClose(box));
  run.exit_code = process.Wait();
  return run;
}

RunningLauncher::RunningLauncher()
    : mutex(CreateMutexW(nullptr, FALSE, L"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}")) {}
RunningLauncher::~RunningLauncher() { CloseHandle(mutex); }
