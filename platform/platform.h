#pragma once
// The thin layer of operating-system calls the launcher needs: each applies a
// value the launcher has computed, and holds no policy of its own. Calls that
// can fail answer 0 or the system's error code, taken right after the call
// that failed. Windows builds define these in win32.cpp; host tests link a
// recording fake instead.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Every path and text inside the launcher is UTF-16. char16_t keeps the code
// unit count identical on the host (where wchar_t is 32 bits) and on Windows.
using WChar = char16_t;
using WString = std::u16string;
using WStringView = std::u16string_view;

// The decimal text of a number, '-' before a negative one.
inline WString DecimalText(int64_t value) {
  WString digits;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do digits.insert(digits.begin(), static_cast<WChar>(u'0' + magnitude % 10));
  while (magnitude /= 10);
  return value < 0 ? u"-" + digits : digits;
}

// System error codes the launcher itself gives.
inline constexpr uint32_t kErrorInvalidName = 123;
inline constexpr uint32_t kErrorAlreadyExists = 183;
inline constexpr uint32_t kErrorFilenameTooLong = 206;

// Box styles.
inline constexpr uint32_t kBoxOk = 0x0;
inline constexpr uint32_t kBoxStopSign = 0x10;

// One default value below HKEY_CLASSES_ROOT, a REG_SZ with its terminator.
// With delete_command, a value named "command" of the same key goes after.
struct RegistryWrite {
  WString key;
  WString data;
  bool delete_command = false;
  bool operator==(const RegistryWrite&) const = default;
};

namespace os {

uint32_t ModulePath(WString* path);  // the executable's own, whole
WString CommandLine();               // the process's UTF-16 command line
// A named mutex, default security, not owned; *error is the thread's last
// error after the creation: 183 when it existed already, 0 when new.
uintptr_t CreateMutex(const WString& name, uint32_t* error);
void CloseHandle(uintptr_t handle);

// The file's bytes; a read error after the open ends the bytes there.
uint32_t ReadFile(const WString& path, std::string* bytes);
uint32_t CurrentDirectory(WString* directory);  // whole, whatever its length
// Whether the process could make path its current directory (without doing
// so): a missing folder, a file or a folder it may not enter gives the code
// that entering would give.
uint32_t EnterDirectory(const WString& path);
uint32_t CreateDirectory(const WString& path);
uint32_t CopyFile(const WString& source, const WString& target);  // replaces target
uint32_t MoveFile(const WString& source,
                  const WString& target);  // within a volume, replaces target
void DeleteFile(const WString& path);
WString AppDataFolder();  // the user's roaming application data; empty when the shell cannot tell
uint32_t ProcessId();

// The system folder, the Windows folder and the text of PATH (empty if unset).
void SearchFolders(WString* system, WString* windows, WString* path_variable);
// The first file name (extension added when it has none) in the ';'-separated
// folders of search_path, and nowhere else.
uint32_t SearchPath(const WString& search_path, const WString& name, WString* found);
// Starts the program (by its full path, or the one the command line names
// when program is empty) without a console window, inheriting handles and
// environment, in directory, and waits until it ends.
uint32_t RunAndWait(const WString& program, const WString& command_line, const WString& directory);

uint64_t PhysicalMemory();
WString SystemText(uint32_t code);  // as delivered, with its line break; empty when none
// A box titled "Error", owned by no window; returns when it is closed.
void ShowBox(const WString& text, uint32_t style);
[[noreturn]] void Exit(uint32_t code);  // at once: nothing else runs

// Each write below HKEY_CLASSES_ROOT in order, best effort: a key that cannot
// be created or opened skips that write only.
void WriteRegistry(const std::vector<RegistryWrite>& writes);

}  // namespace os

namespace os {

// For tests of a whole start under faults: when set, asked before every system
// call by its name; a code other than 0 makes that call fail with it.
using FaultHook = uint32_t (*)(const char* call);
void SetFaultHook(FaultHook hook);

}  // namespace os
