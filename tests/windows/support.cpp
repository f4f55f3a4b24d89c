#include "support.h"

#include <algorithm>

#include "box.h"

std::string U(const std::wstring& text) {
  std::string out(text.size() * 4, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8,
                                 0,
                                 text.data(),
                                 static_cast<int>(text.size()),
                                 out.data(),
                                 static_cast<int>(out.size()),
                                 nullptr,
                                 nullptr));
  return out;
}

std::wstring Env(const wchar_t* name) { return _wgetenv(name) ? _wgetenv(name) : L""; }
std::wstring Incoming() { return Env(L"APPDATA") + L"\\.ledgrix\\system\\incoming"; }

std::string ReadAll(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  std::string bytes = file ? "" : "<missing>";
  for (int c; file && (c = fgetc(file)) != EOF;) bytes += static_cast<char>(c);
  if (file) fclose(file);
  return bytes;
}

std::vector<std::wstring> ListFiles(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
    if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L".."))
      names.push_back(found.cFileName);
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::wstring& path) {
  for (const std::wstring& name : ListFiles(path))
    if (!DeleteFileW((path + L"\\" + name).c_str())) RemoveTree(path + L"\\" + name);
  RemoveDirectoryW(path.c_str());
}

std::wstring Fatal(const std::wstring& message, DWORD code, const std::wstring& context) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM,
                 nullptr,
                 code,
                 0,
                 reinterpret_cast<LPWSTR>(&text),
                 0,
                 nullptr);
  const std::wstring box = L"(stop) " + message + L"\n" + context + L" failed with error " +
                           std::to_wstring(code) + L": " + (text ? text : L"") +
                           L"\nPlease reinstall the application";
  LocalFree(text);
  return box;
}

Folder::Folder() {
  static int count = 0;
  CreateDirectoryW(L"C:\\ledgrix-tests", nullptr);
  path = L"C:\\ledgrix-tests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++count);
  RemoveTree(path);
  CreateDirectoryW(path.c_str(), nullptr);
}

Folder::~Folder() { RemoveTree(path); }

std::wstring Folder::Put(const std::wstring& relative, const std::string& bytes) const {
  const std::wstring full = path + L"\\" + relative;
  for (size_t at = path.size() + 1; (at = full.find(L'\\', at)) != std::wstring::npos; ++at)
    CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
  FILE* file = _wfopen(full.c_str(), L"wb");
  fwrite(bytes.data(), 1, bytes.size(), file), fclose(file);
  return full;
}

std::vector<std::wstring> Folder::Javas() const {
  std::vector<std::wstring> lines;
  FILE* log = _wfopen((path + L"\\javaw.log").c_str(), L"r, ccs=UTF-8");
  for (wchar_t line[8192]; log && fgetws(line, 8192, log);)
    lines.emplace_back(line, wcscspn(line, L"\n"));
  if (log) fclose(log);
  return lines;
}

Start::Start(const std::wstring& command_line, const wchar_t* directory) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  std::wstring writable = command_line;
  EXPECT_TRUE(CreateProcessW(
      nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &process))
      << U(command_line);
}

Start::~Start() {
  TerminateProcess(process.hProcess, 99);
  CloseHandle(process.hProcess), CloseHandle(process.hThread);
}

DWORD Start::Finish() {
  for (int tick = 0; tick < 12000 && WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT;
       ++tick)
    if (HWND box = FindErrorBox(process.dwProcessId)) boxes.push_back(ReadAndClose(box));
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}
