#include "launcher/launcher.h"

#include "filetypes/document_types.h"
#include "handoff/hand_off.h"
#include "handoff/tokenizer.h"
#include "launcher/boot_file.h"
#include "launcher/fatal_error.h"
#include "launcher/heap_size.h"
#include "launcher/java_launch.h"
#include "launcher/launch_environment.h"
#include "launcher/module_path.h"
#include "launcher/root_folder.h"
#include "platform/platform.h"

int RunLauncher(LauncherProcess& process, const WChar* command_line_tail) {
  uint32_t error = 0;
  WString module_path = OwnExecutablePath(&error);
  // Without its own path the launcher cannot know where its boot file is; it
  // must not guess one.
  if (module_path.empty())
    reportFatalError(u"Unable to find the launcher's own executable", u"GetModuleFileName", error);
  parseConfigFile(BootPathOf(RootFolderOf(module_path)), process.settings);
  RegisterDocumentTypes(module_path);

  TokenizeCommandLine(command_line_tail, process.import_list);
  // Before the instance test, so that a first start's documents are in place
  // before the application looks.
  if (process.import_list.GetSize() > 0) HandOffDocuments(process.import_list, process.disk_object);

  if (!process.instance_mutex.AnotherInstanceRuns()) {
    addDefaultHeapSize(process.settings);
    checkLaunchEnvironment(process.settings, process.disk_object);
    launchJava(process.settings, module_path.substr(0, module_path.rfind(u'\\')));
  }
  return 0;
}
