#pragma once
// The steps of a start, and the single-instance guard.
#include <cstdint>

#include "launcher/boot_file.h"
#include "launcher/java_launch.h"

inline constexpr WStringView kInstanceMutexName = u"Global\\{5CAEEBEC-BE74-45be-A84C-611022470DE3}";

// The single-instance guard: a named mutex, created before anything else
// runs. It is never owned or waited on; only whether it existed already
// counts. The system closes it with the process.
class InstanceGuard {
 public:
  InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  uint32_t creation_error = 0;  // 183 when another launcher holds the mutex
  uintptr_t handle = 0;         // held until the process ends
};

// A box titled "Error" with the message, the step that failed, the code and
// its system text, then the end of the process with the code (1 for 0).
[[noreturn]] void ReportFatalError(const WString& message, WStringView step, uint32_t code);
// The boot file's settings, or the end through the fatal box.
BootSettings ReadBootFile(const WString& boot_path);
// Writes the document types' registration, best effort: a write the registry
// refuses is skipped, and nothing is reported.
void RegisterDocumentTypes(const WString& executable_path);
// The Java start the settings make, their folders anchored at the
// installation root, once the installation folder and the Java home are
// found; otherwise the end through the fatal box, which names the folder as
// the boot file writes it.
JavaLaunch PrepareJavaLaunch(const BootSettings& settings, const WString& root);
// Starts the Java runtime on the application and waits until it ends, so
// that the launcher, and with it the guard, lives as long as the application.
// Without a Java home, javaw is looked for where the system would look,
// own_folder first, but never in the current folder. A Java that cannot be
// started is told in a box of its own. A path Java would read through the
// ANSI code page as another is given in its short form.
void LaunchJava(JavaLaunch launch, const WString& own_folder);

// A whole start, given the command line: the exit code.
int RunLauncher(const InstanceGuard& guard, WStringView command_line);
