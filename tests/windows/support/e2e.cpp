#include "support/e2e.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>

#include "support/remove_tree.h"

namespace e2e {

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

namespace {

std::wstring Wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::wstring Helper(const wchar_t* name) { return std::wstring(_wgetenv(L"LEDGRIX_HELPERS")) + L"\\" + name; }

void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// The file's lines (CR LF or LF) as key and value, split at the first '='.
std::vector<std::pair<std::string, std::string>> KeyValueLines(const std::wstring& path) {
  const std::string text = ReadWholeFile(path).value_or("");
  std::vector<std::pair<std::string, std::string>> lines;
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t eq = std::min(line.find('='), line.size());
    lines.emplace_back(line.substr(0, eq), line.substr(std::min(eq + 1, line.size())));
  }
  return lines;
}

std::wstring Parent(const std::wstring& relative) {
  size_t slash = relative.rfind(L'\\');
  return slash == std::wstring::npos ? L"" : relative.substr(0, slash);
}

// The boxes in the box reader's report.
std::vector<Box> ReadBoxes(const std::wstring& out) {
  std::vector<Box> boxes;
  for (const auto& [key, value] : KeyValueLines(out)) {
    if (key == "title") boxes.emplace_back();
    if (boxes.empty()) continue;
    if (key == "icon") boxes.back().icon = value == "yes";
    if (key == "buttons") boxes.back().buttons = value;
    if (key != "text") continue;
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
      char c = value[i];
      if (c == '\\' && i + 1 < value.size()) c = value[++i] == 'r' ? '\r' : value[i] == 'n' ? '\n' : value[i];
      text += c;
    }
    boxes.back().text = Wide(text);
  }
  return boxes;
}

}  // namespace

std::wstring Quote(const std::wstring& path) { return L"\"" + path + L"\""; }

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[8192];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::wstring PathOfLength(const std::wstring& base, size_t length) {
  std::wstring path = base;
  while (path.size() < length) {
    size_t room = length - path.size() - 1;
    // Never leave a single character for a last level of nothing.
    path += L"\\" + std::wstring(room > 40 ? std::min<size_t>(40, room - 2) : room, L'd');
  }
  return path;
}

std::vector<StandInRecord> Installation::Records() const {
  std::vector<StandInRecord> records;
  std::optional<StandInRecord> current;
  for (const auto& [key, value] : KeyValueLines(Path(L"javaw.log"))) {
    if (key.rfind("begin ", 0) == 0) {
      current.emplace();
    } else if (key == "end" && current) {
      records.push_back(*current);
      current.reset();
    } else if (current && key == "incoming") {
      current->incoming.push_back(value);
    } else if (current) {
      current->values[key] = value;
    }
  }
  return records;
}

Installation::Installation(const std::wstring& name) {
  static int counter = 0;
  CreateDirectoryW(L"C:\\ledgrix-e2e", nullptr);
  root_ = L"C:\\ledgrix-e2e\\" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveTree(root_);
  CreateDirectoryW(root_.c_str(), nullptr);
}

Installation::~Installation() {
  Release();
  if (!std::getenv("LEDGRIX_KEEP_SCENARIOS")) RemoveTree(root_);
}

void Installation::MakeDir(const std::wstring& relative) const {
  const std::wstring full = Path(relative);
  for (size_t i = root_.size(); i <= full.size(); ++i)
    if (i == full.size() || full[i] == L'\\') CreateDirectoryW(full.substr(0, i).c_str(), nullptr);
}

std::wstring Installation::WriteFile(const std::wstring& relative, const std::string& bytes) const {
  MakeDir(Parent(relative));
  WriteWholeFile(Path(relative), bytes);
  return Path(relative);
}

std::wstring Installation::InstallLauncher(const std::wstring& relative) const {
  MakeDir(Parent(relative));
  CopyFileW(_wgetenv(L"LEDGRIX_EXE"), Path(relative).c_str(), FALSE);
  return Path(relative);
}

void Installation::InstallStandIn(const std::wstring& relative_dir, int exit_code, const std::wstring& list_dir,
                                  const std::wstring& exe_name, const std::wstring& log, bool wait) const {
  MakeDir(relative_dir);
  std::wstring dir = Path(relative_dir);
  CopyFileW(Helper(L"javaw.exe").c_str(), (dir + L"\\" + exe_name).c_str(), FALSE);
  std::wstring ini = L"log=" + (log.empty() ? Path(L"javaw.log") : log) + L"\nexit_code=" +
                     std::to_wstring(exit_code) + L"\n";
  if (wait) ini += L"release=" + Path(L"javaw.release") + L"\n";
  if (!list_dir.empty()) ini += L"list_dir=" + list_dir + L"\n";
  WriteWholeFile(dir + L"\\javaw-standin.ini", Utf8(ini));
}

