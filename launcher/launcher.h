#pragma once
// The launcher's process-wide objects, in the order they are constructed, and
// the steps of a start.
#include <cstdint>

#include "disk/disk_object.h"
#include "handoff/tokenizer.h"
#include "launcher/boot_file.h"

inline constexpr WStringView kInstanceMutexName = u"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}";

// The single-instance guard: a named mutex created at start-up. It is never
// owned or waited on; only whether it existed already counts.
class InstanceMutex {
 public:
  InstanceMutex();
  ~InstanceMutex();
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;

  uint32_t mutex_error = 0;
  uintptr_t mutex_handle = 0;
};

struct LauncherProcess {
  LaunchSettings settings;
  InstanceMutex instance_mutex;
  CDiskObject disk_object;
  CStringArray import_list;
};

// A box titled "Error" with the message, the step that failed, the code and
// its system text, then the end of the process with the code (1 for 0).
[[noreturn]] void reportFatalError(const WString& message, const WChar* context, uint32_t code);
// Reads the boot file into the settings, or ends through the fatal box.
void parseConfigFile(const WString& boot_path, LaunchSettings& settings);
// Appends a heap limit to default_options unless they set one.
void addDefaultHeapSize(LaunchSettings& settings);
// Sets java_home, use_jrehome and class_path, or ends through the fatal box.
void checkLaunchEnvironment(LaunchSettings& settings, CDiskObject& disk);
// Starts the Java runtime on the application and waits until it ends, so the
// launcher (and with it the guard) lives as long as the application. Without
// a Java home, javaw is looked for where the system would look, own_folder
// first, except the current folder: a shell-started launcher's current folder
// is the opened document's, where anybody may have left a javaw.exe.
void launchJava(const LaunchSettings& settings, const WString& own_folder);
// Copies the documents into the user's incoming folder; silent.
void HandOffDocuments(const CStringArray& import_list, CDiskObject& disk);

// The body of WinMain: given the whole command line, returns the exit code.
int RunLauncher(LauncherProcess& process, WStringView command_line);
