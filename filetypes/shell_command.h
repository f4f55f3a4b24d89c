#pragma once
// What the shell registration says about the launcher's executable: the
// command that opens a document and the location of the icon.
#include "platform/wide.h"

// The executable, then -I and the quoted document placeholder. A path with a
// blank is quoted too: unquoted, the shell would first try to run each shorter
// prefix ending at a blank (C:\Program.exe for C:\Program Files\...).
WString OpenCommandFor(WStringView executable_path);

// The first icon group of the executable. Never run, so never quoted.
WString IconLocationFor(WStringView executable_path);
