#pragma once
// The command line that starts the Java runtime on the application.
#include "launcher/launch_settings.h"
#include "platform/wide.h"

inline constexpr const WChar* kMainClass = u"com.zor.ledgrix.Tabex";

// <java_home>\bin\javaw (or the bare javaw without a Java home), the options,
// -classpath with the class path, and the main class. A program path with a
// blank is enclosed in double quotes: unquoted, the system would try every
// shorter prefix ending at a blank first (C:\Program.exe for a runtime under
// C:\Program Files) and could run another program.
WString BuildJavaCommandLine(const LaunchSettings& settings);
