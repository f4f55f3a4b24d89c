// The real layer: each operation makes the Win32 calls that apply a value,
// and nothing more. The only file that includes windows.h.
#include <shlobj.h>
#include <windows.h>

#include "platform/platform.h"

namespace {

os::FaultHook g_fault_hook = nullptr;

// True, with the thread's last error set, when a test makes this call fail.
bool Fails(const char* call) {
  const uint32_t code = g_fault_hook ? g_fault_hook(call) : 0;
  if (code) ::SetLastError(code);
  return code != 0;
}

const wchar_t* W(const WString& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle)
      : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~ScopedHandle() {
    if (handle_) ::CloseHandle(handle_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// A text from a call that answers its length, or the size it needs when the
// buffer is too small, or 0 when it fails.
template <typename Call>
uint32_t Query(WString* text, Call call) {
  text->assign(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length =
        call(reinterpret_cast<wchar_t*>(text->data()), static_cast<DWORD>(text->size()));
    if (length == 0) {
      const DWORD code = ::GetLastError();
      text->clear();
      return code;
    }
    if (length < text->size()) {
      text->resize(length);
      return 0;
    }
    text->assign(length, u'\0');
  }
}

// user32 and shell32 are loaded on first use: a start that shows no box and
// hands no document over never pays for them.
template <typename Function>
Function Load(const wchar_t* library, const char* name) {
  HMODULE module = Fails("LoadLibraryW") ? nullptr : ::LoadLibraryW(library);
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

namespace os {

void SetFaultHook(FaultHook hook) { g_fault_hook = hook; }

uint32_t ModulePath(WString* path) {
  // GetModuleFileNameW answers the buffer's size when the path is cut.
  for (DWORD size = 2600;; size *= 2) {
    path->assign(size, u'\0');
    const DWORD length =
        Fails("GetModuleFileNameW")
            ? 0
            : ::GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(path->data()), size);
    if (length == 0) {
      const DWORD code = ::GetLastError();
      path->clear();
      return code;
    }
    if (length < size) {
      path->resize(length);
      return 0;
    }
  }
}

WString CommandLine() { return reinterpret_cast<const WChar*>(::GetCommandLineW()); }

WString EnvironmentVariable(const WString& name) {
  WString value;
  Query(&value, [&](wchar_t* buffer, DWORD size) {
    return Fails("GetEnvironmentVariableW") ? 0 : ::GetEnvironmentVariableW(W(name), buffer, size);
  });
  return value;
}

uint32_t ProcessId() { return ::GetCurrentProcessId(); }

uintptr_t CreateNamedMutex(const WString& name, uint32_t* error) {
  HANDLE mutex = Fails("CreateMutexW") ? nullptr : ::CreateMutexW(nullptr, FALSE, W(name));
  *error = ::GetLastError();
  return reinterpret_cast<uintptr_t>(mutex);
}

uint32_t ReadFile(const WString& path, std::string* bytes, uint32_t* read_error) {
  ScopedHandle file(Fails("CreateFileW")
                        ? INVALID_HANDLE_VALUE
                        : ::CreateFileW(W(path),
                                        GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr,
                                        OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
  if (!file.get()) return ::GetLastError();
  char buffer[4096];
  for (;;) {
    DWORD read = 0;
    if (Fails("ReadFile") || !::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
      *read_error = ::GetLastError();
      return 0;
    }
    if (read == 0) break;
    bytes->append(buffer, read);
  }
  *read_error = 0;
  return 0;
}

uint32_t CurrentDirectory(WString* directory) {
  return Query(directory, [](wchar_t* buffer, DWORD size) {
    return Fails("GetCurrentDirectoryW") ? 0 : ::GetCurrentDirectoryW(size, buffer);
  });
}

uint32_t EnterDirectory(const WString& path) {
  // Entering opens the folder for traversal; so does this, without moving the
  // process's current directory.
  ScopedHandle folder(Fails("CreateFileW")
                          ? INVALID_HANDLE_VALUE
                          : ::CreateFileW(W(path),
                                          FILE_TRAVERSE | SYNCHRONIZE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr,
                                          OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS,
                                          nullptr));
  if (!folder.get()) return ::GetLastError();
  BY_HANDLE_FILE_INFORMATION information;
  if (Fails("GetFileInformationByHandle") ||
      !::GetFileInformationByHandle(folder.get(), &information))
    return ::GetLastError();
  return (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ERROR_DIRECTORY;
}

uint32_t ChangeDirectory(const WString& path) {
  return Fails("SetCurrentDirectoryW") || !::SetCurrentDirectoryW(W(path)) ? ::GetLastError() : 0;
}

void MakeDirectory(const WString& path) {
  if (!Fails("CreateDirectoryW")) ::CreateDirectoryW(W(path), nullptr);
}

uint32_t Copy(const WString& source, const WString& target) {
  if (Fails("CopyFileW") || !::CopyFileW(W(source), W(target), FALSE)) return ::GetLastError();
  if (Fails("SetFileAttributesW") || !::SetFileAttributesW(W(target), FILE_ATTRIBUTE_NORMAL))
    return ::GetLastError();
  return 0;
}

uint32_t Rename(const WString& source, const WString& target, bool copy_allowed) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | (copy_allowed ? MOVEFILE_COPY_ALLOWED : 0);
  return Fails("MoveFileExW") || !::MoveFileExW(W(source), W(target), flags) ? ::GetLastError() : 0;
}

uint32_t Remove(const WString& path) {
  if (!Fails("SetFileAttributesW")) ::SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
  return Fails("DeleteFileW") || !::DeleteFileW(W(path)) ? ::GetLastError() : 0;
}

std::vector<WString> FileNames(const WString& folder) {
  std::vector<WString> names;
  WIN32_FIND_DATAW found;
  HANDLE find =
      Fails("FindFirstFileW") ? INVALID_HANDLE_VALUE : ::FindFirstFileW(W(folder + u"*"), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.push_back(reinterpret_cast<const WChar*>(found.cFileName));
  } while (!Fails("FindNextFileW") && ::FindNextFileW(find, &found));
  ::FindClose(find);
  return names;
}

bool ProcessRuns(uint32_t process_id) {
  ScopedHandle process(Fails("OpenProcess") ? nullptr
                                            : ::OpenProcess(SYNCHRONIZE, FALSE, process_id));
  // An id no process has is refused as a parameter; any other refusal (a
  // process of another user, say) is of a process that runs.
  if (!process.get()) return ::GetLastError() != ERROR_INVALID_PARAMETER;
  return Fails("WaitForSingleObject") || ::WaitForSingleObject(process.get(), 0) != WAIT_OBJECT_0;
}

WString AppDataFolder() {
  using Function = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
  static const Function get_folder = Load<Function>(L"shell32.dll", "SHGetSpecialFolderPathW");
  wchar_t buffer[MAX_PATH] = {};
  if (!get_folder || Fails("SHGetSpecialFolderPathW") ||
      !get_folder(nullptr, buffer, CSIDL_APPDATA, FALSE))
    return u"";
  buffer[MAX_PATH - 1] = 0;
  return reinterpret_cast<const WChar*>(buffer);
}

void SystemFolders(WString* system, WString* windows) {
  Query(system, [](wchar_t* buffer, DWORD size) {
    return Fails("GetSystemDirectoryW") ? 0 : ::GetSystemDirectoryW(buffer, size);
  });
  Query(windows, [](wchar_t* buffer, DWORD size) {
    return Fails("GetWindowsDirectoryW") ? 0 : ::GetWindowsDirectoryW(buffer, size);
  });
}

uint32_t FindProgram(const WString& search_path, const WString& name, WString* found) {
  return Query(found, [&](wchar_t* buffer, DWORD size) {
    return Fails("SearchPathW")
               ? 0
               : ::SearchPathW(W(search_path), W(name), L".exe", size, buffer, nullptr);
  });
}

uint32_t StartProcess(const WString& program,
                      const WString& command_line,
                      const WString& directory,
                      uintptr_t* process) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  WString writable = command_line;  // the system may write into it
  if (Fails("CreateProcessW") || !::CreateProcessW(program.empty() ? nullptr : W(program),
                                                   reinterpret_cast<wchar_t*>(writable.data()),
                                                   nullptr,
                                                   nullptr,
                                                   TRUE,
                                                   CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS,
                                                   nullptr,
                                                   W(directory),
                                                   &startup,
                                                   &started))
    return ::GetLastError();
  ::CloseHandle(started.hThread);
  *process = reinterpret_cast<uintptr_t>(started.hProcess);
  return 0;
}

uint32_t WaitForExit(uintptr_t process, uint32_t* exit_code) {
  ScopedHandle handle(reinterpret_cast<HANDLE>(process));
  DWORD code = 0;
  if (Fails("WaitForSingleObject") || ::WaitForSingleObject(handle.get(), INFINITE) == WAIT_FAILED)
    return ::GetLastError();
  if (Fails("GetExitCodeProcess") || !::GetExitCodeProcess(handle.get(), &code))
    return ::GetLastError();
  *exit_code = code;
  return 0;
}

uint64_t PhysicalMemory() {
  MEMORYSTATUS status = {};
  status.dwLength = sizeof status;
  if (!Fails("GlobalMemoryStatus")) ::GlobalMemoryStatus(&status);
  return status.dwTotalPhys;
}

uint32_t CodePage() { return ::GetACP(); }

WString ThroughCodePage(const WString& text) {
  std::string narrow(text.size() * 3, '\0');  // a UTF-16 unit takes at most 3 bytes
  const int bytes = Fails("WideCharToMultiByte")
                        ? 0
                        : ::WideCharToMultiByte(CP_ACP,
                                                0,
                                                W(text),
                                                static_cast<int>(text.size()),
                                                narrow.data(),
                                                static_cast<int>(narrow.size()),
                                                nullptr,
                                                nullptr);
  if (bytes == 0) return text;
  WString received(bytes, u'\0');
  received.resize(::MultiByteToWideChar(
      CP_ACP, 0, narrow.data(), bytes, reinterpret_cast<wchar_t*>(received.data()), bytes));
  return received;
}

uint32_t ShortPath(const WString& path, WString* short_path) {
  return Query(short_path, [&](wchar_t* buffer, DWORD size) {
    return Fails("GetShortPathNameW") ? 0 : ::GetShortPathNameW(W(path), buffer, size);
  });
}

WString SystemText(uint32_t code) {
  wchar_t* text = nullptr;
  if (Fails("FormatMessageW") ||
      !::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                            FORMAT_MESSAGE_IGNORE_INSERTS,
                        nullptr,
                        code,
                        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                        reinterpret_cast<LPWSTR>(&text),
                        0,
                        nullptr))
    return WString();
  WString result = reinterpret_cast<const WChar*>(text);
  ::LocalFree(text);
  return result;
}

void ShowBox(const WString& text, uint32_t style) {
  using Function = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
  static const Function show = Load<Function>(L"user32.dll", "MessageBoxW");
  if (show && !Fails("MessageBoxW")) show(nullptr, W(text), L"Error", style);
}

void Exit(uint32_t code) { ::ExitProcess(code); }

uint32_t WriteRegistry(const RegistryWrite& write) {
  if (Fails(write.remove_command ? "RegDeleteKeyValueW" : "RegSetKeyValueW"))
    return ::GetLastError();
  if (write.remove_command)
    return ::RegDeleteKeyValueW(HKEY_CLASSES_ROOT, W(write.key), L"command");
  const DWORD size = static_cast<DWORD>((write.data.size() + 1) * sizeof(WChar));
  // Creates the key, and every missing key above it, as needed.
  return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, W(write.key), L"", REG_SZ, W(write.data), size);
}

uintptr_t OpenLog(const WString& path) {
  // Without write access, every write appends; reading lets the file be locked.
  HANDLE file = Fails("CreateFileW")
                    ? INVALID_HANDLE_VALUE
                    : ::CreateFileW(W(path),
                                    FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr,
                                    OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
  return file == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<uintptr_t>(file);
}

void AppendLog(uintptr_t log, const std::string& bytes) {
  HANDLE file = reinterpret_cast<HANDLE>(log);
  // Writers of one log take turns, holding a lock on a byte no line reaches:
  // under Wine an append is two steps, and two of them could land on one
  // offset. A writer that keeps its turn holds the others up a moment at most.
  OVERLAPPED turn = {};
  turn.Offset = 0xFFFFFFFE;
  turn.OffsetHigh = 0x7FFFFFFF;
  bool locked = false;
  for (int attempt = 0; attempt < 20 && !locked; ++attempt) {
    locked =
        !Fails("LockFileEx") &&
        ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &turn);
    if (!locked && ::GetLastError() != ERROR_LOCK_VIOLATION) break;
    if (!locked) ::Sleep(1);
  }
  DWORD written = 0;
  if (!Fails("WriteFile"))
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  if (locked && !Fails("UnlockFileEx")) ::UnlockFileEx(file, 0, 1, 0, &turn);
}

LocalTime Now() {
  SYSTEMTIME time = {};
  ::GetLocalTime(&time);
  return {time.wYear,
          time.wMonth,
          time.wDay,
          time.wHour,
          time.wMinute,
          time.wSecond,
          time.wMilliseconds};
}

}  // namespace os
