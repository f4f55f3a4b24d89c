#include "disk/disk_object.h"

#include <algorithm>

#include "disk/path_rules.h"

bool CDiskObject::ReadCurrentDirectory(const WString& path, WString* current) {
  error_code = NeedsCurrentDirectory(path) ? os::CurrentDirectory(current) : 0;
  return error_code == 0;
}

bool CDiskObject::Qualify(const WString& directory, WString* qualified) {
  error_code = 0;
  *qualified = directory;
  WString current;
  return !directory.empty() && ReadCurrentDirectory(directory, &current) &&
         QualifyDirectory(*qualified, current, &error_code);
}

bool CDiskObject::DirectoryExists(const WString& directory) {
  WString qualified;
  if (!Qualify(directory, &qualified)) return false;
  error_code = os::EnterDirectory(qualified);
  return error_code == 0;
}

bool CDiskObject::CreateDirectory(const WString& directory) {
  WString qualified, root;
  std::vector<WString> levels;
  // Only a network path reaches the levels unsplittable; they are unknown.
  if (!Qualify(directory, &qualified) || !CreationLevels(qualified, &root, &levels)) return false;
  // An existing level, or one that cannot be created, does not stop the walk:
  // only the final check counts.
  for (const WString& level : levels) os::CreateDirectory(level);
  return os::EnterDirectory(levels.empty() ? root : levels.back()) == 0;
}

void CDiskObject::CopyFiles(const std::vector<WString>& files, const WString& destination, const WString& staging) {
  WString target_directory, staging_directory, current;
  if (files.empty() || !Qualify(destination, &target_directory) || !Qualify(staging, &staging_directory) ||
      !CreateDirectory(target_directory) || !CreateDirectory(staging_directory))
    return;
  const auto relative = std::find_if(files.begin(), files.end(),
                                     [](const WString& file) { return !file.empty() && NeedsCurrentDirectory(file); });
  if (relative != files.end() && !ReadCurrentDirectory(*relative, &current)) return;
  for (const PlannedCopy& copy : PlanCopies(files, target_directory, staging_directory, current, os::ProcessId())) {
    if (os::CopyFile(copy.source, copy.staged) != 0 || os::MoveFile(copy.staged, copy.target) != 0) {
      os::DeleteFile(copy.staged);
      return;
    }
  }
}
