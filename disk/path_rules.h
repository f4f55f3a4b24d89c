#pragma once
// The path rules of the disk operations, as values: the C runtime's split, the
// character test, qualification against a given current directory, the levels
// a directory is created by, and the plan of copies.
#include <cstdint>
#include <vector>

#include "platform/platform.h"

struct PathParts {
  WString drive;      // "C:" or empty
  WString directory;  // up to and including the last '\' or '/'
  WString name;
  WString extension;  // from the last '.' of the final component, dot included
};

// The C runtime's split, without its limits: a file path beyond them is
// qualified whole, since emptied parts would name another path. Only a
// directory keeps the split's limit of 255 characters.
PathParts SplitPath(WStringView path);
inline constexpr size_t kDirectoryPartLimit = 255;

// False when the part holds ':', '*' or '?'.
bool IsValidPathPart(WStringView part);

// Makes path absolute in place against the current directory, '\' separated,
// parent steps taken (never above the root). False when a part fails the
// character test. A part too long for the split is qualified whole.
bool QualifyFile(WString& path, WStringView current);
// The same for a directory, which ends with '\' afterwards. A network path is
// left as it is; a directory too long for the split is refused with the code
// for a name too long in *code (0 for the character test).
bool QualifyDirectory(WString& directory, WStringView current, uint32_t* code);

// What follows the last '\' of a qualified path.
WString FileNameOf(WStringView qualified);

// The directories a qualified directory is created by, from the top below
// its root (a drive, or \\server), one level more each time: the last is the
// directory itself without its trailing '\'; a root has none.
void CreationLevels(WStringView qualified_directory, WString* root, std::vector<WString>* levels);

// One document's way into the destination: copied from source to staged,
// then renamed to target.
struct PlannedCopy {
  WString source;
  WString staged;
  WString target;
  bool operator==(const PlannedCopy&) const = default;
};

// The copies for the non-empty entries of files, in order, into qualified
// destination and staging directories; staged names are unique to the
// process. An entry whose name fails the character test targets the
// destination itself, where its copy fails.
std::vector<PlannedCopy> PlanCopies(const std::vector<WString>& files,
                                    const WString& destination,
                                    const WString& staging,
                                    WStringView current,
                                    uint32_t process_id);
