#include "emulated_start.h"

#include "launcher/command_line.h"
#include "launcher/launcher.h"

StartResult RunEmulatedStart(EmulatedPlatform& os, const WString& command_line) {
  ScopedPlatform installed(os);
  os.set_command_line(command_line);
  StartResult result;
  try {
    LauncherProcess process;
    result.exit_code = static_cast<uint32_t>(RunLauncher(process, CommandLineTail(os.GetCommandLine())));
  } catch (const EmulatedExit& exit) {
    result.exit_code = exit.exit_code;
    result.exited_through_exit_process = true;
  }
  return result;
}
