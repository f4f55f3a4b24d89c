#include "launcher/launcher.h"

#include "launcher/boot_file.h"
#include "launcher/root_folder.h"
#include "platform/platform.h"

namespace {
constexpr uint32_t kModulePathCapacity = 2600;
}

int RunLauncher(LauncherProcess& process, const WChar* command_line_tail) {
  (void)command_line_tail;
  WChar module_path[kModulePathCapacity] = {};
  platform().GetModuleFileName(module_path, kModulePathCapacity);
  WString root_folder = RootFolderOf(module_path);
  parseConfigFile(BootPathOf(root_folder), process.settings);

  if (!process.instance_mutex.AnotherInstanceRuns()) {
  }
  return 0;
}
