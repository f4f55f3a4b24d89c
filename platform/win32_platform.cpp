// The real layer: each operation is the Win32 call and nothing more.
#include <windows.h>
#include <shlobj.h>

#undef GetModuleFileName
#undef GetCommandLine
#undef CreateProcess
#undef CreateMutex
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef CreateDirectory
#undef CopyFile
#undef DeleteFile
#undef SearchPath
#undef MessageBox

#include "platform/platform.h"

namespace {

static_assert(sizeof(WChar) == sizeof(wchar_t));

// user32 and shell32 are loaded on first use: a start that shows no box and
// hands no document over never pays for them (loading user32 also makes the
// process a GUI process, which costs more again).
template <typename Function>
Function LoadOnDemand(const wchar_t* library, const char* name) {
  HMODULE module = ::LoadLibraryW(library);
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

wchar_t* W(WChar* text) { return reinterpret_cast<wchar_t*>(text); }
const wchar_t* W(const WChar* text) { return reinterpret_cast<const wchar_t*>(text); }
HANDLE H(Handle handle) { return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle)); }
Handle ToHandle(HANDLE handle) { return Handle{reinterpret_cast<std::uintptr_t>(handle)}; }
HKEY K(RegKey key) { return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key)); }
RegKey ToKey(HKEY key) { return RegKey{reinterpret_cast<std::uintptr_t>(key)}; }

// A text from a call that answers its length, or the size it needs when the
// buffer is too small; empty when the call fails.
template <typename Call>
WString Query(Call call) {
  WString text(MAX_PATH, u'\0');
  for (;;) {
    DWORD length = call(W(text.data()), static_cast<DWORD>(text.size()));
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.assign(length, u'\0');
  }
}

class Win32Platform final : public Platform {
 public:
  uint32_t GetModuleFileName(WChar* buffer, uint32_t size) override {
    return ::GetModuleFileNameW(nullptr, W(buffer), size);
  }

  const WChar* GetCommandLine() override { return reinterpret_cast<const WChar*>(::GetCommandLineW()); }

  bool CreateProcess(const WChar* application_name, WChar* command_line, bool inherit_handles,
                     uint32_t creation_flags, const WChar* current_directory, ProcessInformation* info) override {
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    BOOL ok = ::CreateProcessW(W(application_name), W(command_line), nullptr, nullptr, inherit_handles ? TRUE : FALSE,
                               creation_flags, nullptr, W(current_directory), &startup, &process);
    if (!ok) return false;
    info->process = ToHandle(process.hProcess);
    info->thread = ToHandle(process.hThread);
    info->process_id = process.dwProcessId;
    info->thread_id = process.dwThreadId;
    return true;
  }

  uint32_t GetCurrentProcessId() override { return ::GetCurrentProcessId(); }

  void GetSearchFolders(WString* system_folder, WString* windows_folder, WString* path_variable) override {
    *system_folder = Query([](wchar_t* buffer, DWORD size) { return ::GetSystemDirectoryW(buffer, size); });
    *windows_folder = Query([](wchar_t* buffer, DWORD size) { return ::GetWindowsDirectoryW(buffer, size); });
    *path_variable = Query([](wchar_t* buffer, DWORD size) { return ::GetEnvironmentVariableW(L"PATH", buffer, size); });
  }

  bool SearchPath(const WChar* search_path, const WChar* name, const WChar* extension, WString* found) override {
    DWORD size = MAX_PATH;
    for (;;) {
      found->assign(size, u'\0');
      DWORD length = ::SearchPathW(W(search_path), W(name), W(extension), size, W(found->data()), nullptr);
      if (length == 0) return false;
      if (length < size) {
        found->resize(length);
        return true;
      }
      size = length;
    }
  }

  uint32_t WaitForSingleObject(Handle handle, uint32_t milliseconds) override {
    return ::WaitForSingleObject(H(handle), milliseconds);
  }

  bool CloseHandle(Handle handle) override { return ::CloseHandle(H(handle)) != 0; }

  [[noreturn]] void ExitProcess(uint32_t exit_code) override { ::ExitProcess(exit_code); }

  Handle CreateMutex(const WChar* name) override { return ToHandle(::CreateMutexW(nullptr, FALSE, W(name))); }

  uint32_t GetLastError() override { return ::GetLastError(); }
  void SetLastError(uint32_t code) override { ::SetLastError(code); }

