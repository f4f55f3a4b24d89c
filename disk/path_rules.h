#pragma once
// The path rules of the disk operations, as values: the C runtime's split, the
// character test, qualification against a given folder, and the levels a
// directory is created by. No rule ever reads the current folder: a folder
// that is not absolute is qualified against one the caller names.
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

// "C:\..." or "\\..." (a network path, or a \\?\ one): the same file from any
// current folder.
bool IsAbsolute(WStringView path);

// The folder of a file: what precedes its last '\', a drive's root as "C:\"
// ("C:" alone would name the drive's current folder).
WString FolderOf(WStringView path);

// False when the part holds ':', '*' or '?'.
bool IsValidPathPart(WStringView part);

// Makes a document's path absolute in place against the current folder,
// '\' separated, its "." and ".." steps taken (never above the root). An
// absolute path stays as it is, and so does a drive-relative one (C:a.qif),
// which the system resolves against that drive's current folder. False when a
// part fails the character test.
bool QualifyFile(WString& path, WStringView current);

// A folder the boot file names, made absolute against the installation root:
// a relative one below it, one beginning with '\' on its drive, a
// drive-relative one (D:a) below the root when on its drive, else below the
// drive's root. Never against the current folder, which is the opened
// document's folder when the shell starts the launcher. An absolute or empty
// folder is as written.
WString AnchoredFolder(WStringView folder, WStringView root);

// The longest directory the launcher accepts, drive included, without its
// trailing '\': one that passes may become the Java process's working
// directory, which the system limits to fewer than MAX_PATH characters.
inline constexpr size_t kDirectoryLimit = 256;
// Checks an absolute directory and ends it with '\'; a network path is not
// tested for characters. 0, or the code for an invalid name when it is not
// absolute or a part fails the test, or for a name too long when it is, in
// whatever form it was written, longer than kDirectoryLimit.
uint32_t QualifyDirectory(WString& directory);

// The name of a qualified document: what follows its last '\', or the
// drive's colon.
WString FileNameOf(WStringView qualified);

// The directories a qualified directory is created by, from the top below
// its root (a drive, or \\server), one level more each time: the last is the
// directory itself without its trailing '\'; a root has none.
void CreationLevels(WStringView qualified_directory, WString* root, std::vector<WString>* levels);
