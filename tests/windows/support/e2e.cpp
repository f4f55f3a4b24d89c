#include "support/e2e.h"

#include "support/remove_tree.h"

#include <cstdlib>

namespace e2e {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

namespace {
std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[4096];
  DWORD n = GetEnvironmentVariableW(name, buffer, 4096);
  return n && n < 4096 ? std::wstring(buffer, n) : std::wstring();
}
}  // namespace

std::wstring LauncherExe() { return Environment(L"LEDGRIX_EXE"); }
std::wstring HelpersDir() { return Environment(L"LEDGRIX_HELPERS"); }

std::wstring Quote(const std::wstring& path) { return L"\"" + path + L"\""; }

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

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

Scenario::Scenario(const std::wstring& name) {
  static int counter = 0;
  CreateDirectoryW(L"C:\\ledgrix-e2e", nullptr);
  root_ = L"C:\\ledgrix-e2e\\" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveTree(root_);
  CreateDirectoryW(root_.c_str(), nullptr);
}

Scenario::~Scenario() {
  if (!std::getenv("LEDGRIX_KEEP_SCENARIOS")) RemoveTree(root_);
}

std::wstring Scenario::Path(const std::wstring& relative) const {
  return relative.empty() ? root_ : root_ + L"\\" + relative;
}

void Scenario::MakeDir(const std::wstring& relative) const {
  std::wstring full = Path(relative);
  for (size_t i = root_.size(); i <= full.size(); ++i)
    if (i == full.size() || full[i] == L'\\') CreateDirectoryW(full.substr(0, i).c_str(), nullptr);
}

void Scenario::WriteFile(const std::wstring& relative, const std::string& bytes) const {
  size_t slash = relative.rfind(L'\\');
  if (slash != std::wstring::npos) MakeDir(relative.substr(0, slash));
  WriteWholeFile(Path(relative), bytes);
}

std::optional<std::string> Scenario::ReadFile(const std::wstring& relative) const {
  return ReadWholeFile(Path(relative));
}

bool Scenario::Exists(const std::wstring& relative) const {
  return GetFileAttributesW(Path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Scenario::InstallLauncher(const std::wstring& relative) const {
  size_t slash = relative.rfind(L'\\');
  if (slash != std::wstring::npos) MakeDir(relative.substr(0, slash));
  std::wstring target = Path(relative);
  CopyFileW(LauncherExe().c_str(), target.c_str(), FALSE);
  return target;
}

void Scenario::InstallStandIn(const std::wstring& relative_dir, const StandInOptions& options) const {
  MakeDir(relative_dir);
  std::wstring dir = Path(relative_dir);
  CopyFileW((HelpersDir() + L"\\javaw.exe").c_str(), (dir + L"\\javaw.exe").c_str(), FALSE);
  std::wstring ini = L"log=" + (options.log.empty() ? StandInLog() : options.log) + L"\n";
  if (options.wait) ini += L"release=" + (options.release.empty() ? StandInRelease() : options.release) + L"\n";
  ini += L"exit_code=" + std::to_wstring(options.exit_code) + L"\n";
  if (!options.list_dir.empty()) ini += L"list_dir=" + options.list_dir + L"\n";
  WriteWholeFile(dir + L"\\javaw-standin.ini", Utf8(ini));
}

Process::~Process() {
  if (handle_) {
    if (Running()) TerminateProcess(handle_, 99);
    CloseHandle(handle_);
  }
}

Process::Process(Process&& other) noexcept : handle_(other.handle_), pid_(other.pid_) { other.handle_ = nullptr; }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    this->~Process();
    handle_ = other.handle_;
    pid_ = other.pid_;
    other.handle_ = nullptr;
  }
  return *this;
}

bool Process::Start(const std::wstring& command_line, const std::wstring& cwd) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring writable = command_line;
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      cwd.empty() ? nullptr : cwd.c_str(), &startup, &info))
    return false;
  CloseHandle(info.hThread);
  handle_ = info.hProcess;
  pid_ = info.dwProcessId;
  return true;
}

