#pragma once
// Cuts a path into drive, directory, name and extension the way the C
// runtime's path splitting does, with its buffer limits.
#include "platform/wide.h"

struct PathParts {
  WString drive;      // "C:" or empty
  WString directory;  // up to and including the last '\' or '/'
  WString name;
  WString extension;  // from the last '.' of the final component, dot included
  // A directory, name or extension over kPathPartLimit characters: every part
  // is then empty, and an empty part here says nothing about the path.
  bool too_long = false;
};

inline constexpr size_t kPathPartLimit = 255;

PathParts SplitPath(WStringView path);

// The same cut without the limits: every part whole, too_long never set.
PathParts SplitWholePath(WStringView path);
