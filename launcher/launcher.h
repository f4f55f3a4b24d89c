#pragma once
// The launcher's process-wide objects, in the order they are constructed, and
// the entry sequence that runs once per start.
#include "classlib/cstringarray.h"
#include "disk/disk_object.h"
#include "launcher/instance_mutex.h"
#include "launcher/launch_settings.h"

struct LauncherProcess {
  LaunchSettings settings;
  InstanceMutex instance_mutex;
  CDiskObject disk_object;
  CStringArray import_list;
};

// The body of WinMain: given the command-line tail, returns the exit code.
int RunLauncher(LauncherProcess& process, const WChar* command_line_tail);
