#pragma once
// Starts the Java runtime on the application and waits until it ends, so the
// launcher (and with it the single-instance guard) lives as long as the
// application.
#include "launcher/launch_settings.h"

// A process that cannot be created is told in a box of its own; the launcher
// then goes on to its normal end.
void launchJava(const LaunchSettings& settings);