  Handle OpenFileForReading(const WChar* path) override {
    HANDLE file = ::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? kNullHandle : ToHandle(file);
  }

  bool ReadFile(Handle file, void* buffer, uint32_t size, uint32_t* bytes_read) override {
    DWORD read = 0;
    BOOL ok = ::ReadFile(H(file), buffer, size, &read, nullptr);
    *bytes_read = read;
    return ok != 0;
  }

  uint32_t GetCurrentDirectory(uint32_t size, WChar* buffer) override {
    return ::GetCurrentDirectoryW(size, W(buffer));
  }
  bool SetCurrentDirectory(const WChar* path) override { return ::SetCurrentDirectoryW(W(path)) != 0; }
  bool CreateDirectory(const WChar* path) override { return ::CreateDirectoryW(W(path), nullptr) != 0; }
  bool CopyFile(const WChar* existing, const WChar* target, bool fail_if_exists) override {
    return ::CopyFileW(W(existing), W(target), fail_if_exists ? TRUE : FALSE) != 0;
  }

  bool MoveFileReplacing(const WChar* existing, const WChar* target) override {
    return ::MoveFileExW(W(existing), W(target), MOVEFILE_REPLACE_EXISTING) != 0;
  }
  bool DeleteFile(const WChar* path) override { return ::DeleteFileW(W(path)) != 0; }

  bool FormatSystemMessage(uint32_t code, WString* text) override {
    wchar_t* message = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                                    MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&message),
                                    0, nullptr);
    if (length == 0 || !message) {
      text->clear();
      return false;
    }
    text->assign(reinterpret_cast<const WChar*>(message), length);
    ::LocalFree(message);
    return true;
  }

  int MessageBox(const WChar* text, const WChar* caption, uint32_t style) override {
    using MessageBoxFunction = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
    static MessageBoxFunction show = LoadOnDemand<MessageBoxFunction>(L"user32.dll", "MessageBoxW");
    return show ? show(nullptr, W(text), W(caption), style) : 0;
  }

  uint64_t GetTotalPhysicalMemory() override {
    MEMORYSTATUS status;
    ZeroMemory(&status, sizeof status);
    status.dwLength = sizeof status;
    ::GlobalMemoryStatus(&status);
    return status.dwTotalPhys;
  }

  bool GetSpecialFolderPath(WChar* buffer, int csidl, bool create) override {
    using FolderFunction = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
    static FolderFunction folder = LoadOnDemand<FolderFunction>(L"shell32.dll", "SHGetSpecialFolderPathW");
    return folder && folder(nullptr, W(buffer), csidl, create ? TRUE : FALSE) != 0;
  }

  int32_t RegCreateKeyEx(RegKey root, const WChar* sub_key, uint32_t options, uint32_t access, RegKey* result,
                         uint32_t* disposition) override {
    HKEY key = nullptr;
    DWORD how = 0;
    LONG status = ::RegCreateKeyExW(K(root), W(sub_key), 0, nullptr, options, access, nullptr, &key, &how);
    if (status != ERROR_SUCCESS) return status;
    *result = ToKey(key);
    if (disposition) *disposition = how;
    return status;
  }

  int32_t RegSetValueEx(RegKey key, const WChar* value_name, uint32_t type, const uint8_t* data,
                        uint32_t size) override {
    return ::RegSetValueExW(K(key), W(value_name), 0, type, data, size);
  }

  int32_t RegDeleteValue(RegKey key, const WChar* value_name) override {
    return ::RegDeleteValueW(K(key), W(value_name));
  }

  int32_t RegCloseKey(RegKey key) override { return ::RegCloseKey(K(key)); }

  int32_t RegQueryValue(RegKey root, const WChar* sub_key, const WChar* value_name, uint32_t* type,
                        std::vector<uint8_t>* data) override {
    HKEY key = nullptr;
    LONG status = ::RegOpenKeyExW(K(root), W(sub_key), 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS) return status;
    DWORD kind = 0;
    DWORD size = 0;
    status = ::RegQueryValueExW(key, W(value_name), nullptr, &kind, nullptr, &size);
    if (status == ERROR_SUCCESS) {
      data->resize(size);
      status = ::RegQueryValueExW(key, W(value_name), nullptr, &kind, size ? data->data() : nullptr, &size);
      data->resize(size);
      *type = kind;
    }
    ::RegCloseKey(key);
    return status;
  }
};

}  // namespace

Platform* Win32PlatformInstance() {
  static Win32Platform instance;
  return &instance;
}
