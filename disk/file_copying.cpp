#include "disk/disk_object.h"
#include "platform/platform.h"

bool CDiskObject::CopyFiles(const CStringArray& files, const WString& destination, const WString& staging) {
  ClearError();
  WString target_directory = destination;
  WString staging_directory = staging;
  if (files.GetSize() == 0) {
    SetInternalError();
    return false;
  }
  // Not tested here: the creation below qualifies the same text again.
  QualifyDirectory(target_directory);
  QualifyDirectory(staging_directory);
  bool result = CreateDirectory(target_directory) && CreateDirectory(staging_directory);
  if (!result) return false;

  // Unique to this process among the launchers running at once.
  const WString stage_prefix = staging_directory + DecimalText(platform().GetCurrentProcessId()) + u"-";
  const int count = files.GetSize();
  for (int i = 0; i < count; ++i) {
    WString source = files.GetAt(i);
    if (source.empty()) continue;
    QualifyFile(source);
    // Empty for a name that fails the character test: the document then aims
    // at the directory itself and fails, naming both.
    WString target = target_directory + GetFileName(source);
    WString staged = stage_prefix + DecimalText(i) + u".part";
    result = platform().CopyFile(source.c_str(), staged.c_str(), false) &&
             platform().MoveFileReplacing(staged.c_str(), target.c_str());
    if (!result) {
      uint32_t code = platform().GetLastError();
      platform().DeleteFile(staged.c_str());
      SetSystemError(code, source + u" -> " + target);
      break;
    }
  }
  return result;
}
