#pragma once
// Directories on disk, named as the boot file or the launcher names them:
// relative ones against the current directory, which nothing here moves.
#include <cstdint>

#include "text/wide_string.h"

// 0 when the directory exists and may be entered; otherwise why not: the
// system's code, or the code for an invalid name (an empty path, or one
// holding ':', '*' or '?') or for a name too long to be a working directory.
uint32_t CheckDirectory(const WString& directory);

// Creates every missing level of the directory from the top, then checks it
// as CheckDirectory does; *qualified is the directory made absolute and
// '\'-ended. Nothing is ever removed.
uint32_t CreateDirectories(const WString& directory, WString* qualified);
