#pragma once
// The boot file ledgrix.boot: the launcher's only configuration.
#include "launcher/launch_settings.h"
#include "platform/wide.h"

// Reads the boot file into the settings; ends the process through the fatal
// error path when the file cannot be opened.
void parseConfigFile(const WString& boot_path, LaunchSettings& settings);

// Given a writable line that begins with a recognised key, cuts the value's
// end in place and returns where the value starts within the same buffer.
WChar* extractValue(WChar* text);

// Whether c is one of the four blanks of the boot file.
bool IsBootBlank(WChar c);
