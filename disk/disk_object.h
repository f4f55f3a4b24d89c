#pragma once
// The launcher's file-system worker. Each public operation answers true or
// false and keeps the text of its last failure; each leaves the process's
// current directory as it found it.
#include <cstdint>

#include "classlib/cstringarray.h"
#include "platform/wide.h"

class CDiskObject {
 public:
  bool DirectoryExists(const WString& directory);
  bool CreateDirectory(const WString& directory);
  bool CopyFiles(const CStringArray& files, const WString& destination);

  // The text of the most recent failure, or empty.
  WString error_message;
};
