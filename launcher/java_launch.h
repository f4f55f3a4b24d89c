#pragma once
// Starts the Java runtime on the application and waits until it ends, so the
// launcher (and with it the single-instance guard) lives as long as the
// application.
#include "launcher/launch_settings.h"

// A process that cannot be created is told in a box of its own; the launcher
// then goes on to its normal end. Without a Java home, javaw is looked for
// where the system would look for it (own_folder first), except the current
// folder: a shell-started launcher's current folder is the opened document's,
// where anybody may have left a javaw.exe.
void launchJava(const LaunchSettings& settings, const WString& own_folder);
