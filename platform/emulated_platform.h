#pragma once
// An in-memory stand-in for the Win32 layer, with the same observable
// behaviour where the launcher looks: error codes as Windows gives them, a file
// system with drive letters, \\server\share roots and one current directory, a
// registry tree, named mutexes shared between emulated processes, recorded
// message boxes and processes. Every call is logged, and any call can be made
// to fail with a chosen error code.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/emulated_machine.h"
#include "platform/platform.h"

enum class Op {
  GetModuleFileName,
  GetCommandLine,
  CreateProcess,
  WaitForSingleObject,
  CloseHandle,
  CreateMutex,
  OpenFileForReading,
  ReadFile,
  GetCurrentDirectory,
  SetCurrentDirectory,
  CreateDirectory,
  CopyFile,
  MoveFile,
  DeleteFile,
  SearchPath,
  FormatSystemMessage,
  MessageBox,
  GetTotalPhysicalMemory,
  GetSpecialFolderPath,
  RegCreateKeyEx,
  RegSetValueEx,
  RegDeleteValue,
  RegCloseKey,
  RegQueryValue,
};
const char* OpName(Op op);

// Thrown by the emulated ExitProcess: the process ends there and nothing after
// the call runs.
struct EmulatedExit {
  uint32_t exit_code;
};

struct RecordedBox {
  WString text;
  WString caption;
  uint32_t style;
};

struct RecordedProcess {
  WString command_line;
  WString current_directory;
  bool inherit_handles;
  uint32_t creation_flags;
  WString program;  // the file that runs, as the command line found it
  bool waited = false;
  bool process_handle_closed = false;
  bool thread_handle_closed = false;
};

class EmulatedPlatform final : public Platform {
 public:
  explicit EmulatedPlatform(std::shared_ptr<EmulatedMachine> machine = nullptr);
  ~EmulatedPlatform() override;

  EmulatedMachine& machine() { return *machine_; }
  std::shared_ptr<EmulatedMachine> shared_machine() { return machine_; }
  EmulatedFileSystem& fs();
  EmulatedRegistry& registry();

  // --- set-up for a test ---
  // The current directory, set directly (a test may give one longer than
  // SetCurrentDirectory accepts).
  void set_current_directory(WString path) { current_directory_ = std::move(path); }
  const WString& current_directory() const { return current_directory_; }
  void set_module_file_name(WString path) { module_file_name_ = std::move(path); }
  const WString& module_file_name() const { return module_file_name_; }
  void set_command_line(WString line) { command_line_ = std::move(line); }
  void set_total_physical_memory(uint64_t bytes) { total_physical_memory_ = bytes; }
  void set_special_folder(int csidl, WString path) { special_folders_[csidl] = std::move(path); }
  // System message texts; a code without one has no text (FormatSystemMessage fails).
  void set_system_message(uint32_t code, WString text) { system_messages_[code] = std::move(text); }
  void remove_system_message(uint32_t code) { system_messages_.erase(code); }
  // What CreateProcess does: it starts the file the command line names (error
  // 2 when there is none, 267 when the working directory is not a directory),
  // and the process has ended by the time it is waited for. A hook runs when
  // the wait begins (a test can start a second emulated launcher there, while
  // the first one waits).
  void set_on_wait(std::function<void(const RecordedProcess&)> hook) { on_wait_ = std::move(hook); }

  // --- failures ---
  // The nth call (1 = the next one) of op from now on fails with code.
  void FailNext(Op op, uint32_t code, int nth = 1);
  // Every call of op fails with code until cleared.
  // The nth counted call of any operation (1-based, counted from construction)
  // fails with code. GetLastError and SetLastError are not counted.
  void FailCallNumber(long n, uint32_t code);
  long call_count() const { return call_count_; }
  // Op of the nth counted call, when it happened.
  std::optional<Op> counted_op(long n) const;

  // --- what happened ---
  const std::vector<std::string>& log() const { return log_; }
  const std::vector<RecordedBox>& boxes() const { return boxes_; }
  const std::vector<RecordedProcess>& processes() const { return processes_; }
  std::optional<uint32_t> exit_code() const { return exit_code_; }
  size_t open_handle_count() const;
  size_t open_key_count() const;

