#include "disk/directories.h"

#include <vector>

#include "disk/path_rules.h"
#include "platform/platform.h"

uint32_t CheckDirectory(const WString& directory) {
  WString qualified = directory;
  const uint32_t code = QualifyDirectory(qualified);
  return code ? code : os::EnterDirectory(qualified);
}

uint32_t CreateDirectories(const WString& directory, WString* qualified) {
  *qualified = directory;
  if (const uint32_t code = QualifyDirectory(*qualified)) return code;
  WString root;
  std::vector<WString> levels;
  CreationLevels(*qualified, &root, &levels);
  // An existing level, or one that cannot be created, does not stop the walk:
  // only the final check counts.
  for (const WString& level : levels) os::MakeDirectory(level);
  return os::EnterDirectory(levels.empty() ? root : levels.back());
}
