#include "launcher/launcher.h"

#include "filetypes/document_types.h"
#include "launcher/boot_file.h"
#include "launcher/fatal_error.h"
#include "launcher/heap_size.h"
#include "launcher/java_launch.h"
#include "launcher/launch_environment.h"
#include "launcher/module_path.h"
#include "launcher/root_folder.h"
#include "platform/platform.h"

int RunLauncher(LauncherProcess& process, const WChar* command_line_tail) {
  (void)command_line_tail;
  WString module_path = OwnExecutablePath();
  // Without its own path the launcher cannot know where its boot file is; it
  // must not guess one.
  if (module_path.empty()) reportFatalError(u"Unable to find the launcher's own executable", u"GetModuleFileName");
  parseConfigFile(BootPathOf(RootFolderOf(module_path)), process.settings);
  RegisterDocumentTypes();

  if (!process.instance_mutex.AnotherInstanceRuns()) {
    addDefaultHeapSize(process.settings);
    checkLaunchEnvironment(process.settings, process.disk_object);
    launchJava(process.settings);
  }
  return 0;
}
