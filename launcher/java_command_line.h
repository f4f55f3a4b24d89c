#pragma once
// The command line that starts the Java runtime on the application.
#include "launcher/launch_settings.h"
#include "platform/wide.h"

inline constexpr const WChar* kMainClass = u"com.zor.ledgrix.Tabex";
inline constexpr const WChar* kBareJavaProgram = u"javaw";

// The folders the system looks in for a program named without a path, in its
// order (own folder, system folder, its 16-bit sibling, Windows folder, PATH),
// joined by ';', without the current folder and without PATH entries that are
// relative to it.
WString ProgramSearchPath(WStringView own_folder, WStringView system_folder, WStringView windows_folder,
                          WStringView path_variable);

// <java_home>\bin\javaw (or the bare javaw without a Java home), quoted when
// it holds a blank, the options, -classpath with the class path, and the main
// class.
WString BuildJavaCommandLine(const LaunchSettings& settings);
