#pragma once
// Which file a command line starts, found the way CreateProcess finds it when
// it is given no application name: a quoted first word names the program; an
// unquoted line is tried word by word, each prefix ending at a blank before the
// next, so C:\Program Files\x\javaw runs C:\Program.exe when that exists. A
// name without an extension gets .exe; a name without a folder is looked for
// in the given folders, in order.
#include <optional>
#include <vector>

#include "platform/emulated_file_system.h"
#include "platform/wide.h"

std::optional<WString> FindProgram(const EmulatedFileSystem& fs, WStringView command_line, const WString& current,
                                   const std::vector<WString>& folders);
