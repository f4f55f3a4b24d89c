#pragma once
// A default maximum heap for the Java runtime when the boot file sets none: a
// quarter of the physical memory in MiB, kept between 96 and 128.
#include <cstdint>

#include "launcher/launch_settings.h"

uint32_t DefaultHeapMegabytes(uint64_t physical_memory_bytes);

// Appends " -Xmx<n>m" to default_options unless they hold "-Xmx" already
// (compared case-sensitively, anywhere in the text).
void addDefaultHeapSize(LaunchSettings& settings);
