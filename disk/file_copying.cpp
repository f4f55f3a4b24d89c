#include "disk/disk_object.h"
#include "platform/platform.h"

bool CDiskObject::CopyFiles(const CStringArray& files, const WString& destination) {
  ClearError();
  WString target_directory = destination;
  if (files.GetSize() == 0) {
    SetInternalError();
    return false;
  }
  // Not tested here: the creation below qualifies the same text again.
  QualifyDirectory(target_directory);
  bool result = CreateDirectory(target_directory);
  if (!result) return false;

  const int count = files.GetSize();
  for (int i = 0; i < count; ++i) {
    WString source = files.GetAt(i);
    if (source.empty()) continue;
    QualifyFile(source);
    // Empty for a name that fails the character test: the copy then aims at
    // the directory itself and fails, naming both.
    WString target = target_directory + GetFileName(source);
    result = platform().CopyFile(source.c_str(), target.c_str(), false);
    if (!result) {
      SetSystemError(platform().GetLastError(), source + u" -> " + target);
      break;
    }
  }
  return result;
}
