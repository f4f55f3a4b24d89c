#include "disk/disk_object.h"

#include "disk/path_rules.h"

bool CDiskObject::Qualify(const WString& directory, WString* qualified) {
  WString current;
  *qualified = directory;
  error_code = directory.empty() ? 0 : os::CurrentDirectory(&current);
  return !directory.empty() && error_code == 0 &&
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
  if (!Qualify(directory, &qualified)) return false;
  CreationLevels(qualified, &root, &levels);
  // An existing level, or one that cannot be created, does not stop the walk:
  // only the final check counts.
  for (const WString& level : levels) os::CreateDirectory(level);
  return os::EnterDirectory(levels.empty() ? root : levels.back()) == 0;
}

void CDiskObject::CopyFiles(const std::vector<WString>& files,
                            const WString& destination,
                            const WString& staging) {
  WString target_directory, staging_directory, current;
  if (files.empty() || !Qualify(destination, &target_directory) ||
      !Qualify(staging, &staging_directory) || !CreateDirectory(target_directory) ||
      !CreateDirectory(staging_directory) || os::CurrentDirectory(&current) != 0)
    return;
  for (const PlannedCopy& copy :
       PlanCopies(files, target_directory, staging_directory, current, os::ProcessId())) {
    if (os::CopyFile(copy.source, copy.staged) != 0 ||
        os::MoveFile(copy.staged, copy.target) != 0) {
      os::DeleteFile(copy.staged);
      return;
    }
  }
}
