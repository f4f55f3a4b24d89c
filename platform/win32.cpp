// The real layer: each operation makes the Win32 calls that apply a value,
// and nothing more. The only file that includes windows.h.
#include <shlobj.h>
#include <windows.h>

// The layer's own names, not the character-set macros.
#undef CopyFile
#undef CreateDirectory
#undef CreateMutex
#undef DeleteFile
#undef MoveFile
#undef SearchPath

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
  return module
             ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
             : nullptr;
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

uintptr_t CreateMutex(const WString& name, uint32_t* error) {
  HANDLE mutex = Fails("CreateMutexW") ? nullptr : ::CreateMutexW(nullptr, FALSE, W(name));
  *error = ::GetLastError();
  return reinterpret_cast<uintptr_t>(mutex);
}

void CloseHandle(uintptr_t handle) { ::CloseHandle(reinterpret_cast<HANDLE>(handle)); }

uint32_t ReadFile(const WString& path, std::string* bytes) {
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
  DWORD read = 0;
  while (!Fails("ReadFile") && ::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) &&
         read > 0)
    bytes->append(buffer, read);
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

uint32_t CreateDirectory(const WString& path) {
  return Fails("CreateDirectoryW") || !::CreateDirectoryW(W(path), nullptr) ? ::GetLastError() : 0;
}

uint32_t CopyFile(const WString& source, const WString& target) {
  return Fails("CopyFileW") || !::CopyFileW(W(source), W(target), FALSE) ? ::GetLastError() : 0;
}

uint32_t MoveFile(const WString& source, const WString& target) {
  return Fails("MoveFileExW") || !::MoveFileExW(W(source), W(target), MOVEFILE_REPLACE_EXISTING)
             ? ::GetLastError()
             : 0;
}

void DeleteFile(const WString& path) {
  if (!Fails("DeleteFileW")) ::DeleteFileW(W(path));
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

uint32_t ProcessId() { return ::GetCurrentProcessId(); }

void SearchFolders(WString* system, WString* windows, WString* path_variable) {
  Query(system, [](wchar_t* buffer, DWORD size) {
    return Fails("GetSystemDirectoryW") ? 0 : ::GetSystemDirectoryW(buffer, size);
  });
  Query(windows, [](wchar_t* buffer, DWORD size) {
    return Fails("GetWindowsDirectoryW") ? 0 : ::GetWindowsDirectoryW(buffer, size);
  });
  Query(path_variable, [](wchar_t* buffer, DWORD size) {
    return Fails("GetEnvironmentVariableW") ? 0 : ::GetEnvironmentVariableW(L"PATH", buffer, size);
  });
}

uint32_t SearchPath(const WString& search_path, const WString& name, WString* found) {
  return Query(found, [&](wchar_t* buffer, DWORD size) {
    return Fails("SearchPathW")
               ? 0
               : ::SearchPathW(W(search_path), W(name), L".exe", size, buffer, nullptr);
  });
}

uint32_t RunAndWait(const WString& program, const WString& command_line, const WString& directory) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
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
                                                   &process))
    return ::GetLastError();
  ScopedHandle process_handle(process.hProcess);
  ScopedHandle thread_handle(process.hThread);
  if (!Fails("WaitForSingleObject")) ::WaitForSingleObject(process.hProcess, INFINITE);
  return 0;
}

uint64_t PhysicalMemory() {
  MEMORYSTATUS status = {};
  status.dwLength = sizeof status;
  if (!Fails("GlobalMemoryStatus")) ::GlobalMemoryStatus(&status);
  return status.dwTotalPhys;
}

WString SystemText(uint32_t code) {
  wchar_t* text = nullptr;
  if (Fails("FormatMessageW") ||
      !::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM,
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

void WriteRegistry(const std::vector<RegistryWrite>& writes) {
  for (const RegistryWrite& write : writes) {
    HKEY key = nullptr;
    if (Fails("RegCreateKeyExW") || ::RegCreateKeyExW(HKEY_CLASSES_ROOT,
                                                      W(write.key),
                                                      0,
                                                      nullptr,
                                                      REG_OPTION_NON_VOLATILE,
                                                      KEY_SET_VALUE,
                                                      nullptr,
                                                      &key,
                                                      nullptr) != ERROR_SUCCESS)
      continue;
    const DWORD size = static_cast<DWORD>((write.data.size() + 1) * sizeof(WChar));
    if (!Fails("RegSetValueExW"))
      ::RegSetValueExW(
          key, L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(write.data.c_str()), size);
    if (write.delete_command && !Fails("RegDeleteValueW")) ::RegDeleteValueW(key, L"command");
    ::RegCloseKey(key);
  }
}

}  // namespace os
