#pragma once
// One whole start of the launcher on an emulated machine: the process-wide
// objects are built as static initialisation would, the entry sequence runs,
// and the end of the process (normal or through ExitProcess) is captured.
#include <memory>
#include <optional>

#include "platform/emulated_machine.h"
#include "platform/emulated_platform.h"

struct StartResult {
  uint32_t exit_code = 0;
  bool exited_through_exit_process = false;
};

// Runs a start with the given full command line on the platform's machine.
// The platform is installed for the start and removed after it.
StartResult RunEmulatedStart(EmulatedPlatform& os, const WString& command_line);