  // --- Platform ---
  uint32_t GetModuleFileName(WChar* buffer, uint32_t size) override;
  const WChar* GetCommandLine() override;
  bool CreateProcess(const WChar* application_name, WChar* command_line, bool inherit_handles,
                     uint32_t creation_flags, const WChar* current_directory, ProcessInformation* info) override;
  uint32_t GetCurrentProcessId() override { return 4242; }
  void GetSearchFolders(WString* system_folder, WString* windows_folder, WString* path_variable) override;
  bool SearchPath(const WChar* search_path, const WChar* name, const WChar* extension, WString* found) override;
  bool MoveFileReplacing(const WChar* existing, const WChar* target) override;
  bool DeleteFile(const WChar* path) override;
  uint32_t WaitForSingleObject(Handle handle, uint32_t milliseconds) override;
  bool CloseHandle(Handle handle) override;
  [[noreturn]] void ExitProcess(uint32_t exit_code) override;
  Handle CreateMutex(const WChar* name) override;
  uint32_t GetLastError() override { return last_error_; }
  void SetLastError(uint32_t code) override { last_error_ = code; }
  Handle OpenFileForReading(const WChar* path) override;
  bool ReadFile(Handle file, void* buffer, uint32_t size, uint32_t* bytes_read) override;
  uint32_t GetCurrentDirectory(uint32_t size, WChar* buffer) override;
  bool SetCurrentDirectory(const WChar* path) override;
  bool CreateDirectory(const WChar* path) override;
  bool CopyFile(const WChar* existing, const WChar* target, bool fail_if_exists) override;
  bool FormatSystemMessage(uint32_t code, WString* text) override;
  int MessageBox(const WChar* text, const WChar* caption, uint32_t style) override;
  uint64_t GetTotalPhysicalMemory() override;
  bool GetSpecialFolderPath(WChar* buffer, int csidl, bool create) override;
  int32_t RegCreateKeyEx(RegKey root, const WChar* sub_key, uint32_t options, uint32_t access, RegKey* result,
                         uint32_t* disposition) override;
  int32_t RegSetValueEx(RegKey key, const WChar* value_name, uint32_t type, const uint8_t* data,
                        uint32_t size) override;
  int32_t RegDeleteValue(RegKey key, const WChar* value_name) override;
  int32_t RegCloseKey(RegKey key) override;
  int32_t RegQueryValue(RegKey root, const WChar* sub_key, const WChar* value_name, uint32_t* type,
                        std::vector<uint8_t>* data) override;

 private:
  enum class HandleKind { Mutex, File, Process, Thread };
  struct HandleEntry {
    explicit HandleEntry(HandleKind k) : kind(k) {}
    HandleKind kind;
    WString name;         // mutex name
    std::string content;  // file bytes
    size_t position = 0;
    size_t process_index = 0;
  };

  // Counts the call, logs it and returns the injected failure code, if any.
  std::optional<uint32_t> Enter(Op op, const std::string& detail);
  void Log(std::string line) { log_.push_back(std::move(line)); }
  Handle NewHandle(HandleEntry entry);
  HandleEntry* Find(Handle handle);

  std::shared_ptr<EmulatedMachine> machine_;
  uint32_t last_error_ = 0;
  WString current_directory_;
  WString module_file_name_ = u"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe";
  WString command_line_ = u"\"C:\\Program Files\\Ledgrix\\bin\\ledgrix.exe\"";
  uint64_t total_physical_memory_ = 1073741824ull;
  std::vector<WString> program_folders_ = {u"C:\\windows\\system32", u"C:\\windows"};
  std::map<int, WString> special_folders_;
  std::map<uint32_t, WString> system_messages_;
  std::function<void(const RecordedProcess&)> on_wait_;

  struct PendingFault {
    Op op;
    int remaining;  // calls of op still to pass before the failing one
    uint32_t code;
  };
  std::vector<PendingFault> pending_;
  std::map<long, uint32_t> by_number_;
  long call_count_ = 0;
  std::vector<Op> counted_ops_;

  std::vector<std::string> log_;
  std::vector<RecordedBox> boxes_;
  std::vector<RecordedProcess> processes_;
  std::optional<uint32_t> exit_code_;
  std::map<std::uintptr_t, HandleEntry> handles_;
  std::uintptr_t next_handle_ = 0x100;
};

// Installs an emulation as the platform for the life of the scope, then puts
// back the one installed before.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& replacement) : previous_(SetPlatform(&replacement)) {}
  ~ScopedPlatform() { SetPlatform(previous_); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};
