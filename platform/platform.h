#pragma once
// The thin layer of operating-system calls the launcher needs. Abstract so it
// can be swapped for an in-memory emulation in tests; the Win32 implementation
// makes the real calls and nothing more. No policy lives here.
#include <cstdint>
#include <vector>

#include "platform/wide.h"

enum class Handle : std::uintptr_t {};
enum class RegKey : std::uintptr_t {};

inline constexpr Handle kNullHandle{};
inline constexpr RegKey kNullKey{};
inline constexpr RegKey kHKeyClassesRoot{0x80000000u};
inline constexpr RegKey kHKeyCurrentUser{0x80000001u};

// System error codes, as Windows gives them.
namespace err {
inline constexpr uint32_t kSuccess = 0;
inline constexpr uint32_t kFileNotFound = 2;
inline constexpr uint32_t kPathNotFound = 3;
inline constexpr uint32_t kAccessDenied = 5;
inline constexpr uint32_t kInvalidHandle = 6;
inline constexpr uint32_t kNotEnoughMemory = 8;
inline constexpr uint32_t kSharingViolation = 32;
inline constexpr uint32_t kBadNetPath = 53;
inline constexpr uint32_t kFileExists = 80;
inline constexpr uint32_t kInvalidParameter = 87;
inline constexpr uint32_t kInsufficientBuffer = 122;
inline constexpr uint32_t kInvalidName = 123;
inline constexpr uint32_t kAlreadyExists = 183;
inline constexpr uint32_t kFilenameExcedRange = 206;
inline constexpr uint32_t kMoreData = 234;
inline constexpr uint32_t kDirectory = 267;
inline constexpr uint32_t kInvalidArgHResult = 0x80070057u;
}  // namespace err

// Message box styles and results.
inline constexpr uint32_t kMbOk = 0x0;
inline constexpr uint32_t kMbIconError = 0x10;
inline constexpr int kIdOk = 1;

// Process creation flags.
inline constexpr uint32_t kCreateNoWindow = 0x08000000u;
inline constexpr uint32_t kNormalPriorityClass = 0x00000020u;
inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;
inline constexpr uint32_t kWaitObject0 = 0;
inline constexpr uint32_t kWaitFailed = 0xFFFFFFFFu;

// Registry.
inline constexpr uint32_t kRegOptionNonVolatile = 0;
inline constexpr uint32_t kKeySetValue = 0x0002;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegCreatedNewKey = 1;
inline constexpr uint32_t kRegOpenedExistingKey = 2;

// Shell folders.
inline constexpr int kCsidlAppData = 0x1A;

inline constexpr uint32_t kMaxPath = 260;

struct ProcessInformation {
  Handle process = kNullHandle;
  Handle thread = kNullHandle;
  uint32_t process_id = 0;
  uint32_t thread_id = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Process and module.
  // Writes the executable's path, truncated to size - 1 characters and
  // terminated; returns its length, or size with ERROR_INSUFFICIENT_BUFFER
  // when it did not fit, or 0 on failure.
  virtual uint32_t GetModuleFileName(WChar* buffer, uint32_t size) = 0;
  virtual const WChar* GetCommandLine() = 0;
  // A zeroed start-up record of the right size, no security attributes, no
  // environment block of its own. With an application name the system runs
  // that file and searches for nothing.
  virtual bool CreateProcess(const WChar* application_name, WChar* command_line, bool inherit_handles,
                             uint32_t creation_flags, const WChar* current_directory, ProcessInformation* info) = 0;
  virtual uint32_t GetCurrentProcessId() = 0;
  // The folders a program started by bare name is looked for in, besides the
  // executable's own: the system folder, the Windows folder and the PATH
  // variable's text (empty when unset).
  virtual void GetSearchFolders(WString* system_folder, WString* windows_folder, WString* path_variable) = 0;
  // The first file named name (extension added when it has none) in the
  // ';'-separated folders of search_path; false with the system's code set.
  virtual bool SearchPath(const WChar* search_path, const WChar* name, const WChar* extension, WString* found) = 0;
  virtual uint32_t WaitForSingleObject(Handle handle, uint32_t milliseconds) = 0;
  virtual bool CloseHandle(Handle handle) = 0;
  [[noreturn]] virtual void ExitProcess(uint32_t exit_code) = 0;

  // Named mutex: default security, not owned. The last error tells whether it
  // existed already (183).
  virtual Handle CreateMutex(const WChar* name) = 0;

  // Thread's last error.
  virtual uint32_t GetLastError() = 0;
  virtual void SetLastError(uint32_t code) = 0;

  // Files. The boot file is opened for reading with sharing that denies nothing.
  virtual Handle OpenFileForReading(const WChar* path) = 0;
  virtual bool ReadFile(Handle file, void* buffer, uint32_t size, uint32_t* bytes_read) = 0;
  virtual uint32_t GetCurrentDirectory(uint32_t size, WChar* buffer) = 0;
  virtual bool SetCurrentDirectory(const WChar* path) = 0;
  virtual bool CreateDirectory(const WChar* path) = 0;
  virtual bool CopyFile(const WChar* existing, const WChar* target, bool fail_if_exists) = 0;
  // Renames within a volume, replacing an existing target.
  virtual bool MoveFileReplacing(const WChar* existing, const WChar* target) = 0;
  virtual bool DeleteFile(const WChar* path) = 0;

  // System texts and dialogs. The text is the system's own, in the user's
  // default language, as delivered (with its trailing line break); false when
  // the system has none for the code.
  virtual bool FormatSystemMessage(uint32_t code, WString* text) = 0;
  virtual int MessageBox(const WChar* text, const WChar* caption, uint32_t style) = 0;

  // Total physical memory in bytes.
  virtual uint64_t GetTotalPhysicalMemory() = 0;

  // Shell: a known folder into a buffer of kMaxPath characters.
  virtual bool GetSpecialFolderPath(WChar* buffer, int csidl, bool create) = 0;

  // Registry; results are Win32 status codes (0 on success).
  virtual int32_t RegCreateKeyEx(RegKey root, const WChar* sub_key, uint32_t options, uint32_t access,
                                 RegKey* result, uint32_t* disposition) = 0;
  virtual int32_t RegSetValueEx(RegKey key, const WChar* value_name, uint32_t type, const uint8_t* data,
                                uint32_t size) = 0;
  virtual int32_t RegDeleteValue(RegKey key, const WChar* value_name) = 0;
  virtual int32_t RegCloseKey(RegKey key) = 0;
  // Reads a value back without expanding it (for checks, not used by the launcher).
  virtual int32_t RegQueryValue(RegKey root, const WChar* sub_key, const WChar* value_name, uint32_t* type,
                                std::vector<uint8_t>* data) = 0;
};

// The platform every subsystem calls. On Windows it is the Win32 layer unless
// a test installs another; on the host a test must install one.
Platform& platform();
// Installs a replacement (nullptr: the default) and answers the one before.
Platform* SetPlatform(Platform* replacement);

// The real layer (only on Windows builds).
Platform* Win32PlatformInstance();
