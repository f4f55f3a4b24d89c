#pragma once
// The checks before a launch: the installation folder and the Java runtime
// named in the boot file must exist, and the boot file's class-path entries
// become one class path of quoted absolute entries.
#include <cstdint>

#include "classlib/cstringarray.h"
#include "disk/disk_object.h"
#include "launcher/launch_settings.h"
#include "platform/wide.h"

// Appends the pieces of source between occurrences of delimiter (not empty) to
// pieces and answers how many occurrences were recorded. A delimiter directly
// after another is not recognised: it begins the next piece. Empty pieces are
// dropped. A source that begins with the delimiter records nothing: 0, and
// nothing is appended.
int32_t splitString(const WString& source, const WString& delimiter, CStringArray& pieces);

// Sets java_home, use_jrehome and class_path, or ends the process through the
// fatal error path when a check fails.
void checkLaunchEnvironment(LaunchSettings& settings, CDiskObject& disk);
