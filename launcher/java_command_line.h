#pragma once
// The command line that starts the Java runtime on the application.
#include "launcher/launch_settings.h"
#include "platform/wide.h"

inline constexpr const WChar* kMainClass = u"com.zor.ledgrix.Tabex";

// <java_home>\bin\javaw (or the bare javaw without a Java home), quoted when
// it holds a blank, the options, -classpath with the class path, and the main
// class.
WString BuildJavaCommandLine(const LaunchSettings& settings);
