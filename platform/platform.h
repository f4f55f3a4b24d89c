#pragma once
// The thin layer of system calls the launcher needs: each applies a value the
// launcher has computed and holds no policy of its own. Calls that can fail
// answer 0 or the system's error code, taken right after the call that
// failed. platform/win32.cpp is the one implementation.
#include <cstdint>
#include <string>
#include <vector>

#include "base/system_values.h"

namespace os {

uint32_t ModulePath(WString* path);                // the executable's own, whole
WString CommandLine();                             // the process's UTF-16 command line
WString EnvironmentVariable(const WString& name);  // empty when unset
uint32_t ProcessId();

// A named mutex, default security, not owned; *error is the thread's last
// error after the creation: 183 when it existed already, 0 when new.
uintptr_t CreateNamedMutex(const WString& name, uint32_t* error);

// The file's bytes as far as they could be read; *read_error is the code of
// the read that failed, or 0 when the file was read to its end.
uint32_t ReadFile(const WString& path, std::string* bytes, uint32_t* read_error);
uint32_t CurrentDirectory(WString* directory);  // whole, whatever its length
// Whether the process could make path its current directory (without doing
// so): a missing folder, a file or a folder it may not enter gives the code
// that entering would give.
uint32_t EnterDirectory(const WString& path);
uint32_t ChangeDirectory(const WString& path);  // makes path the current directory
void MakeDirectory(const WString& path);        // whether it could is told by entering it
// Copies source over target; the copy is a normal file, whatever the
// source's attributes (a read-only copy could be neither replaced nor removed).
uint32_t Copy(const WString& source, const WString& target);
// Renames source to target, replacing it; with copy_allowed, also to another
// volume (by a copy, which a reader of target may see before it is whole).
uint32_t Rename(const WString& source, const WString& target, bool copy_allowed);
uint32_t Remove(const WString& path);                   // read-only or not
std::vector<WString> FileNames(const WString& folder);  // its files, not its folders
bool ProcessRuns(uint32_t process_id);                  // true also when the system will not tell
WString AppDataFolder();  // the user's roaming application data; empty when the shell cannot tell

// The system folder and the Windows folder; empty when the system cannot tell.
void SystemFolders(WString* system, WString* windows);
// The first file name (extension added when it has none) in the ';'-separated
// folders of search_path, and nowhere else.
uint32_t FindProgram(const WString& search_path, const WString& name, WString* found);
// Starts the program (by its full path, or the one the command line names
// when program is empty) without a console window, inheriting handles and
// environment, in directory.
uint32_t StartProcess(const WString& program,
                      const WString& command_line,
                      const WString& directory,
                      uintptr_t* process);
// Waits until the process ends and closes its handle.
uint32_t WaitForExit(uintptr_t process, uint32_t* exit_code);

uint64_t PhysicalMemory();

// The ANSI code page, through which a program that reads its command line
// narrow (as Java does) receives it.
uint32_t CodePage();
// The text as such a program receives it: each character the code page
// lacks as '?' or a look-alike; the text itself when it cannot be converted.
WString ThroughCodePage(const WString& text);
// The short (8.3) form of an existing file or folder.
uint32_t ShortPath(const WString& path, WString* short_path);
// As delivered, with its line break and any inserts (%1) as they stand; empty
// when the system has none.
WString SystemText(uint32_t code);
// A box titled "Error", owned by no window; returns when it is closed.
void ShowBox(const WString& text, uint32_t style);
[[noreturn]] void Exit(uint32_t code);  // at once: nothing else runs

uint32_t WriteRegistry(const RegistryWrite& write);

// A file opened for appending, shared with other processes for reading and
// writing; 0 when it cannot be opened.
uintptr_t OpenLog(const WString& path);
// One write at the end of the file, taking turns with other processes (each
// waits a moment at most); a failure is ignored.
void AppendLog(uintptr_t log, const std::string& bytes);
LocalTime Now();

// For tests of a whole start under faults: when set, asked before every system
// call by its name; a code other than 0 makes that call fail with it.
using FaultHook = uint32_t (*)(const char* call);
void SetFaultHook(FaultHook hook);

}  // namespace os
