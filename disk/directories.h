#pragma once
// Directories on disk, named by absolute paths: nothing here reads or moves
// the current directory.
#include <cstdint>

#include "text/wide_string.h"

// 0 when the directory exists and may be entered; otherwise why not: the
// system's code, or the code for an invalid name (an empty or relative path,
// or one holding ':', '*' or '?') or for a name too long to be a working
// directory.
uint32_t CheckDirectory(const WString& directory);

// Creates every missing level of the directory from the top, then checks it
// as CheckDirectory does; *qualified is the directory '\'-ended. Nothing is
// ever removed.
uint32_t CreateDirectories(const WString& directory, WString* qualified);