std::vector<StandInRecord> Installation::WaitForRecords(size_t count) const {
  std::vector<StandInRecord> records;
  WaitUntil([&] { return (records = Records()).size() >= count; });
  return records;
}

void Installation::Release() const { WriteWholeFile(Path(L"javaw.release"), ""); }

void Installation::Reset() const {
  DeleteFileW(Path(L"javaw.log").c_str());
  DeleteFileW(Path(L"javaw.release").c_str());
}

Process::~Process() {
  if (!handle_) return;
  if (Running()) TerminateProcess(handle_, 99);
  CloseHandle(handle_);
}

bool Process::Start(const std::wstring& command_line, const wchar_t* directory) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring writable = command_line;
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &info))
    return false;
  CloseHandle(info.hThread);
  handle_ = info.hProcess;
  return true;
}

std::optional<DWORD> Process::Wait(DWORD milliseconds) {
  if (!handle_ || WaitForSingleObject(handle_, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return code;
}

std::optional<DWORD> RunToEnd(const std::wstring& exe, const std::wstring& arguments) {
  Process process;
  if (!process.Start(Quote(exe) + (arguments.empty() ? L"" : L" " + arguments))) return std::nullopt;
  return process.Wait();
}

Outcome RunWatchingBoxes(const std::wstring& exe, const Installation* stand_in, int boxes,
                         const std::wstring& arguments) {
  wchar_t dir[MAX_PATH], out[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  GetTempFileNameW(dir, L"box", 0, out);
  Process reader;
  if (boxes) reader.Start(Quote(Helper(L"box_reader.exe")) + L" --title Error --timeout-ms 30000 --out " + Quote(out));
  Outcome outcome;
  Process launcher;
  if (launcher.Start(Quote(exe) + (arguments.empty() ? L"" : L" " + arguments))) {
    if (stand_in) {
      WaitUntil([&] { return !stand_in->Records().empty() || !launcher.Running(); });
      std::vector<StandInRecord> records = stand_in->Records();
      if (!records.empty()) outcome.java = records.front();
      stand_in->Release();
    }
    outcome.exit_code = launcher.Wait();
  }
  if (boxes && reader.Wait(120000)) outcome.boxes = ReadBoxes(out);
  DeleteFileW(out);
  return outcome;
}

std::wstring SystemText(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring result = text ? text : L"";
  LocalFree(text);
  return result;
}

std::wstring FatalText(const std::wstring& message, DWORD code, const std::wstring& context) {
  return message + L"\n" + context + L" failed with error " + std::to_wstring(code) + L": " + SystemText(code) +
         L"\nPlease reinstall the application";
}

MutexHolder::MutexHolder() : handle_(CreateMutexW(nullptr, FALSE, L"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}")) {}
MutexHolder::~MutexHolder() {
  if (handle_) CloseHandle(handle_);
}

std::wstring IncomingFolder() {
  wchar_t folder[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, folder, CSIDL_APPDATA, FALSE);
  return std::wstring(folder) + L"\\.ledgrix\\system\\incoming";
}

std::wstring StagingFolder() {
  std::wstring incoming = IncomingFolder();
  return incoming.substr(0, incoming.rfind(L'\\')) + L"\\staging";
}

void RemoveIncomingFolder() {
  RemoveTree(IncomingFolder());
  RemoveTree(StagingFolder());
}

std::vector<std::string> IncomingNames() {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((IncomingFolder() + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(Utf8(name));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> IncomingFile(const std::wstring& name) {
  return ReadWholeFile(IncomingFolder() + L"\\" + name);
}

std::optional<DWORD> OpenThroughShell(const std::wstring& document) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = document.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info) || !info.hProcess) return std::nullopt;
  std::optional<DWORD> code;
  DWORD exit_code = 0;
  if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0 && GetExitCodeProcess(info.hProcess, &exit_code))
    code = exit_code;
  else
    TerminateProcess(info.hProcess, 99);
  CloseHandle(info.hProcess);
  return code;
}

}  // namespace e2e
