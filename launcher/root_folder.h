#pragma once
// Where the boot file lives: the executable's folder, or its parent when that
// folder is named bin.
#include "platform/wide.h"

WString RootFolderOf(WStringView module_path);
WString BootPathOf(WStringView root_folder);