std::optional<DWORD> Process::Wait(DWORD milliseconds) {
  if (!handle_ || WaitForSingleObject(handle_, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return code;
}

bool Process::Running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> RunToEnd(const std::wstring& exe, const std::wstring& arguments, DWORD milliseconds) {
  Process process;
  if (!process.Start(Quote(exe) + (arguments.empty() ? L"" : L" " + arguments))) return std::nullopt;
  return process.Wait(milliseconds);
}

namespace {

std::wstring Unescape(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size()) {
      wchar_t next = text[++i];
      out += next == L'r' ? L'\r' : next == L'n' ? L'\n' : next;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::wstring TempFile(const wchar_t* prefix) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  wchar_t file[MAX_PATH];
  GetTempFileNameW(dir, prefix, 0, file);
  return file;
}

}  // namespace

BoxWatch::BoxWatch(int count, DWORD timeout_ms) : out_(TempFile(L"box")) {
  reader_.Start(Quote(HelpersDir() + L"\\box_reader.exe") + L" --title Error --count " + std::to_wstring(count) +
                L" --timeout-ms " + std::to_wstring(timeout_ms) + L" --out " + Quote(out_));
}

std::vector<Box> BoxWatch::Collect() {
  reader_.Wait(120000);
  std::vector<Box> boxes;
  std::optional<std::string> text = ReadWholeFile(out_);
  DeleteFileW(out_.c_str());
  if (!text) return boxes;
  for (const std::string& line : Lines(*text)) {
    if (line.rfind("title=", 0) == 0) {
      boxes.emplace_back();
      boxes.back().title = line.substr(6);
    } else if (boxes.empty()) {
      continue;
    } else if (line.rfind("icon=", 0) == 0) {
      boxes.back().icon = line.substr(5) == "yes";
    } else if (line.rfind("buttons=", 0) == 0) {
      boxes.back().buttons = line.substr(8);
    } else if (line.rfind("text=", 0) == 0) {
      boxes.back().text = Unescape(Wide(line.substr(5)));
    }
  }
  return boxes;
}

Outcome RunWatchingBoxes(const std::wstring& exe, const std::wstring& arguments) {
  BoxWatch watch;
  Outcome outcome;
  outcome.exit_code = RunToEnd(exe, arguments);
  outcome.boxes = watch.Collect();
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

bool NoBoxWithin(DWORD milliseconds) {
  Process reader;
  reader.Start(Quote(HelpersDir() + L"\\box_reader.exe") + L" --title Error --none-within-ms " +
               std::to_wstring(milliseconds));
  std::optional<DWORD> code = reader.Wait(milliseconds + 60000);
  return code && *code == 0;
}

std::vector<StandInRecord> ReadStandInLog(const std::wstring& path) {
  std::vector<StandInRecord> records;
  std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return records;
  StandInRecord current;
  bool open = false;
  for (const std::string& line : Lines(*text)) {
    if (line.rfind("begin ", 0) == 0) {
      current = StandInRecord();
      current.values["pid"] = line.substr(6);
      open = true;
    } else if (line == "end") {
      if (open) records.push_back(current);
      open = false;
    } else if (open) {
      size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      std::string key = line.substr(0, eq);
      if (key == "incoming") {
        current.incoming.push_back(line.substr(eq + 1));
      } else {
        current.values[key] = line.substr(eq + 1);
      }
    }
  }
  return records;
}

std::vector<StandInRecord> WaitForStandIn(const std::wstring& path, size_t count, DWORD milliseconds) {
  std::vector<StandInRecord> records;
  WaitUntil([&] {
    records = ReadStandInLog(path);
    return records.size() >= count;
  }, milliseconds);
  return records;
}

MutexHolder::MutexHolder() : handle_(CreateMutexW(nullptr, FALSE, L"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}")) {}
MutexHolder::~MutexHolder() {
  if (handle_) CloseHandle(handle_);
}

}  // namespace e2e
