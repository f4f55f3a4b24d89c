#pragma once
// The path rules of the disk operations, as values: the C runtime's split, the
// character test, qualification against a given current directory, and the
// levels a directory is created by.
#include <cstdint>
#include <vector>

#include "text/wide_string.h"

struct PathParts {
  WString drive;      // "C:" or empty
  WString directory;  // up to and including the last '\' or '/'
  WString name;
  WString extension;  // from the last '.' of the final component, dot included
};

// The C runtime's split, without its limits: a path beyond them is qualified
// whole, since emptied parts would name another path.
PathParts SplitPath(WStringView path);

// False when the part holds ':', '*' or '?'.
bool IsValidPathPart(WStringView part);

// Makes path absolute in place against the current directory, '\' separated,
// parent steps taken (never above the root). A network path stays as it is.
// False when a part fails the character test.
bool QualifyFile(WString& path, WStringView current);

// The longest directory the launcher accepts, drive included, without its
// trailing '\': one that passes may become the Java process's working
// directory, which the system limits to fewer than MAX_PATH characters.
inline constexpr size_t kDirectoryLimit = 256;
// The same for a directory, which ends with '\' afterwards; a network path is
// not tested for characters. 0, or the code for an invalid name when a part
// fails the test, or for a name too long when the directory, in whatever form
// it was written, is longer than kDirectoryLimit.
uint32_t QualifyDirectory(WString& directory, WStringView current);

// What follows the last '\' of a qualified path.
WString FileNameOf(WStringView qualified);

// The directories a qualified directory is created by, from the top below
// its root (a drive, or \\server), one level more each time: the last is the
// directory itself without its trailing '\'; a root has none.
void CreationLevels(WStringView qualified_directory, WString* root, std::vector<WString>* levels);
