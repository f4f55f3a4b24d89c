#include "disk/directories.h"

#include <vector>

#include "disk/path_rules.h"
#include "platform/platform.h"

namespace {

uint32_t Qualify(const WString& directory, WString* qualified) {
  if (directory.empty()) return kErrorInvalidName;
  WString current;
  if (const uint32_t code = os::CurrentDirectory(&current)) return code;
  *qualified = directory;
  return QualifyDirectory(*qualified, current);
}

}  // namespace

uint32_t CheckDirectory(const WString& directory) {
  WString qualified;
  const uint32_t code = Qualify(directory, &qualified);
  return code ? code : os::EnterDirectory(qualified);
}

uint32_t CreateDirectories(const WString& directory, WString* qualified) {
  if (const uint32_t code = Qualify(directory, qualified)) return code;
  WString root;
  std::vector<WString> levels;
  CreationLevels(*qualified, &root, &levels);
  // An existing level, or one that cannot be created, does not stop the walk:
  // only the final check counts.
  for (const WString& level : levels) os::MakeDirectory(level);
  return os::EnterDirectory(levels.empty() ? root : levels.back());
}
